#include "setup/engine/registry_key.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace kestro {
namespace {

// A unique key under HKLM\SOFTWARE or HKCU\Software, deleted with its tree at the end.
class ScratchKey {
public:
    ScratchKey(HKEY root, const wchar_t* parent) : root_(root), parent_(parent), name_(test::UniqueName(L"KestroTest")) {}
    ~ScratchKey() {
        RegistryKey parent;
        if (parent.Open(root_, parent_, KEY_READ | KEY_WRITE) == ERROR_SUCCESS) parent.DeleteTree(name_.c_str());
    }
    std::wstring Path() const { return parent_ + L"\\" + name_; }
    const std::wstring& Name() const { return name_; }

private:
    HKEY root_;
    std::wstring parent_;
    std::wstring name_;
};

TEST(RegistryKey, ValuesRoundTripThroughThe32BitView) {
    ScratchKey scratch(HKEY_LOCAL_MACHINE, L"SOFTWARE");
    {
        RegistryKey key;
        ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, scratch.Path()), ERROR_SUCCESS);
        EXPECT_EQ(key.SetText(L"Theme", L"默认 theme"), ERROR_SUCCESS);
        EXPECT_EQ(key.SetNumber(L"Channel", 30001), ERROR_SUCCESS);
        EXPECT_EQ(key.SetText(L"Empty", L""), ERROR_SUCCESS);
    }
    RegistryKey view32;
    ASSERT_EQ(view32.Open(HKEY_LOCAL_MACHINE, scratch.Path(), KEY_READ | KEY_WOW64_32KEY), ERROR_SUCCESS);
    wchar_t buffer[64];
    ASSERT_EQ(view32.QueryText(L"Theme", buffer, 64), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"默认 theme");
    DWORD number = 0;
    ASSERT_EQ(view32.QueryNumber(L"Channel", number), ERROR_SUCCESS);
    EXPECT_EQ(number, 30001u);
    std::wstring text = L"x";
    ASSERT_EQ(view32.QueryText(L"Empty", text), ERROR_SUCCESS);
    EXPECT_EQ(text, L"");
    // The text is stored with its terminating NUL.
    DWORD type = 0, bytes = 0;
    ASSERT_EQ(RegQueryValueExW(view32.Get(), L"Theme", nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(bytes, (wcslen(L"默认 theme") + 1) * sizeof(wchar_t));
    // The 64-bit view does not see what a 32-bit program wrote under SOFTWARE.
    RegistryKey view64;
    EXPECT_NE(view64.Open(HKEY_LOCAL_MACHINE, scratch.Path(), KEY_READ | KEY_WOW64_64KEY), ERROR_SUCCESS);
}

TEST(RegistryKey, WrongTypesAndMalformedTextsAreInvalidData) {
    ScratchKey scratch(HKEY_CURRENT_USER, L"Software");
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, scratch.Path()), ERROR_SUCCESS);
    EXPECT_EQ(key.SetText(L"Missing", nullptr), ERROR_INVALID_DATA);
    ASSERT_EQ(key.SetNumber(L"Number", 5), ERROR_SUCCESS);
    ASSERT_EQ(key.SetText(L"Text", L"5"), ERROR_SUCCESS);
    const wchar_t unterminated[] = L"abc";
    ASSERT_EQ(RegSetValueExW(key.Get(), L"OddLength", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 5),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Get(), L"Binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>(unterminated), 8),
              ERROR_SUCCESS);
    wchar_t buffer[16];
    DWORD number = 0;
    EXPECT_EQ(key.QueryText(L"Number", buffer, 16), ERROR_INVALID_DATA);
    EXPECT_EQ(key.QueryText(L"OddLength", buffer, 16), ERROR_INVALID_DATA);
    EXPECT_EQ(key.QueryText(L"Binary", buffer, 16), ERROR_INVALID_DATA);
    EXPECT_EQ(key.QueryNumber(L"Text", number), ERROR_INVALID_DATA);
    EXPECT_EQ(key.QueryText(L"Text", buffer, 1), ERROR_MORE_DATA);
    EXPECT_EQ(key.QueryNumber(L"Absent", number), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(key.QueryText(L"Text", buffer, 2), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, L"5");
}

TEST(RegistryKey, DeleteTreeRemovesNestedKeysAndDeleteSubKeyOnlyLeaves) {
    ScratchKey scratch(HKEY_LOCAL_MACHINE, L"SOFTWARE");
    RegistryKey root;
    ASSERT_EQ(root.Create(HKEY_LOCAL_MACHINE, scratch.Path(), KEY_WOW64_32KEY), ERROR_SUCCESS);
    for (const wchar_t* path : {L"a\\b\\c", L"a\\b\\d", L"a\\e", L"f"}) {
        RegistryKey sub;
        ASSERT_EQ(sub.Create(root.Get(), path), ERROR_SUCCESS);
        ASSERT_EQ(sub.SetNumber(L"v", 1), ERROR_SUCCESS);
    }
    EXPECT_NE(root.DeleteSubKey(L"a"), ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteSubKey(L"f"), ERROR_SUCCESS);
    EXPECT_EQ(root.DeleteTree(L"a"), ERROR_SUCCESS);
    RegistryKey probe;
    EXPECT_EQ(probe.Open(HKEY_LOCAL_MACHINE, scratch.Path() + L"\\a", KEY_READ | KEY_WOW64_32KEY),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(probe.Open(HKEY_LOCAL_MACHINE, scratch.Path() + L"\\f", KEY_READ | KEY_WOW64_32KEY),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(root.DeleteTree(L"absent"), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryKey, OpenFailureKeepsTheHeldKey) {
    ScratchKey scratch(HKEY_CURRENT_USER, L"Software");
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, scratch.Path()), ERROR_SUCCESS);
    HKEY held = key.Get();
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, scratch.Path() + L"\\absent", KEY_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.Get(), held);
    EXPECT_EQ(key.SetNumber(L"still", 1), ERROR_SUCCESS);
    key.Close();
    EXPECT_FALSE(key.IsOpen());
}

}  // namespace
}  // namespace kestro
