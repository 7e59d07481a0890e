#pragma once
// What the worker tests share: a scratch folder per test, the product's registry
// cleaned before and after, packages written around the driver program, and ways to
// run it and read back what it left.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "package_maker.h"
#include "services/json/jvalue.h"
#include "tests/win/support/test_files.h"

namespace kestro {
namespace testing {

using test::BinFolder;
using test::Exists;
using test::ReadBytes;
using test::WriteBytes;

std::wstring SpecialFolder(int csidl);
std::string Cp936(const std::wstring& text);

// Starts a program and waits (bounded); the exit code, or -1 when it did not start or end.
DWORD RunAndWait(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs = 60000);
// Waits until the file exists (bounded).
bool WaitForFile(const std::wstring& path, DWORD timeoutMs = 5000);

// Every path below the folder, relative, folders with a trailing "\", sorted.
std::vector<std::wstring> FolderListing(const std::wstring& folder);

// Registry in the 32-bit view, as a 32-bit program writes it.
struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
    std::wstring Text() const;  // REG_SZ without its terminating NUL
    bool EndsWithNul() const;
    DWORD Number() const;
};
RawValue ReadValue(HKEY root, const std::wstring& key, const wchar_t* name);
bool KeyExists(HKEY root, const std::wstring& key);
void SetTextValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text);
void SetNumberValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value);
void RemoveProductRegistry();

// Whether the folder's DACL has an allowing entry for Everyone.
bool HasEveryoneEntry(const std::wstring& folder);

// Where the shortcuts of the product's display name go.
std::wstring CommonDesktopLink();
std::wstring QuickLaunchLink();
std::wstring StartMenuLinkPath();

// The local stats-server's request log (one JSON object per request), when the
// wrapper script started one; StatsLogAvailable() is false otherwise.
bool StatsLogAvailable();
std::vector<JValue> StatsRequests();
void ClearStatsRequests();

// An uninstaller made of `program` (a file of the bin folder) whose record names `root`,
// `files` and `folders`, and the commands `uninstrun` when that is an array.
std::string MakeUninstaller(const std::wstring& program, const std::wstring& root,
                            const std::vector<std::wstring>& files, const std::vector<std::wstring>& folders,
                            const JValue& uninstrun = JValue());

struct DriverResult {
    DWORD exitCode = DWORD(-1);
    JValue json;
    int Posted() const { return json["posted"].AsInt(); }
};

class WorkerTest : public ::testing::Test {
public:
    // The configuration record of the shipped installer, with test programs added.
    static JValue StandardConfig();
    // StandardConfig without the companion programs ("instoptions", "instrun").
    static JValue PlainConfig();
    static std::vector<ZipEntry> StandardEntries();

protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `fileName` into the scratch folder as a package of the driver program.
    std::wstring WritePackage(const std::wstring& fileName, const JValue& config, const std::vector<ZipEntry>& entries);
    // The same with the archive's bytes as given.
    std::wstring WritePackage(const std::wstring& fileName, const JValue& config, const std::string& archive);
    // The same around the real installer program, KestroSetup.exe.
    std::wstring WriteSetupPackage(const std::wstring& fileName, const JValue& config,
                                   const std::vector<ZipEntry>& entries);
    DriverResult Run(const std::wstring& program, const std::wstring& arguments);
    DriverResult Install(const std::wstring& package, const std::wstring& extraArguments = L"");
    // Copies the installed unins000.exe away (as the uninstaller does before it runs) and runs the copy.
    DriverResult Uninstall(const std::wstring& extraArguments = L"");

    std::wstring Target(const std::wstring& relative = L"") const;
    std::vector<std::wstring> TargetListing() const;  // FolderListing of the target

    std::unique_ptr<test::ScratchFolder> scratchFolder_;
    std::wstring scratch_;
    std::wstring target_;
};

}  // namespace testing
}  // namespace kestro
