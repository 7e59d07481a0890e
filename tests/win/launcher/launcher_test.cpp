// KestroGC started as real processes under Wine: first and second starts, the
// hand-over through the pipe, window activation and the outside libraries' order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "services/config/edition_title.h"
#include "outside/common/call_record.h"
#include "outside/hubshell/hubshell.h"
#include "services/config/product_title.h"
#include "tests/win/launcher/launcher_harness.h"

namespace kestro::test {
namespace {

constexpr DWORD kWindowTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr wchar_t kMutexName[] = L"Global\\Kestro_GameCenter";

// Under Xvfb there is no window manager, yet Wine waits up to two seconds for one
// whenever a managed window is hidden or destroyed. Unmanaged windows of the
// programs of this test look the same here and close at once.
class UnmanagedWindows : public ::testing::Environment {
public:
    void SetUp() override {
        for (const wchar_t* program : kPrograms) {
            UniqueRegKey key;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyOf(program).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                key.put(), nullptr) == ERROR_SUCCESS) {
                RegSetValueExW(key.get(), L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"N"),
                               2 * sizeof(wchar_t));
            }
        }
    }
    void TearDown() override {
        for (const wchar_t* program : kPrograms) {
            RegDeleteKeyW(HKEY_CURRENT_USER, KeyOf(program).c_str());
            RegDeleteKeyW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Wine\\AppDefaults\\") + program).c_str());
        }
    }

private:
    static constexpr const wchar_t* kPrograms[] = {L"KestroGC.exe", L"win_launcher_tests.exe"};
    static std::wstring KeyOf(const wchar_t* program) {
        return std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\X11 Driver";
    }
};
const auto* const g_unmanagedWindows = ::testing::AddGlobalTestEnvironment(new UnmanagedWindows);

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        recordPath_ = TempFolder() + L"kestro-record-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::wstring(info->name(), info->name() + strlen(info->name())) + L".txt";
        for (wchar_t& c : recordPath_) {
            if (c == L'/') c = L'_';
        }
        DeleteFileW(recordPath_.c_str());
        SetEnvironmentVariableW(kCallRecordVariable, recordPath_.c_str());
        // Every test starts with no game centre running: one left behind would hold the
        // instance mutex and turn this test's first start into a second one.
        if (int left = EndGameCentres()) {
            std::fprintf(stderr, "ended %d game centre(s) left running before this test\n", left);
        }
    }

    void TearDown() override {
        // A test that stopped part way leaves no game centre behind for the next one.
        for (UniqueHandle& process : running_) {
            if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
                TerminateProcess(process.get(), 1);
                WaitForSingleObject(process.get(), kExitTimeoutMs);
            }
        }
        running_.clear();
        SetEnvironmentVariableW(kCallRecordVariable, nullptr);
        DeleteFileW(recordPath_.c_str());
    }

    // Kept by a handle of the fixture's own: the test's Launched objects are gone by TearDown.
    void Track(const Launched& launched) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(GetCurrentProcess(), launched.process.get(), GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            running_.emplace_back(copy);
        }
    }

    // A first start from the build folder, its window found by class and title.
    HWND StartGameCenter(Launched& first, const wchar_t* title = config::kProductTitle) {
        first = StartLauncher(BinFolder(), L"");
        Track(first);
        // Only this start's own window: never one an earlier start left on screen.
        return WaitForWindow(kHubshellWindowClass, title, kWindowTimeoutMs, first.pid);
    }

    DWORD CloseGameCenter(Launched& first, HWND window) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return WaitForExit(first, kExitTimeoutMs);
    }

    DWORD RunSecondStart(const std::wstring& arguments, Launched& second) {
        second = StartLauncher(BinFolder(), arguments);
        Track(second);
        return WaitForExit(second, kExitTimeoutMs);
    }

    std::wstring recordPath_;
    std::vector<UniqueHandle> running_;
};

TEST_F(LauncherTest, FirstStartOpensTheWindowAndStartsAndStopsTheOutsideLibrariesInOrder) {
    ScopedTheme theme(nullptr);
    Launched first;
    HWND window = StartGameCenter(first);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    DWORD windowPid = 0;
    GetWindowThreadProcessId(window, &windowPid);
    EXPECT_EQ(windowPid, first.pid);
    EXPECT_EQ(CloseGameCenter(first, window), 0u);

    const std::vector<RecordLine> lines = LinesOf(ReadRecord(recordPath_), first.pid);
    std::vector<std::wstring> entries;
    for (const RecordLine& line : lines) entries.push_back(line.entry);
    const std::vector<std::wstring> expected = {
        L"GetApp",
        L"CHApp::InitApplication",
        L"AysncTask::InitAsyncSystem",
        L"InitXThread",
        L"CHKestroFile::GetModuleFolder",
        L"CXFileLoader::Init",
        L"CCommFunc::GetGCTheme",
        L"CHUtil::GetCommandArgs",
        L"InitCefInstance",
        L"CHKestroFile::GetModuleFolder",
        L"CHUtil::GetFileVersion",
        L"CreateHubshell",
        L"CCommFunc::GetGCTheme",  // the window asks for its own title
        L"Hubshell::Destroy",
        L"UnInitXThread",
        L"ShutDownCefInstance",
    };
    ASSERT_EQ(entries, expected);

    const std::wstring bin = BinFolder();
    EXPECT_EQ(lines[1].args, (std::vector<std::wstring>{L"own-module", L"no-previous", L"", L"10"}));
    EXPECT_EQ(lines[5].args, (std::vector<std::wstring>{bin + L"/res.data", L"1", L"0"}));
    EXPECT_EQ(lines[6].args, std::vector<std::wstring>{L"default"});
    EXPECT_EQ(lines[10].args, std::vector<std::wstring>{bin + L"\\KestroGC.exe"});
    EXPECT_EQ(lines[11].args, (std::vector<std::wstring>{L"30", L"2147", L"2.1.4.7"}));
    EXPECT_EQ(lines[15].args, std::vector<std::wstring>{L"started"});
}

class HandOverWords : public LauncherTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(HandOverWords, SecondStartFromALinkHandsItsExactCommandLineToTheRunningGameCentre) {
    ScopedTheme theme(L"default");
    Launched first;
    HWND window = StartGameCenter(first);
    ASSERT_NE(window, nullptr);

    const std::wstring link = L"gcapp://open?game=星际&id=42";
    Launched second;
    EXPECT_EQ(RunSecondStart(L"\"" + link + L"\" " + GetParam(), second), 0u);

    RecordLine message;
    ASSERT_TRUE(WaitForEntry(recordPath_, first.pid, L"Hubshell::PipeMessage", kExitTimeoutMs, &message));
    ASSERT_EQ(message.args.size(), 2u);
    const size_t n = second.commandLine.size();
    EXPECT_EQ(message.args[0], std::to_wstring(2 * n + 2));
    EXPECT_EQ(message.args[1], Utf16Hex(second.commandLine) + L"0000");

    RecordLine acted;
    ASSERT_TRUE(WaitForEntry(recordPath_, first.pid, L"Hubshell::GcappLink", kExitTimeoutMs, &acted));
    EXPECT_EQ(acted.args, std::vector<std::wstring>{link});

    // The second start handed over: it neither looked for the window nor started the browser runtime.
    const std::vector<std::wstring> secondEntries = EntriesOf(ReadRecord(recordPath_), second.pid);
    EXPECT_EQ(secondEntries.back(), L"UnInitXThread");
    for (const std::wstring& entry : secondEntries) {
        EXPECT_NE(entry, L"CHUtilEx::HasFullScreenRuning");
        EXPECT_NE(entry, L"InitCefInstance");
        EXPECT_NE(entry, L"ShutDownCefInstance");
    }
    EXPECT_EQ(CloseGameCenter(first, window), 0u);
}

INSTANTIATE_TEST_SUITE_P(AnyCase, HandOverWords,
                         ::testing::Values(L"-from oneclick", L"-FROM OneClick", L"-From ONECLICK extra"));

TEST_F(LauncherTest, SimultaneousHandOversAllArriveWhole) {
    ScopedTheme theme(L"default");
    Launched first;
    HWND window = StartGameCenter(first);
    ASSERT_NE(window, nullptr);

    constexpr int kStarts = 3;
    Launched seconds[kStarts];
    for (int i = 0; i < kStarts; ++i) {
        seconds[i] = StartLauncher(BinFolder(), L"gcapp://open?id=" + std::to_wstring(i) + L" -from oneclick");
        Track(seconds[i]);
    }
    std::vector<std::wstring> expected;
    for (Launched& second : seconds) {
        EXPECT_EQ(WaitForExit(second, kExitTimeoutMs), 0u);
        expected.push_back(Utf16Hex(second.commandLine) + L"0000");
    }
    std::vector<std::wstring> arrived;
    const DWORD start = GetTickCount();
    while (arrived.size() < kStarts && GetTickCount() - start < kExitTimeoutMs) {
        arrived.clear();
        for (const RecordLine& line : LinesOf(ReadRecord(recordPath_), first.pid)) {
            if (line.entry == L"Hubshell::PipeMessage" && line.args.size() == 2) arrived.push_back(line.args[1]);
        }
        Pump(20);
    }
    std::sort(expected.begin(), expected.end());
    std::sort(arrived.begin(), arrived.end());
    EXPECT_EQ(arrived, expected);
    EXPECT_EQ(CloseGameCenter(first, window), 0u);
}

// A top-level "CHWindow" of this test process with another caption than the
// running game centre's. It counts the messages that bringing a window forward
// sends it: restore, show, move in the order of windows.
class DecoyWindow {
public:
    explicit DecoyWindow(const wchar_t* caption) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &DecoyWindow::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kHubshellWindowClass;
        // An earlier test of this process may have registered it already.
        RegisterClassExW(&windowClass);
        window_ = CreateWindowExW(0, kHubshellWindowClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200, 400,
                                  300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DecoyWindow() {
        if (window_) DestroyWindow(window_);
    }
    DecoyWindow(const DecoyWindow&) = delete;
    DecoyWindow& operator=(const DecoyWindow&) = delete;

    HWND get() const { return window_; }
    int touches = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<DecoyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && (message == WM_SYSCOMMAND || message == WM_SHOWWINDOW || message == WM_WINDOWPOSCHANGING)) {
            ++self->touches;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

// Second starts that are not from a link bring the running window forward instead:
// the window of the edition's title, here one that is not the default. A decoy
// captioned with the default title lies above it, where a search by class alone
// or for the default title would find the decoy first.
class ActivationTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        window_ = StartGameCenter(first_, kEditionTitle);
        ASSERT_NE(window_, nullptr);
        ASSERT_NE(decoy_.get(), nullptr);
    }
    void TearDown() override {
        if (window_ && IsWindow(window_)) {
            EXPECT_EQ(CloseGameCenter(first_, window_), 0u);
        }
        LauncherTest::TearDown();
    }
    void ExpectNoHandOver() {
        for (const RecordLine& line : LinesOf(ReadRecord(recordPath_), first_.pid)) {
            EXPECT_NE(line.entry, L"Hubshell::PipeMessage");
        }
    }
    // Puts the decoy in the state |show| gives it, first among the windows of its class.
    void PlaceDecoy(int show) {
        const HWND decoy = decoy_.get();
        ShowWindow(decoy, show);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 3000;) {
            SetWindowPos(decoy, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            Pump(50);
            if (FindWindowW(kHubshellWindowClass, nullptr) == decoy) break;
        }
        ASSERT_EQ(FindWindowW(kHubshellWindowClass, nullptr), decoy);
        ASSERT_EQ(FindWindowW(kHubshellWindowClass, kEditionTitle), window_);
        decoyIconic_ = IsIconic(decoy) != FALSE;
        decoyVisible_ = IsWindowVisible(decoy) != FALSE;
        decoy_.touches = 0;
    }
    void ExpectDecoyUntouched() {
        EXPECT_EQ(decoy_.touches, 0);
        EXPECT_EQ(IsIconic(decoy_.get()) != FALSE, decoyIconic_);
        EXPECT_EQ(IsWindowVisible(decoy_.get()) != FALSE, decoyVisible_);
    }

    static constexpr wchar_t kEditionTitle[] = L"Quenta模拟器";
    ScopedTheme theme_{L"quenta"};
    Launched first_;
    HWND window_ = nullptr;
    DecoyWindow decoy_{L"Kestro 模拟器"};
    bool decoyIconic_ = false;
    bool decoyVisible_ = false;
};

TEST_F(ActivationTest, MinimisedWindowIsRestoredByAStartWithOnlyThreeWords) {
    ShowWindow(window_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window_));
    ASSERT_NO_FATAL_FAILURE(PlaceDecoy(SW_MINIMIZE));
    ASSERT_TRUE(IsIconic(decoy_.get()));
    Launched second;
    EXPECT_EQ(RunSecondStart(L"\"gcapp://open?id=1\" -from", second), 0u);
    Pump(200);
    EXPECT_FALSE(IsIconic(window_));
    EXPECT_TRUE(IsWindowVisible(window_));
    ExpectDecoyUntouched();
    ExpectNoHandOver();
}

TEST_F(ActivationTest, HiddenWindowIsShownByAStartWithAnotherWordAfterFrom) {
    ShowWindow(window_, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(window_));
    ASSERT_NO_FATAL_FAILURE(PlaceDecoy(SW_HIDE));
    Launched second;
    EXPECT_EQ(RunSecondStart(L"\"gcapp://open?id=1\" -from desktop", second), 0u);
    Pump(200);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_FALSE(IsIconic(window_));
    ExpectDecoyUntouched();
    ExpectNoHandOver();
}

bool IsAbove(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper) return true;
        if (window == lower) return false;
    }
    return false;
}

TEST_F(ActivationTest, VisibleWindowIsLiftedAboveOthersAndLeftNonTopmost) {
    ASSERT_NO_FATAL_FAILURE(PlaceDecoy(SW_SHOWNOACTIVATE));
    HWND cover = CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, 100, 60, 600, 400, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(cover, nullptr);
    // The game centre may still be settling its own order after its window appeared:
    // raise the cover until it stays above, within a bounded moment.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000;) {
        SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        Pump(100);
        if (IsAbove(cover, window_)) break;
    }
    ASSERT_TRUE(IsAbove(cover, window_));
    ASSERT_TRUE(IsAbove(cover, decoy_.get()));
    decoy_.touches = 0;

    Launched second;
    EXPECT_EQ(RunSecondStart(L"", second), 0u);
    // The running instance applies the new order on its own thread: allow it a bounded moment.
    for (DWORD start = GetTickCount(); !IsAbove(window_, cover) && GetTickCount() - start < 3000;) Pump(50);
    EXPECT_TRUE(IsAbove(window_, cover));
    EXPECT_EQ(GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(IsAbove(cover, decoy_.get()));
    ExpectDecoyUntouched();
    DestroyWindow(cover);
    ExpectNoHandOver();
}

TEST_F(ActivationTest, FullScreenProgramKeepsTheRunningWindowAsItIs) {
    ShowWindow(window_, SW_MINIMIZE);
    ASSERT_NO_FATAL_FAILURE(PlaceDecoy(SW_MINIMIZE));
    HWND fullScreen = CreateWindowExW(0, L"STATIC", L"game", WS_POPUP | WS_VISIBLE, 0, 0,
                                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(fullScreen, nullptr);
    SetForegroundWindow(fullScreen);
    Pump(100);
    decoy_.touches = 0;

    Launched second;
    EXPECT_EQ(RunSecondStart(L"", second), 0u);
    Pump(200);
    EXPECT_TRUE(IsIconic(window_));
    ExpectDecoyUntouched();
    RecordLine answer;
    ASSERT_TRUE(WaitForEntry(recordPath_, second.pid, L"CHUtilEx::HasFullScreenRuning", 0, &answer));
    EXPECT_EQ(answer.args, std::vector<std::wstring>{L"1"});
    DestroyWindow(fullScreen);
}

TEST_F(LauncherTest, SecondStartWithoutAServedPipeTriesThreeTimesAndEndsWithZero) {
    // Holding the instance mutex ourselves makes the start a second one with nobody serving the pipe.
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    ASSERT_TRUE(mutex);
    ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    const DWORD started = GetTickCount();
    Launched second;
    EXPECT_EQ(RunSecondStart(L"\"gcapp://open?id=7\" -from oneclick", second), 0u);
    const DWORD elapsed = GetTickCount() - started;
    // Three failed attempts, each followed by a one-second pause, and no fall-back to activation.
    EXPECT_GE(elapsed, 2900u);
    EXPECT_LT(elapsed, 9000u);
    for (const std::wstring& entry : EntriesOf(ReadRecord(recordPath_), second.pid)) {
        EXPECT_NE(entry, L"CHUtilEx::HasFullScreenRuning");
    }
}

// A running instance that accepts the hand-over and never reads it: the second
// start gives its write up with the attempt's time, and ends with 0 as soon as
// three attempts at the most would have.
TEST_F(LauncherTest, SecondStartEndsWhenTheRunningInstanceAcceptsButNeverReads) {
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    ASSERT_TRUE(mutex);
    PeerPipe peer(0);
    ASSERT_TRUE(peer.Listen());
    const DWORD started = GetTickCount();
    Launched second;
    EXPECT_EQ(RunSecondStart(L"\"gcapp://open?id=5\" -from oneclick", second), 0u);
    const DWORD elapsed = GetTickCount() - started;
    EXPECT_TRUE(peer.WaitConnected(0)) << "the second start never reached the pipe";
    EXPECT_LT(elapsed, 4500u);
}

// Another client holds the only instance for 500 ms: the second start waits for
// it inside its first attempt and connects once it is free, well before the
// pause that a second attempt would come after.
TEST_F(LauncherTest, SecondStartConnectsToABusyPipeOnceItIsFree) {
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
    ASSERT_TRUE(mutex);
    PeerPipe peer(4096);
    ASSERT_TRUE(peer.Listen());
    UniqueFile holder(
        CreateFileW(kHandOverPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    ASSERT_TRUE(peer.WaitConnected(1000));

    Launched second = StartLauncher(BinFolder(), L"\"gcapp://open?id=6\" -from oneclick");
    Track(second);
    // Its last call into the outside libraries comes just before the hand-over.
    ASSERT_TRUE(WaitForEntry(recordPath_, second.pid, L"CHUtil::GetCommandArgs", kExitTimeoutMs));
    const DWORD reached = GetTickCount();
    Pump(500);
    holder.reset();
    peer.Disconnect();
    ASSERT_TRUE(peer.Listen());
    ASSERT_TRUE(peer.WaitConnected(3000));
    const DWORD connectedAfter = GetTickCount() - reached;
    std::string message;
    ASSERT_TRUE(peer.ReadMessage(3000, &message));
    EXPECT_EQ(WaitForExit(second, kExitTimeoutMs), 0u);

    // An attempt given up at the busy pipe would be followed by 1000 ms of pause.
    EXPECT_LT(connectedAfter, 800u);
    const std::wstring& line = second.commandLine;
    EXPECT_EQ(message, std::string(reinterpret_cast<const char*>(line.c_str()), (line.size() + 1) * sizeof(wchar_t)));
}

TEST_F(LauncherTest, StartEndsWithZeroWhenTheInstanceMutexCannotBeCreated) {
    // An object of another kind holding the name makes CreateMutexW fail.
    UniqueHandle blocker(CreateEventW(nullptr, TRUE, FALSE, kMutexName));
    ASSERT_TRUE(blocker);
    Launched start = StartLauncher(BinFolder(), L"gcapp://open?id=9 -from oneclick");
    Track(start);
    EXPECT_EQ(WaitForExit(start, kExitTimeoutMs), 0u);
    const std::vector<std::wstring> entries = EntriesOf(ReadRecord(recordPath_), start.pid);
    ASSERT_FALSE(entries.empty());
    // Neither a first nor a second start: nothing after reading the command line.
    EXPECT_EQ(entries.back(), L"CHUtil::GetCommandArgs");
}

TEST_F(LauncherTest, FirstStartWithoutHubshellEndsAtOnceWithZero) {
    InstallCopy install(L"kestro-no-hubshell", false, false);
    Launched first = StartLauncher(install.Folder(), L"");
    Track(first);
    EXPECT_EQ(WaitForExit(first, kExitTimeoutMs), 0u);
    const std::vector<std::wstring> entries = EntriesOf(ReadRecord(recordPath_), first.pid);
    ASSERT_FALSE(entries.empty());
    // Loading the window library is the last step: nothing is created, nothing is cleaned up.
    EXPECT_EQ(entries.back(), L"CHKestroFile::GetModuleFolder");
    EXPECT_EQ(entries[entries.size() - 2], L"InitCefInstance");
}

TEST_F(LauncherTest, CrashReporterBesideTheLauncherIsRegisteredWithTheProductDetails) {
    ScopedTheme theme(L"vesk");
    InstallCopy install(L"kestro-with-crashpost", true, true);
    Launched first = StartLauncher(install.Folder(), L"");
    Track(first);
    const std::wstring title(ProductTitleForEdition(L"vesk"));
    HWND window = WaitForWindow(kHubshellWindowClass, title.c_str(), kWindowTimeoutMs);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CloseGameCenter(first, window), 0u);

    const std::vector<RecordLine> lines = LinesOf(ReadRecord(recordPath_), first.pid);
    size_t at = 0;
    while (at < lines.size() && lines[at].entry != L"TarnCrashpost::InitCrashpost") ++at;
    ASSERT_LT(at, lines.size());
    ASSERT_GT(at, 0u);
    EXPECT_EQ(lines[at - 1].entry, L"CCommFunc::GetGCTheme");
    ASSERT_LT(at + 1, lines.size());
    EXPECT_EQ(lines[at + 1].entry, L"CHUtil::GetCommandArgs");
    const std::vector<std::wstring> expected = {
        title, title, install.Folder() + L"\\KestroGC.exe", L"KestroGC.exe", L"2", L"1", L"4", L"7", L"3134", L"1",
        L"1", L"1", L"1", std::to_wstring(GetSystemDefaultUILanguage()), L"0"};
    EXPECT_EQ(lines[at].args, expected);
}

TEST_F(LauncherTest, UnhandledExceptionStartsTheCrashReporterBesideTheModule) {
    const std::wstring reporterFolder = BinFolder() + L"\\crash-reporter";
    Launched host;
    host.commandLine = L"\"" + BinFolder() + L"\\crash_host.exe\" \"" + reporterFolder + L"\\KestroGC.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring line = host.commandLine;
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    UniqueHandle thread(info.hThread);
    host.process.reset(info.hProcess);
    host.pid = info.dwProcessId;
    Track(host);
    EXPECT_EQ(WaitForExit(host, kExitTimeoutMs), 0xE0004B47u);

    const DWORD start = GetTickCount();
    const RecordLine* started = nullptr;
    std::vector<RecordLine> lines;
    while (!started && GetTickCount() - start < kExitTimeoutMs) {
        lines = ReadRecord(recordPath_);
        for (const RecordLine& candidate : lines) {
            if (candidate.entry == L"crashpost") started = &candidate;
        }
        if (!started) Pump(50);
    }
    ASSERT_NE(started, nullptr);
    ASSERT_EQ(started->args.size(), 1u);
    const std::wstring& reporterLine = started->args[0];
    EXPECT_EQ(reporterLine.rfind(L"\"" + reporterFolder + L"\\crashpost.exe\"", 0), 0u) << reporterLine;
    EXPECT_NE(reporterLine.find(L" -pid " + std::to_wstring(host.pid) + L" "), std::wstring::npos) << reporterLine;
    EXPECT_NE(reporterLine.find(L" -version 2.1.4.7 "), std::wstring::npos) << reporterLine;
}

TEST_F(LauncherTest, EditionKeyIsMatchedExactlySoCapitalisedLumoGetsTheDefaultTitle) {
    {
        ScopedTheme theme(L"Lumo");
        Launched first;
        HWND window = StartGameCenter(first, L"Kestro 模拟器");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(CloseGameCenter(first, window), 0u);
    }
    {
        ScopedTheme theme(L"lumo");
        Launched first;
        HWND window = StartGameCenter(first, L"Lumo手游模拟器");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(CloseGameCenter(first, window), 0u);
    }
}

TEST_F(LauncherTest, GameCentreThatCannotServeThePipeEndsWithZeroAndReleasesItsLibraries) {
    // Another process owns the pipe name, so the window library declines to create the window.
    UniqueHandle squatter(CreateNamedPipeW(kHandOverPipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE, 1, 512, 512, 0,
                                           nullptr));
    ASSERT_TRUE(squatter);
    Launched first = StartLauncher(BinFolder(), L"");
    Track(first);
    EXPECT_EQ(WaitForExit(first, kExitTimeoutMs), 0u);
    const std::vector<std::wstring> entries = EntriesOf(ReadRecord(recordPath_), first.pid);
    const std::vector<std::wstring> tail(entries.end() - std::min<size_t>(entries.size(), 4), entries.end());
    EXPECT_EQ(tail, (std::vector<std::wstring>{L"CreateHubshell:failed", L"Hubshell::Destroy", L"UnInitXThread",
                                               L"ShutDownCefInstance"}));
}

}  // namespace
}  // namespace kestro::test
