// UILabel's text is set from the install thread while the interface thread paints and,
// at the end, destroys the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "services/win/unique_handle.h"
#include "uikit/controls/ui_label.h"

namespace kestro {
namespace {

UniqueHandle g_inside;
UniqueHandle g_release;

// Holds SetText inside its invalidation until the test lets it go.
class HeldLabel : public UILabel {
public:
    void Invalidate(const RECT*, bool) override {
        SetEvent(g_inside.get());
        WaitForSingleObject(g_release.get(), 10000);
    }
};

TEST(UILabelThreads, DestroyingALabelWaitsForASetTextStillInProgress) {
    g_inside.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_release.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto* label = new HeldLabel();
    std::thread worker([label] { label->SetText(L"正在安装"); });
    ASSERT_EQ(WaitForSingleObject(g_inside.get(), 5000), WAIT_OBJECT_0);

    std::atomic<bool> destroyed{false};
    std::thread closer([label, &destroyed] {
        delete label;
        destroyed = true;
    });
    Sleep(200);
    EXPECT_FALSE(destroyed) << "the label went away under a SetText in progress";
    SetEvent(g_release.get());
    worker.join();
    closer.join();
    EXPECT_TRUE(destroyed);
}

TEST(UILabelThreads, TextSetFromAnotherThreadIsAlwaysReadWhole) {
    UILabel label;
    const std::wstring a(300, L'a');
    const std::wstring b(7, L'b');
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        for (int i = 0; !stop; ++i) label.SetText(i % 2 ? a.c_str() : b.c_str());
    });
    bool whole = true;
    for (int i = 0; i < 20000 && whole; ++i) {
        std::wstring text = label.GetText();
        whole = text.empty() || text == a || text == b;
    }
    stop = true;
    worker.join();
    EXPECT_TRUE(whole);
}

}  // namespace
}  // namespace kestro
