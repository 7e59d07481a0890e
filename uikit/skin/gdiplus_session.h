#pragma once
// The process-wide GDI+ start-up: a count of users guarded by one critical section.
// Every live CHBitmap holds one use; text painting holds one while it draws. GDI+ is
// started by the first user that needs it and shut down when the last use ends.
namespace kestro {

void GdiplusAddUser();
void GdiplusRemoveUser();
// Starts GDI+ (version 1) when it is not running; false when it cannot start.
bool GdiplusEnsureStarted();

// One use for a scope, started at once.
class GdiplusScope {
public:
    GdiplusScope() {
        GdiplusAddUser();
        ok_ = GdiplusEnsureStarted();
    }
    ~GdiplusScope() { GdiplusRemoveUser(); }
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};

}  // namespace kestro
