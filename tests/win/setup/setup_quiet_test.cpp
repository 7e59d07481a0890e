// KestroSetup.exe run from the command line without a window: packages made around the
// real program, installed, reinstalled, refused and removed under Wine, with the
// reports at the local stats-server.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/base/utf8.h"
#include "setup/engine/shell_file_ops.h"
#include "setup/package/package_reader.h"
#include "setup/package/package_records.h"
#include "setup/workers/product_names.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

constexpr DWORD kUninstallWaitMs = 30000;

class SetupQuietTest : public WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        ClearStatsRequests();
        base_ = scratch_ + L"\\My Games";
        installed_ = base_ + L"\\Tarnwell\\KestroGC";
    }



    DWORD QuietInstall(const std::wstring& package) { return RunAndWait(package, L"/q /D \"" + base_ + L"\""); }

    static std::vector<JValue> OfKind(const char* kind) {
        std::vector<JValue> found;
        for (const JValue& request : StatsRequests()) {
            if (request["kind"].AsText() == kind) found.push_back(request);
        }
        return found;
    }

    // The uninstaller ends once its copy has started; the copy does the removal.
    static bool WaitUntilGone(const std::wstring& path, DWORD timeoutMs) {
        for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
            if (!Exists(path) && !KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey)) return true;
            Sleep(100);
        }
        return false;
    }

    static bool WaitForUninstallReport(DWORD timeoutMs) {
        for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
            for (const JValue& set : OfKind("set")) {
                if (set["op"].AsInt() == 2) return true;
            }
            Sleep(100);
        }
        return false;
    }

    static std::wstring WorkCopy() { return test::TempFolder() + L"KestroGC\\unins000.exe"; }

    // Nothing of the product left: folder, registration, protocol, shortcuts.
    static void ExpectNoTraceOf(const std::wstring& installed) {
        EXPECT_FALSE(Exists(installed));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductUserKey));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProtocolKey));
        EXPECT_FALSE(Exists(CommonDesktopLink()));
        EXPECT_FALSE(Exists(StartMenuLinkPath()));
    }

    std::wstring base_;
    std::wstring installed_;
};

TEST_F(SetupQuietTest, RunsWithoutADisplay) {
    // The CTest entry unsets DISPLAY: Wine then cannot create the window at all.
    char display[64] = {};
    EXPECT_EQ(GetEnvironmentVariableA("DISPLAY", display, sizeof display), 0u) << display;
}

TEST_F(SetupQuietTest, QuietInstallIntoAFolderWithBlanksWritesFilesRegistryAndReportsOperation1) {
    const std::wstring package = WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), StandardEntries());
    ASSERT_EQ(QuietInstall(package), 0u);

    EXPECT_TRUE(Exists(installed_ + L"\\KestroGC.exe"));
    EXPECT_TRUE(Exists(installed_ + L"\\res\\sub\\deep.txt"));
    EXPECT_TRUE(Exists(installed_ + L"\\" + kUninstallerFileName));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"UninstallString").Text(),
              installed_ + L"\\" + kUninstallerFileName);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"Channel").Number(), 30123u);
    if (StatsLogAvailable()) {
        std::vector<JValue> sets = OfKind("set");
        ASSERT_EQ(sets.size(), 1u);
        EXPECT_EQ(sets[0]["op"].AsInt(), 1);
        EXPECT_EQ(sets[0]["c"].AsInt(), 30123);
        EXPECT_FALSE(sets[0].HasMember("e"));
    }
}

TEST_F(SetupQuietTest, QuietInstallOverAnExistingInstallationGoesToItsFolderAndReportsOperation3) {
    ASSERT_EQ(QuietInstall(WriteSetupPackage(L"first.exe", PlainConfig(), StandardEntries())), 0u);
    ClearStatsRequests();
    // No "/D": the target is the folder of the older installation's uninstaller.
    std::vector<ZipEntry> entries = StandardEntries();
    entries.push_back({"data/second.txt", "from the second install"});
    ASSERT_EQ(RunAndWait(WriteSetupPackage(L"second.exe", PlainConfig(), entries), L"/q"), 0u);

    EXPECT_TRUE(Exists(installed_ + L"\\data\\second.txt"));
    if (StatsLogAvailable()) {
        std::vector<JValue> sets = OfKind("set");
        ASSERT_EQ(sets.size(), 1u);
        EXPECT_EQ(sets[0]["op"].AsInt(), 3);
    }
}

TEST_F(SetupQuietTest, QuietInstallOfADamagedPackageExitsWithItsErrorCodeAndLeavesNothing) {
    const std::wstring package = WriteSetupPackage(L"damaged.exe", PlainConfig(), StandardEntries());
    // Cut the archive short: its length field now runs past the end of the file.
    std::string bytes = ReadBytes(package);
    bytes.resize(bytes.size() - 1000);
    ASSERT_TRUE(WriteBytes(package, bytes));

    EXPECT_EQ(QuietInstall(package), 5u);
    EXPECT_FALSE(Exists(installed_ + L"\\KestroGC.exe"));
    EXPECT_FALSE(Exists(installed_ + L"\\" + kUninstallerFileName));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
    if (StatsLogAvailable()) {
        std::vector<JValue> sets = OfKind("set");
        ASSERT_EQ(sets.size(), 1u);
        EXPECT_EQ(sets[0]["e"].AsInt(), 5);
    }
}

TEST_F(SetupQuietTest, AQuietRunWithoutAModeInItsRecordEndsWith9AndNoMessageBox) {
    JValue config = PlainConfig();
    config.Remove("mode");
    // A message box would keep the program waiting until the bounded wait gives up.
    EXPECT_EQ(RunAndWait(WriteSetupPackage(L"norecord.exe", config, StandardEntries()), L"/q", 15000), 9u);
    EXPECT_FALSE(Exists(installed_));
}

// Each /D form of one folder ends in its normal form: the product lands there, is
// registered and recorded with backslashes only, and its uninstaller takes back every
// trace of it. Before, a doubled separator or a "." made an install the uninstaller refused.
TEST_F(SetupQuietTest, EveryBaseFolderFormTheInstallAcceptsItsUninstallerRemovesWhole) {
    const std::wstring package = WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), StandardEntries());
    std::wstring slashed = scratch_ + L"/Slash//Games";
    for (wchar_t& c : slashed) {
        if (c == L'\\') c = L'/';
    }
    const std::pair<std::wstring, std::wstring> forms[] = {
        {scratch_ + L"\\Games\\", scratch_ + L"\\Games\\Tarnwell\\KestroGC"},
        {scratch_ + L"\\Dot\\.", scratch_ + L"\\Dot\\Tarnwell\\KestroGC"},
        {slashed, scratch_ + L"\\Slash\\Games\\Tarnwell\\KestroGC"},
        {L"C:\\", L"C:\\Tarnwell\\KestroGC"},
    };
    // Left by an earlier run that failed part way.
    DeleteFolderTree(L"C:\\Tarnwell\\KestroGC");
    for (const auto& form : forms) {
        SCOPED_TRACE(Utf8FromWide(form.first));
        const std::wstring& installed = form.second;
        ASSERT_FALSE(Exists(installed));
        // Unquoted, as a script writes it: a quoted "C:\" would end in an escaped quote.
        ASSERT_EQ(RunAndWait(package, L"/q /D " + form.first), 0u);
        EXPECT_TRUE(Exists(installed + L"\\res\\sub\\deep.txt"));
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"UninstallString").Text(),
                  installed + L"\\" + kUninstallerFileName);
        EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"gcapp\\DefaultIcon", nullptr).Text(), installed + L"\\KestroGC.exe,0");
        JValue record;
        ASSERT_TRUE(ReadConfigRecord(installed + L"\\" + kUninstallerFileName, record));
        EXPECT_EQ(UninstallRecord{record}.Root(), Utf8FromWide(installed));

        DeleteFileW(WorkCopy().c_str());
        ClearStatsRequests();
        EXPECT_EQ(RunAndWait(installed + L"\\" + kUninstallerFileName, L"/q"), 0u);
        EXPECT_TRUE(WaitUntilGone(installed, kUninstallWaitMs));
        ExpectNoTraceOf(installed);
        // The work copy reports after the removal; let it land here, not in a later test.
        if (StatsLogAvailable()) {
            EXPECT_TRUE(WaitForUninstallReport(kUninstallWaitMs));
        }
    }
    RemoveDirectoryW(L"C:\\Tarnwell");
}

TEST_F(SetupQuietTest, AnEmptyBaseFolderIsRefusedBeforeAnythingIsWritten) {
    const std::wstring package = WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), StandardEntries());
    // The target would be "\Tarnwell\KestroGC" below the current drive: C: here, so
    // that a faulty install stays inside the prefix.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(scratch_.c_str());
    const DWORD exitCode = RunAndWait(package, L"/q /D \"\"");
    SetCurrentDirectoryW(current);
    EXPECT_EQ(exitCode, 11u);
    EXPECT_FALSE(Exists(L"C:\\Tarnwell\\KestroGC"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
    if (StatsLogAvailable()) {
        EXPECT_TRUE(StatsRequests().empty());
    }
}

// The uninstaller runs elevated, its record lies in a folder every user may write to:
// a record naming another folder than the uninstall entry is refused whole.
TEST_F(SetupQuietTest, AnUninstallerWhoseRootIsNotTheEntrysFolderFailsWith1AndDeletesNothing) {
    ASSERT_EQ(QuietInstall(WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), StandardEntries())), 0u);
    const std::wstring other = scratch_ + L"\\Other";
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(other + L"\\victim.txt", "not the product's"));
    ClearStatsRequests();
    ASSERT_TRUE(WriteBytes(WorkCopy(), MakeUninstaller(L"KestroSetup.exe", other, {other + L"\\victim.txt"}, {})));
    EXPECT_EQ(RunAndWait(WorkCopy(), L"/q"), 1u);
    EXPECT_TRUE(Exists(other + L"\\victim.txt"));
    EXPECT_TRUE(Exists(installed_ + L"\\KestroGC.exe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
    if (StatsLogAvailable()) {
        EXPECT_TRUE(StatsRequests().empty());
    }
    DeleteFileW(WorkCopy().c_str());
}

TEST_F(SetupQuietTest, TheInstalledUninstallerCopiesItselfToTheTemporaryFolderAndRemovesTheProduct) {
    ASSERT_EQ(QuietInstall(WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), StandardEntries())), 0u);
    ClearStatsRequests();
    const std::wstring workCopy = WorkCopy();
    DeleteFileW(workCopy.c_str());

    EXPECT_EQ(RunAndWait(installed_ + L"\\" + kUninstallerFileName, L"/q"), 0u);
    EXPECT_TRUE(Exists(workCopy));
    EXPECT_TRUE(WaitUntilGone(installed_, kUninstallWaitMs));
    if (StatsLogAvailable()) {
        EXPECT_TRUE(WaitForUninstallReport(kUninstallWaitMs));
        std::vector<JValue> sets = OfKind("set");
        ASSERT_EQ(sets.size(), 1u);
        EXPECT_EQ(sets[0]["op"].AsInt(), 2);
    }
}

TEST_F(SetupQuietTest, AnUninstallerStartedFromAShortTemporaryFolderRunsInsteadOfCopyingItselfAgain) {
    ASSERT_EQ(QuietInstall(WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), StandardEntries())), 0u);
    // A temporary folder named by its 8.3 form: the work copy started from it must
    // recognise itself through the long forms, or it would copy and restart for ever.
    const std::wstring longTemp = scratch_ + L"\\Temporary Files Folder";
    ASSERT_TRUE(CreateDirectoryW(longTemp.c_str(), nullptr));
    wchar_t shortTemp[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(longTemp.c_str(), shortTemp, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortTemp), longTemp);
    wchar_t saved[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", saved, MAX_PATH);
    SetEnvironmentVariableW(L"TEMP", shortTemp);
    SetEnvironmentVariableW(L"TMP", shortTemp);
    const DWORD exitCode = RunAndWait(installed_ + L"\\" + kUninstallerFileName, L"/q");
    SetEnvironmentVariableW(L"TEMP", saved);
    SetEnvironmentVariableW(L"TMP", saved);

    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(Exists(longTemp + L"\\KestroGC\\unins000.exe"));
    EXPECT_TRUE(WaitUntilGone(installed_, kUninstallWaitMs));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
