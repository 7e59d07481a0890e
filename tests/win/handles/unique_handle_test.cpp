#include "services/win/unique_handle.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

bool IsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}

TEST(UniqueHandle, ClosesOnResetDestructionAndMoveAssignment) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueHandle event(raw);
        EXPECT_TRUE(IsOpen(raw));
        UniqueHandle moved(std::move(event));
        EXPECT_FALSE(event);
        EXPECT_EQ(moved.get(), raw);
    }
    EXPECT_FALSE(IsOpen(raw));
    {
        // Closing the stale handle fails and sets an error of its own; the caller's stays.
        UniqueHandle stale(raw);
        SetLastError(ERROR_FILE_NOT_FOUND);
        stale.reset();
        EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    }

    UniqueHandle a(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE first = a.get();
    a.reset(first);
    EXPECT_TRUE(IsOpen(first)) << "taking the handle already held closed it";
    a = UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_FALSE(IsOpen(first));
    HANDLE kept = a.release();
    EXPECT_TRUE(IsOpen(kept));
    UniqueHandle again(kept);
}

TEST(UniqueFile, InvalidHandleValueCountsAsEmpty) {
    UniqueFile missing(CreateFileW(L"C:\\no\\such\\file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
}

TEST(UniqueRegKey, PutHandsOutTheSlotForOutParameters) {
    UniqueRegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
}

}  // namespace
}  // namespace kestro
