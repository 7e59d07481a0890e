#include "outside/hubshell/hubshell.h"

#include <shellapi.h>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "outside/common/call_record.h"
#include "outside/hubshell/handover_message.h"
#include "outside/hubshell/pipe_server.h"
#include "outside/tarnlib/tarnlib.h"
#include "services/config/edition_title.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr UINT kHandOverArrived = WM_APP + 0x21;
constexpr int kWindowX = 120;
constexpr int kWindowY = 80;
constexpr int kWindowWidth = 960;
constexpr int kWindowHeight = 600;
constexpr wchar_t kNoLinkYet[] = L"（无）";
constexpr wchar_t kLinkCaption[] = L"最近链接：";

HINSTANCE OwnModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

class CLGameCenterWnd final : public IHubshell {
public:
    CLGameCenterWnd(std::wstring title, std::wstring version) : title_(std::move(title)), version_(std::move(version)) {}

    ~CLGameCenterWnd() override {
        kestro::RecordCall(L"Hubshell::Destroy");
        server_.Stop();
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
    }

    HWND GetWindow() const override { return window_; }

    bool Create() {
        if (!RegisterWindowClass()) return false;
        window_ = CreateWindowExW(0, kHubshellWindowClass, title_.c_str(), WS_OVERLAPPEDWINDOW, kWindowX, kWindowY,
                                  kWindowWidth, kWindowHeight, nullptr, nullptr, OwnModule(), this);
        if (!window_) return false;
        postTarget_.store(window_);
        if (!server_.Start(kHandOverPipeName, [this](std::string bytes) { Receive(std::move(bytes)); })) {
            DestroyWindow(window_);
            window_ = nullptr;
            return false;
        }
        ShowWindow(window_, SW_SHOWNORMAL);
        UpdateWindow(window_);
        return true;
    }

private:
    static bool RegisterWindowClass() {
        WNDCLASSEXW existing{};
        existing.cbSize = sizeof(existing);
        if (GetClassInfoExW(OwnModule(), kHubshellWindowClass, &existing)) return true;
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        windowClass.lpfnWndProc = &CLGameCenterWnd::Procedure;
        windowClass.hInstance = OwnModule();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
        windowClass.lpszClassName = kHubshellWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }

    // Pipe thread: record what arrived exactly, then let the window act on it.
    void Receive(std::string bytes) {
        kestro::RecordCall(L"Hubshell::PipeMessage",
                           {std::to_wstring(bytes.size()), Wide(kestro::hubshell::HexOf(bytes))});
        std::optional<std::u16string> commandLine = kestro::hubshell::DecodeHandOverMessage(bytes);
        if (!commandLine) return;
        {
            std::lock_guard<std::mutex> hold(pendingLock_);
            pending_.push_back(Wide(*commandLine));
        }
        if (HWND target = postTarget_.load()) PostMessageW(target, kHandOverArrived, 0, 0);
    }

    void ActOnHandOvers() {
        std::deque<std::wstring> arrived;
        {
            std::lock_guard<std::mutex> hold(pendingLock_);
            arrived.swap(pending_);
        }
        for (const std::wstring& commandLine : arrived) {
            int count = 0;
            kestro::UniqueLocal words(reinterpret_cast<HLOCAL>(CommandLineToArgvW(commandLine.c_str(), &count)));
            if (!words || count < 2) continue;
            const wchar_t* link = static_cast<wchar_t**>(words.get())[1];
            const std::wstring_view view(link);
            if (!kestro::hubshell::IsGcappLink(std::u16string(view.begin(), view.end()))) continue;
            lastLink_ = link;
            kestro::RecordCall(L"Hubshell::GcappLink", {lastLink_});
            InvalidateRect(window_, nullptr, TRUE);
        }
    }

    void Paint() {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        RECT client;
        GetClientRect(window_, &client);
        kestro::UniqueGdiObject background(CreateSolidBrush(RGB(0x1f, 0x2a, 0x44)));
        FillRect(dc, &client, static_cast<HBRUSH>(background.get()));
        SetBkMode(dc, TRANSPARENT);

        kestro::UniqueGdiObject titleFont(CreateFontW(-40, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                      DEFAULT_PITCH, L"Microsoft YaHei"));
        kestro::UniqueGdiObject textFont(CreateFontW(-18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                     DEFAULT_PITCH, L"Microsoft YaHei"));
        RECT titleBox = client;
        titleBox.top = client.bottom / 3;
        titleBox.bottom = titleBox.top + 60;
        SetTextColor(dc, RGB(0xff, 0xff, 0xff));
        {
            kestro::ScopedSelect select(dc, titleFont.get());
            DrawTextW(dc, title_.c_str(), -1, &titleBox, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        RECT linkBox = client;
        linkBox.top = titleBox.bottom + 20;
        linkBox.bottom = linkBox.top + 30;
        SetTextColor(dc, RGB(0xc8, 0xd2, 0xe6));
        const std::wstring linkLine = kLinkCaption + (lastLink_.empty() ? std::wstring(kNoLinkYet) : lastLink_);
        RECT versionBox = client;
        versionBox.top = client.bottom - 36;
        {
            kestro::ScopedSelect select(dc, textFont.get());
            DrawTextW(dc, linkLine.c_str(), -1, &linkBox,
                      DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            DrawTextW(dc, version_.c_str(), -1, &versionBox, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        EndPaint(window_, &paint);
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case kHandOverArrived:
            ActOnHandOvers();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_DESTROY:
            // The window is the game centre: closing it ends the message loop.
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
        }
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<CLGameCenterWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<CLGameCenterWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->postTarget_.store(nullptr);
            self->window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        return self->Handle(message, wParam, lParam);
    }

    std::wstring title_;
    std::wstring version_;
    std::wstring lastLink_;
    HWND window_ = nullptr;
    // The pipe thread's view of the window: cleared once the window is gone.
    std::atomic<HWND> postTarget_{nullptr};
    std::mutex pendingLock_;
    std::deque<std::wstring> pending_;
    kestro::hubshell::PipeServer server_;
};

}  // namespace

IHubshell* CreateHubshell(int layoutId, int buildNumber, const wchar_t* version) {
    const std::wstring versionText = version ? version : L"";
    kestro::RecordCall(L"CreateHubshell", {std::to_wstring(layoutId), std::to_wstring(buildNumber), versionText});
    const CString edition = CCommFunc::GetGCTheme();
    const std::wstring title(kestro::ProductTitleForEdition(edition.View()));
    auto window = std::make_unique<CLGameCenterWnd>(title, versionText);
    if (!window->Create()) {
        kestro::RecordCall(L"CreateHubshell:failed");
        return nullptr;
    }
    return window.release();
}
