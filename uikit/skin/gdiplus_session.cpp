#include "gdiplus_session.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace kestro {
namespace {

struct Session {
    CRITICAL_SECTION lock;
    long users = 0;
    ULONG_PTR token = 0;
    Session() { InitializeCriticalSection(&lock); }
};

Session& TheSession() {
    // Never destroyed: bitmaps of static objects may end after other statics.
    static Session* session = new Session;
    return *session;
}

}  // namespace

void GdiplusAddUser() {
    Session& s = TheSession();
    EnterCriticalSection(&s.lock);
    ++s.users;
    LeaveCriticalSection(&s.lock);
}

void GdiplusRemoveUser() {
    Session& s = TheSession();
    EnterCriticalSection(&s.lock);
    if (--s.users <= 0) {
        s.users = 0;
        if (s.token) {
            Gdiplus::GdiplusShutdown(s.token);
            s.token = 0;
        }
    }
    LeaveCriticalSection(&s.lock);
}

bool GdiplusEnsureStarted() {
    Session& s = TheSession();
    EnterCriticalSection(&s.lock);
    if (!s.token) {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) s.token = token;
    }
    const bool ok = s.token != 0;
    LeaveCriticalSection(&s.lock);
    return ok;
}

}  // namespace kestro
