#include "gdiplus_session.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "services/win/unique_handle.h"

namespace kestro {
namespace {

struct Session {
    CriticalSection lock;
    long users = 0;
    ULONG_PTR token = 0;
};

Session& TheSession() {
    // Never destroyed: bitmaps of static objects may end after other statics.
    static Session* session = new Session;
    return *session;
}

}  // namespace

void GdiplusAddUser() {
    Session& s = TheSession();
    ScopedLock hold(s.lock);
    ++s.users;
}

void GdiplusRemoveUser() {
    Session& s = TheSession();
    ScopedLock hold(s.lock);
    if (--s.users <= 0) {
        s.users = 0;
        if (s.token) {
            Gdiplus::GdiplusShutdown(s.token);
            s.token = 0;
        }
    }
}

bool GdiplusEnsureStarted() {
    Session& s = TheSession();
    ScopedLock hold(s.lock);
    if (!s.token) {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) s.token = token;
    }
    return s.token != 0;
}

}  // namespace kestro
