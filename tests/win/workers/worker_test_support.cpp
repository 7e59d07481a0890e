#include "worker_test_support.h"

#include <aclapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "services/base/utf8.h"
#include "services/config/product_title.h"
#include "services/win/unique_handle.h"
#include "setup/engine/file_io.h"
#include "setup/engine/shell_file_ops.h"
#include "setup/package/package_records.h"
#include "setup/workers/install_plan.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace testing {

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE);
    return path;
}

std::string Cp936(const std::wstring& text) {
    int bytes = WideCharToMultiByte(936, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(936, 0, text.c_str(), int(text.size()), &out[0], bytes, nullptr, nullptr);
    return out;
}

DWORD RunAndWait(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs) {
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return DWORD(-1);
    }
    UniqueHandle started(process.hProcess);
    UniqueHandle thread(process.hThread);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(started.get(), timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(started.get(), &code);
    } else {
        TerminateProcess(started.get(), 99);
    }
    return code;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        if (Exists(path)) return true;
        Sleep(20);
    }
    return Exists(path);
}

std::wstring RawValue::Text() const {
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    if (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

bool RawValue::EndsWithNul() const {
    return bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[bytes.size() - 1] == 0 && bytes[bytes.size() - 2] == 0;
}

DWORD RawValue::Number() const {
    DWORD value = 0;
    if (bytes.size() == sizeof value) memcpy(&value, bytes.data(), sizeof value);
    return value;
}

RawValue ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
    RawValue value;
    UniqueRegKey opened;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, opened.put()) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExW(opened.get(), name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        if (RegQueryValueExW(opened.get(), name, nullptr, &value.type, reinterpret_cast<BYTE*>(&value.bytes[0]),
                             &size) == ERROR_SUCCESS) {
            value.present = true;
        }
    }
    return value;
}

bool KeyExists(HKEY root, const std::wstring& key) {
    UniqueRegKey opened;
    return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, opened.put()) == ERROR_SUCCESS;
}

void SetTextValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) {
    UniqueRegKey created;
    ASSERT_EQ(
        RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, created.put(), nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(created.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(wchar_t)));
}

void SetNumberValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
    UniqueRegKey created;
    ASSERT_EQ(
        RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, created.put(), nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(created.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

bool HasEveryoneEntry(const std::wstring& folder) {
    PACL dacl = nullptr;
    UniqueLocal descriptor;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put())) != ERROR_SUCCESS) {
        return false;
    }
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    bool found = false;
    for (DWORD i = 0; dacl && i < dacl->AceCount && !found; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE) {
            found = EqualSid(&ace->SidStart, everyone);
        }
    }
    FreeSid(everyone);
    return found;
}

std::wstring CommonDesktopLink() {
    return SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\" + config::kProductTitle + L".lnk";
}

std::wstring QuickLaunchLink() {
    return SpecialFolder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\" + config::kProductTitle +
           L".lnk";
}

std::wstring StartMenuLinkPath() {
    return StartMenuLink(SpecialFolder(CSIDL_COMMON_PROGRAMS), config::kProductTitle);
}

namespace {

// The "workers" server of the CTest fixtures, as Wine sees its folder.
std::wstring StatsFolder() {
    const char* root = getenv("KESTRO_STATS_DIR");
    if (!root || !*root) return std::wstring();
    std::wstring folder = L"Z:" + WideFromUtf8(root) + L"\\workers";
    for (wchar_t& c : folder) {
        if (c == L'/') c = L'\\';
    }
    return folder;
}

std::wstring StatsLogPath() {
    std::wstring folder = StatsFolder();
    return folder.empty() ? folder : folder + L"\\requests.log";
}

// Points every report of the programs the tests start at the local server, or at a
// closed port when there is none, so a report never waits for the network.
class StatsServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::string port = StatsFolder().empty() ? std::string() : ReadBytes(StatsFolder() + L"\\port");
        while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
        std::string endpoint = "127.0.0.1:" + (port.empty() ? std::string("9") : port);
        SetEnvironmentVariableA("KESTRO_STATS_SERVER", endpoint.c_str());
    }
};

const ::testing::Environment* const kStatsServerEnvironment =
    ::testing::AddGlobalTestEnvironment(new StatsServerEnvironment);

}  // namespace

bool StatsLogAvailable() { return !StatsLogPath().empty() && Exists(StatsLogPath()); }

std::vector<JValue> StatsRequests() {
    std::vector<JValue> requests;
    std::string text = ReadBytes(StatsLogPath());
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; start = end + 1, end = text.find('\n', start)) {
        JValue request;
        if (JValue::Parse(text.substr(start, end - start), request)) requests.push_back(request);
    }
    return requests;
}

void ClearStatsRequests() {
    if (StatsLogAvailable()) {
        EXPECT_TRUE(WriteBytes(StatsLogPath(), ""));
    }
}

void RemoveProductRegistry() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProductUninstallKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kEmulatorUninstallKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kMakerUserKey);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProtocolKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(kProtocolExecuteKey) + L"\\" + kProtocolKey).c_str());
}

namespace {

void RemoveProductShortcuts() {
    std::wstring link = std::wstring(L"\\") + config::kProductTitle + L".lnk";
    DeleteFileW((SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + link).c_str());
    DeleteFileW((SpecialFolder(CSIDL_DESKTOPDIRECTORY) + link).c_str());
    DeleteFileW((SpecialFolder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch" + link).c_str());
    test::RemoveFolderTree(StartMenuFolder(SpecialFolder(CSIDL_COMMON_PROGRAMS)));
}

void ListBelow(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& out) {
    for (const test::FolderEntry& entry : test::FindEntries(folder + L"\\*")) {
        out.push_back(prefix + entry.name + (entry.folder ? L"\\" : L""));
        if (entry.folder) ListBelow(folder + L"\\" + entry.name, prefix + entry.name + L"\\", out);
    }
}

}  // namespace

void WorkerTest::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    CreateDirectoryW(L"C:\\kestro-worker-tests", nullptr);
    scratchFolder_ = std::make_unique<test::ScratchFolder>(test::ScratchFolder::AtPath(),
                                                           L"C:\\kestro-worker-tests\\" + WideFromUtf8(name));
    ASSERT_TRUE(scratchFolder_->Made());
    scratch_ = scratchFolder_->Path();
    target_ = scratch_ + L"\\Kestro 目录";
    RemoveProductRegistry();
    RemoveProductShortcuts();
}

void WorkerTest::TearDown() {
    RemoveProductRegistry();
    RemoveProductShortcuts();
    // What a failed test left stays for a look.
    if (scratchFolder_ && HasFailure()) scratchFolder_->Keep();
    scratchFolder_.reset();
}

JValue WorkerTest::StandardConfig() {
    JValue config;
    const char* text =
        "{\"channel\":30123,\"lastrun\":\"KestroGC.exe\",\"mode\":1,\"theme\":\"orvik\","
        "\"shortcut\":{\"desktop\":[{\"file\":\"KestroGC.exe\",\"name\":\"Kestro 模拟器\"}],"
        "\"taskbar\":[{\"file\":\"KestroGC.exe\",\"name\":\"Kestro 模拟器\"}]},"
        "\"instoptions\":[\"tools/opt.exe instoptions\"],\"instrun\":[\"tools/run.exe instrun\"]}";
    EXPECT_TRUE(JValue::Parse(std::string(text), config));
    return config;
}

JValue WorkerTest::PlainConfig() {
    JValue config = StandardConfig();
    config.Remove("instoptions");
    config.Remove("instrun");
    return config;
}

std::vector<ZipEntry> WorkerTest::StandardEntries() {
    std::string fixture = ReadBytes(BinFolder() + L"\\kestro_worker_fixture.exe");
    std::vector<ZipEntry> entries;
    // A launcher that can be left running: the engine's fixture helper ("wait").
    entries.push_back({"KestroGC.exe", ReadBytes(BinFolder() + L"\\kestro_fixture_helper.exe")});
    entries.push_back({"res/", ""});
    entries.push_back({"res/skin.png", NoiseBytes(70000, 7)});
    entries.push_back({"res/sub/", ""});
    entries.push_back({"res/sub/deep.txt", std::string(300000, 'k')});
    entries.push_back({"data/a.txt", "no folder entry above me"});
    entries.push_back({"deep/er/still/b.txt", "three folders without entries"});
    entries.push_back({Cp936(L"说明.txt"), "ANSI-named"});
    ZipEntry flagged{Utf8FromWide(L"文档/readme.txt"), "UTF-8-named"};
    flagged.utf8Flag = true;
    entries.push_back(flagged);
    entries.push_back({"tools/opt.exe", fixture});
    entries.push_back({"tools/run.exe", fixture});
    return entries;
}

namespace {

std::wstring WritePackageOf(const std::wstring& program, const std::wstring& path, const JValue& config,
                            const std::string& archive) {
    const std::string image = ReadBytes(BinFolder() + L"\\" + program);
    EXPECT_TRUE(WriteBytes(path, MakePackage(image, config.WriteCompact(), archive)));
    return path;
}

}  // namespace

std::string MakeUninstaller(const std::wstring& program, const std::wstring& root,
                            const std::vector<std::wstring>& files, const std::vector<std::wstring>& folders,
                            const JValue& uninstrun) {
    auto encode = [](const std::wstring& path) { return UninstallRecord::EncodePath(Utf8FromWide(path)); };
    JValue record = JValue::Object();
    record.Set("mode", 0);
    record.Set("channel", 30001);
    JValue setup = JValue::Object();
    setup.Set("root", encode(root));
    setup.Set("shortcut", JValue::Object());
    record.Set("setup", setup);
    JValue fileList = JValue::Array();
    for (const std::wstring& f : files) fileList.Append(encode(f));
    record.Set("files", fileList);
    JValue folderList = JValue::Array();
    for (const std::wstring& f : folders) folderList.Append(encode(f));
    record.Set("folders", folderList);
    if (uninstrun.IsArray()) record.Set("uninstrun", uninstrun);
    std::string uninstaller = MakePackage(ReadBytes(BinFolder() + L"\\" + program), record.WriteCompact(), "");
    uninstaller.resize(uninstaller.size() - 4);  // an uninstaller has no archive part
    return uninstaller;
}

std::wstring WorkerTest::WritePackage(const std::wstring& fileName, const JValue& config,
                                      const std::vector<ZipEntry>& entries) {
    return WritePackage(fileName, config, MakeZip(entries));
}

std::wstring WorkerTest::WritePackage(const std::wstring& fileName, const JValue& config, const std::string& archive) {
    return WritePackageOf(L"kestro_worker_driver.exe", scratch_ + L"\\" + fileName, config, archive);
}

std::wstring WorkerTest::WriteSetupPackage(const std::wstring& fileName, const JValue& config,
                                           const std::vector<ZipEntry>& entries) {
    return WritePackageOf(L"KestroSetup.exe", scratch_ + L"\\" + fileName, config, MakeZip(entries));
}

DriverResult WorkerTest::Run(const std::wstring& program, const std::wstring& arguments) {
    DriverResult result;
    std::wstring resultFile = scratch_ + L"\\result.json";
    DeleteFileW(resultFile.c_str());
    result.exitCode = RunAndWait(program, arguments + L" --result \"" + resultFile + L"\"");
    JValue::Parse(ReadBytes(resultFile), result.json);
    return result;
}

DriverResult WorkerTest::Install(const std::wstring& package, const std::wstring& extraArguments) {
    return Run(package, L"--target \"" + target_ + L"\" " + extraArguments);
}

DriverResult WorkerTest::Uninstall(const std::wstring& extraArguments) {
    std::wstring copy = scratch_ + L"\\uninstaller-copy.exe";
    EXPECT_TRUE(CopyFileW(Target(kUninstallerFileName).c_str(), copy.c_str(), FALSE));
    return Run(copy, extraArguments);
}

std::wstring WorkerTest::Target(const std::wstring& relative) const {
    return relative.empty() ? target_ : target_ + L"\\" + relative;
}

std::vector<std::wstring> FolderListing(const std::wstring& folder) {
    std::vector<std::wstring> out;
    ListBelow(folder, L"", out);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::wstring> WorkerTest::TargetListing() const { return FolderListing(target_); }

}  // namespace testing
}  // namespace kestro
