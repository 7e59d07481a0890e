// Portable pieces of our outside libraries: the shared wide string, the call
// record's lines, hand-over message decoding and the full-screen rule.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "outside/common/call_record.h"
#include "outside/common/cstring.h"
#include "outside/hubshell/handover_message.h"
#include "outside/tarnlib/full_screen_rule.h"

namespace kestro {
namespace {

TEST(CString, CopiesShareOneBufferUntilOneOfThemChanges) {
    CString a(L"Kestro");
    CString b = a;
    EXPECT_EQ(a.GetString(), b.GetString());
    EXPECT_EQ(a.RefCount(), 2);
    b += L"/res.data";
    EXPECT_EQ(a, L"Kestro");
    EXPECT_EQ(b, L"Kestro/res.data");
    EXPECT_EQ(a.RefCount(), 1);
    EXPECT_EQ(b.RefCount(), 1);
}

TEST(CString, EmptyAndNullTextsReadAsEmptyStrings) {
    CString empty;
    CString fromNull(static_cast<const wchar_t*>(nullptr));
    EXPECT_STREQ(empty.GetString(), L"");
    EXPECT_TRUE(fromNull.IsEmpty());
    EXPECT_EQ(empty, fromNull);
    CString moved(std::move(empty));
    EXPECT_TRUE(moved.IsEmpty());
    empty = moved;  // assigning to a moved-from string is fine
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(CString, KeysAMapByText) {
    std::map<CString, CString> strings;
    strings[CString(L"FileVersion")] = CString(L"2.1.4.7");
    strings[CString(L"ProductVersion")] = CString(L"3134");
    EXPECT_EQ(strings[CString(L"FileVersion")], L"2.1.4.7");
    EXPECT_TRUE(strings[CString(L"Missing")].IsEmpty());
    EXPECT_EQ(strings.size(), 3u);
}

TEST(CString, SharedBufferSurvivesCopiesOnManyThreads) {
    const CString shared(L"gcapp://open?id=1");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 10000; ++i) {
                CString copy = shared;
                CString again(copy);
                (void)again;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(shared.RefCount(), 1);
    EXPECT_EQ(shared, L"gcapp://open?id=1");
}

TEST(CallRecord, FieldsNeverSplitALineOrAColumn) {
    EXPECT_EQ(FormatRecordLine(42, L"CreateHubshell", {L"30", L"2147", L"2.1.4.7"}),
              L"42\tCreateHubshell\t30\t2147\t2.1.4.7\n");
    EXPECT_EQ(EscapeRecordField(L"a\tb\nc\rd\\e"), L"a\\tb\\nc\\rd\\\\e");
    EXPECT_EQ(FormatRecordLine(7, L"GetApp", {}), L"7\tGetApp\n");
    EXPECT_EQ(FormatRecordLine(7, L"X", {L""}), L"7\tX\t\n");
}

std::string Utf16Bytes(const std::u16string& text, bool withZero) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    if (withZero) bytes.append(2, '\0');
    return bytes;
}

TEST(HandOverMessage, DecodesOneZeroTerminatedUtf16CommandLine) {
    const std::u16string line = u"\"C:\\Kestro\\KestroGC.exe\" \"gcapp://打开?id=1\" -from oneclick";
    const auto decoded = hubshell::DecodeHandOverMessage(Utf16Bytes(line, true));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, line);
    EXPECT_EQ(hubshell::DecodeHandOverMessage(std::string(2, '\0')), std::u16string());
}

TEST(HandOverMessage, RejectsMessagesThatAreNotOneTerminatedText) {
    const std::u16string line = u"gc.exe x";
    EXPECT_FALSE(hubshell::DecodeHandOverMessage(Utf16Bytes(line, false)).has_value());
    EXPECT_FALSE(hubshell::DecodeHandOverMessage(Utf16Bytes(line, true).substr(1)).has_value());
    EXPECT_FALSE(hubshell::DecodeHandOverMessage("").has_value());
    EXPECT_FALSE(hubshell::DecodeHandOverMessage(std::string(1, '\0')).has_value());
    EXPECT_FALSE(hubshell::DecodeHandOverMessage(Utf16Bytes(std::u16string(u"a\0b", 3), true)).has_value());
    EXPECT_FALSE(hubshell::DecodeHandOverMessage(
                     Utf16Bytes(std::u16string(hubshell::kMaxHandOverBytes / 2, u'a'), true))
                     .has_value());
}

TEST(HandOverMessage, GcappLinksAreRecognisedWhateverTheCaseOfTheScheme) {
    EXPECT_TRUE(hubshell::IsGcappLink(u"gcapp://open?id=1"));
    EXPECT_TRUE(hubshell::IsGcappLink(u"GCApp:x"));
    EXPECT_FALSE(hubshell::IsGcappLink(u"gcapp"));
    EXPECT_FALSE(hubshell::IsGcappLink(u"http://gcapp:"));
    EXPECT_FALSE(hubshell::IsGcappLink(u" gcapp:x"));
    EXPECT_EQ(hubshell::HexOf(std::string("\x00\x7f\xff", 3)), "007fff");
}

TEST(FullScreen, WindowCoveringItsWholeMonitorCounts) {
    const tarnlib::Box monitor{0, 0, 1280, 800};
    EXPECT_TRUE(tarnlib::IsFullScreenWindow({0, 0, 1280, 800}, monitor, L"GameWindow"));
    EXPECT_TRUE(tarnlib::IsFullScreenWindow({-8, -8, 1288, 808}, monitor, L"GameWindow"));
    EXPECT_FALSE(tarnlib::IsFullScreenWindow({0, 0, 1280, 760}, monitor, L"GameWindow"));
    EXPECT_FALSE(tarnlib::IsFullScreenWindow({1, 0, 1280, 800}, monitor, L"GameWindow"));
    const tarnlib::Box second{1280, 0, 2560, 1024};
    EXPECT_TRUE(tarnlib::IsFullScreenWindow({1280, 0, 2560, 1024}, second, L"GameWindow"));
    EXPECT_FALSE(tarnlib::IsFullScreenWindow({0, 0, 1280, 800}, second, L"GameWindow"));
}

TEST(FullScreen, DesktopWindowsNeverCount) {
    const tarnlib::Box monitor{0, 0, 1280, 800};
    EXPECT_FALSE(tarnlib::IsFullScreenWindow({0, 0, 1280, 800}, monitor, L"Progman"));
    EXPECT_FALSE(tarnlib::IsFullScreenWindow({0, 0, 1280, 800}, monitor, L"WorkerW"));
    EXPECT_FALSE(tarnlib::IsFullScreenWindow({0, 0, 0, 0}, {0, 0, 0, 0}, L"GameWindow"));
}

}  // namespace
}  // namespace kestro
