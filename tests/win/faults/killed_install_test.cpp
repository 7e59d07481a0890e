// The real installer killed while it extracts, then run again: the killed run leaves no
// temporary archive, and the second run completes with the same files as a clean install.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fault_support.h"
#include "services/win/unique_handle.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace testing {
namespace {

constexpr int kFileCount = 2000;
constexpr DWORD kRunLimitMs = 120000;

// Many small files: extraction then takes long enough, file by file, to be cut.
std::vector<ZipEntry> ManyFiles() {
    std::vector<ZipEntry> entries = WorkerTest::StandardEntries();
    for (int i = 0; i < kFileCount; ++i) {
        std::string name = "many/" + std::to_string(i % 40) + "/file" + std::to_string(i) + ".dat";
        entries.push_back({name, NoiseBytes(1500 + i % 700, uint32_t(i + 17))});
    }
    return entries;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Every file below `root` with its bytes, by relative path.
void ReadTree(const std::wstring& root, const std::wstring& relative, std::map<std::wstring, std::string>& out) {
    std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
    for (const test::FolderEntry& entry : test::FindEntries(folder + L"\\*")) {
        std::wstring path = relative.empty() ? entry.name : relative + L"\\" + entry.name;
        if (entry.folder) {
            out[path + L"\\"] = "";
            ReadTree(root, path, out);
        } else {
            out[path] = ReadBytes(root + L"\\" + path);
        }
    }
}

class KilledInstall : public WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        entries_ = ManyFiles();
        package_ = WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), entries_);
    }

    static std::wstring Installed(const std::wstring& base) { return base + L"\\Tarnwell\\KestroGC"; }
    std::wstring Entry(const std::wstring& base, size_t index) const {
        std::wstring name = Wide(entries_[index].name);
        for (wchar_t& c : name) {
            if (c == L'/') c = L'\\';
        }
        return Installed(base) + L"\\" + name;
    }

    // Starts a quiet install into `base` and kills it once a tenth of the files are
    // out. False when the install had already ended.
    bool InstallAndKillMidway(const std::wstring& base) {
        std::wstring line = L"\"" + package_ + L"\" /q /D \"" + base + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessW(package_.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info)) {
            return false;
        }
        UniqueHandle process(info.hProcess);
        UniqueHandle thread(info.hThread);
        const std::wstring early = Entry(base, entries_.size() / 10);
        for (DWORD waited = 0; waited < kRunLimitMs && !Exists(early); ++waited) {
            if (WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) return false;
        }
        bool killed = TerminateProcess(process.get(), 77) != 0;
        WaitForSingleObject(process.get(), INFINITE);
        return killed;
    }

    std::vector<ZipEntry> entries_;
    std::wstring package_;
};

TEST_F(KilledInstall, TheSecondRunCompletesAndMatchesACleanInstall) {
    const std::wstring killedBase = scratch_ + L"\\killed";
    const std::vector<std::wstring> tempBefore = TempFolderListing();
    ASSERT_TRUE(InstallAndKillMidway(killedBase)) << "the install ended before it could be killed";
    // The temporary archive, as large as the product, went with the killed process.
    for (DWORD waited = 0; TempFolderListing() != tempBefore && waited < 3000; waited += 50) Sleep(50);
    EXPECT_EQ(TempFolderListing(), tempBefore);
    // The kill landed during extraction: the last file, the uninstaller and the registry are not there yet.
    ASSERT_FALSE(Exists(Entry(killedBase, entries_.size() - 1)));
    ASSERT_FALSE(Exists(Installed(killedBase) + L"\\" + kUninstallerFileName));
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));

    ASSERT_EQ(RunAndWait(package_, L"/q /D \"" + killedBase + L"\"", kRunLimitMs), 0u);
    std::map<std::wstring, std::string> rerun;
    ReadTree(Installed(killedBase), L"", rerun);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"UninstallString").Text(),
              Installed(killedBase) + L"\\" + kUninstallerFileName);

    // A clean install elsewhere, as if the first run had never happened.
    RemoveProductRegistry();
    const std::wstring cleanBase = scratch_ + L"\\clean";
    ASSERT_EQ(RunAndWait(package_, L"/q /D \"" + cleanBase + L"\"", kRunLimitMs), 0u);
    std::map<std::wstring, std::string> clean;
    ReadTree(Installed(cleanBase), L"", clean);

    // unins000.exe holds its own install folder in its record: compared by presence only.
    ASSERT_EQ(rerun.count(kUninstallerFileName), 1u);
    rerun.erase(kUninstallerFileName);
    clean.erase(kUninstallerFileName);
    ASSERT_EQ(rerun.size(), clean.size());
    for (const auto& file : clean) {
        auto match = rerun.find(file.first);
        ASSERT_NE(match, rerun.end()) << "missing after the rerun: " << Cp936(file.first);
        EXPECT_TRUE(match->second == file.second) << "differs after the rerun: " << Cp936(file.first);
    }
}

}  // namespace
}  // namespace testing
}  // namespace kestro
