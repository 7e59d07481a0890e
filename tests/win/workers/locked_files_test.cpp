#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "services/win/unique_handle.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

// A fixture process started with `arguments` that has signalled it holds its file.
class Holder {
public:
    Holder(const std::wstring& program, const std::wstring& arguments, const wchar_t* eventName)
        : event_(CreateEventW(nullptr, TRUE, FALSE, eventName)) {
        std::wstring line = L"\"" + program + L"\" " + arguments + L" " + eventName;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &started)) {
            process_.reset(started.hProcess);
            UniqueHandle thread(started.hThread);
        }
        HANDLE both[2] = {event_.get(), process_.get()};
        ready_ = process_ && WaitForMultipleObjects(2, both, FALSE, 10000) == WAIT_OBJECT_0;
    }
    ~Holder() {
        if (process_) TerminateProcess(process_.get(), 0);
    }
    bool Ready() const { return ready_; }
    bool EndsWithin(DWORD ms) const { return WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0; }

private:
    UniqueHandle event_;
    UniqueHandle process_;
    bool ready_ = false;
};

class LockedFileInstall : public WorkerTest {
protected:
    std::string Helper() { return ReadBytes(BinFolder() + L"\\kestro_fixture_helper.exe"); }
    std::string Module() { return ReadBytes(BinFolder() + L"\\kestro_fixture_module.dll"); }
    void Place(const std::wstring& relative, const std::string& bytes) {
        std::wstring path = Target(relative);
        SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
        ASSERT_TRUE(WriteBytes(path, bytes));
    }
};

TEST_F(LockedFileInstall, ARunningProgramOfTheProductIsStoppedAndRewritten) {
    Place(L"bin\\holder.exe", Helper());
    Holder holder(Target(L"bin\\holder.exe"), L"wait", L"kestro-worker-holder-exe");
    ASSERT_TRUE(holder.Ready());
    std::string newer = Helper() + "version 2";
    DriverResult result = Install(WritePackage(L"setup.exe", StandardConfig(), {{"bin/holder.exe", newer}}));
    ASSERT_EQ(result.Posted(), 0x8401);
    EXPECT_TRUE(holder.EndsWithin(0));
    EXPECT_EQ(ReadBytes(Target(L"bin\\holder.exe")), newer);
}

TEST_F(LockedFileInstall, AProgramThatLoadedAProductModuleIsStoppedAndTheModuleRewritten) {
    Place(L"lib\\mod.dll", Module());
    std::wstring owner = scratch_ + L"\\module_owner.exe";
    ASSERT_TRUE(WriteBytes(owner, Helper()));
    Holder holder(owner, L"load \"" + Target(L"lib\\mod.dll") + L"\"", L"kestro-worker-holder-module");
    ASSERT_TRUE(holder.Ready());
    std::string newer = Module() + "version 2";
    DriverResult result = Install(WritePackage(L"setup.exe", StandardConfig(), {{"lib/mod.dll", newer}}));
    ASSERT_EQ(result.Posted(), 0x8401);
    EXPECT_TRUE(holder.EndsWithin(0));
    EXPECT_EQ(ReadBytes(Target(L"lib\\mod.dll")), newer);
}

// The first two entries are held by two programs while the extraction runs on two
// threads: each owner is found and stopped, and both files are rewritten.
TEST_F(LockedFileInstall, TwoLockedFilesMetAtOnceAreBothRewritten) {
    Place(L"bin\\holder.exe", Helper());
    Place(L"lib\\mod.dll", Module());
    Holder running(Target(L"bin\\holder.exe"), L"wait", L"kestro-worker-holder-two-exe");
    std::wstring owner = scratch_ + L"\\module_owner.exe";
    ASSERT_TRUE(WriteBytes(owner, Helper()));
    Holder loading(owner, L"load \"" + Target(L"lib\\mod.dll") + L"\"", L"kestro-worker-holder-two-module");
    ASSERT_TRUE(running.Ready());
    ASSERT_TRUE(loading.Ready());
    std::string newerProgram = Helper() + "version 2";
    std::string newerModule = Module() + "version 2";
    std::vector<ZipEntry> entries = {{"bin/holder.exe", newerProgram}, {"lib/mod.dll", newerModule}};
    for (int i = 0; i < 6; ++i) entries.push_back({"data/d" + std::to_string(i) + ".bin", NoiseBytes(300000, uint32_t(i))});
    DriverResult result = Install(WritePackage(L"setup.exe", StandardConfig(), entries));
    ASSERT_EQ(result.Posted(), 0x8401);
    EXPECT_TRUE(running.EndsWithin(0));
    EXPECT_TRUE(loading.EndsWithin(0));
    EXPECT_EQ(ReadBytes(Target(L"bin\\holder.exe")), newerProgram);
    EXPECT_EQ(ReadBytes(Target(L"lib\\mod.dll")), newerModule);
    EXPECT_FALSE(Exists(Target(L"bin\\holder.exe.old")));
    EXPECT_FALSE(Exists(Target(L"lib\\mod.dll.old")));
}

// The owner maps the file as an image without loading it, so no process list names
// it: the file is moved aside to ".old", and that goes once the owner lets go.
TEST_F(LockedFileInstall, AFileWhoseOwnerCannotBeFoundIsMovedAsideAndCleanedUpLater) {
    Place(L"lib\\img.dll", Module());
    std::wstring owner = scratch_ + L"\\image_owner.exe";
    ASSERT_TRUE(WriteBytes(owner, ReadBytes(BinFolder() + L"\\kestro_worker_fixture.exe")));
    Holder holder(owner, L"map \"" + Target(L"lib\\img.dll") + L"\" \"" + Target(L"zz\\release.txt") + L"\"",
                  L"kestro-worker-holder-image");
    ASSERT_TRUE(holder.Ready());
    std::string newer = Module() + "version 2";
    std::vector<ZipEntry> entries = {{"lib/img.dll", newer},
                                     {"zz/release.txt", "let go"},
                                     {"zz/big.bin", NoiseBytes(6 << 20, 3)},
                                     {"zz/after.txt", "the last one"}};
    DriverResult result = Install(WritePackage(L"setup.exe", StandardConfig(), entries));
    ASSERT_EQ(result.Posted(), 0x8401);
    EXPECT_EQ(ReadBytes(Target(L"lib\\img.dll")), newer);
    EXPECT_TRUE(holder.EndsWithin(5000));
    EXPECT_FALSE(Exists(Target(L"lib\\img.dll.old")));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
