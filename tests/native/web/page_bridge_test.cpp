// The page object `external`, exercised by page scripts running in the stand-in
// runtime's renderer, with the messages read where the browser process gets them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "web/cef_app_instance.h"
#include "web/cv8_handler.h"
#include "web/runtime/host/renderer_host.h"

using kestro::standin::Describe;
using kestro::standin::Renderer;
using kestro::standin::ScriptResult;
using kestro::standin::SentMessage;
using kestro::standin::SentValue;

namespace {

class PageBridge : public ::testing::Test {
 protected:
  PageBridge() : app_(new CCefAPPInstance()), renderer_(new Renderer(app_.get())) {}

  std::string Run(int64 frame, const std::string& script) {
    ScriptResult r = renderer_->Run(frame, script);
    EXPECT_TRUE(r.ok) << script << " threw " << r.value;
    return r.value;
  }
  std::vector<std::string> Sent() {
    std::vector<std::string> lines;
    for (const SentMessage& m : renderer_->TakeSent()) lines.push_back(Describe(m));
    return lines;
  }

  CefRefPtr<CCefAPPInstance> app_;
  std::unique_ptr<Renderer> renderer_;
};

typedef std::vector<std::string> Lines;

TEST_F(PageBridge, DownloadCarriesEachArgumentByItsRule) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame, "external.Download('a', 7, true, ['x', 2, 'y'], 1.5, null);");

  std::vector<SentMessage> sent = renderer_->TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  const SentMessage& m = sent[0];
  EXPECT_EQ(m.name, "Download");
  ASSERT_EQ(m.arguments.size(), 6u);
  EXPECT_EQ(m.arguments[0].type, SentValue::Type::kString);
  EXPECT_EQ(m.arguments[0].text, "a");
  EXPECT_EQ(m.arguments[1].type, SentValue::Type::kInt);
  EXPECT_EQ(m.arguments[1].integer, 7);
  EXPECT_EQ(m.arguments[2].type, SentValue::Type::kBool);
  EXPECT_TRUE(m.arguments[2].boolean);
  ASSERT_EQ(m.arguments[3].type, SentValue::Type::kList);
  ASSERT_EQ(m.arguments[3].list.size(), 3u);
  EXPECT_EQ(m.arguments[3].list[0].text, "x");
  EXPECT_EQ(m.arguments[3].list[1].type, SentValue::Type::kNone);
  EXPECT_EQ(m.arguments[3].list[2].text, "y");
  EXPECT_EQ(m.arguments[4].type, SentValue::Type::kNone);
  EXPECT_EQ(m.arguments[5].type, SentValue::Type::kNone);
}

TEST_F(PageBridge, EveryFunctionSendsAMessageOfItsOwnName) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  EXPECT_EQ(Run(frame, "var names = []; for (var k in external) names.push(k); names.join(',');"),
            "NewWindow,GetDeviceList,GetResourceInfo,Install,Download,DownloadAndInstall,DownloadPause,"
            "DownloadResume,DownloadCancel,DownloadOpen,OpenLoginWnd,OpenIosPlayer,refreshlmaccount,closewindow");
  Run(frame, "for (var k in external) external[k](k);");
  Lines sent = Sent();
  ASSERT_EQ(sent.size(), 14u);
  EXPECT_EQ(sent[0], "NewWindow(\"NewWindow\")");
  EXPECT_EQ(sent[12], "refreshlmaccount(\"refreshlmaccount\")");
  EXPECT_EQ(sent[13], "closewindow(\"closewindow\")");
}

TEST_F(PageBridge, CallWithoutArgumentsSendsAnEmptyList) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame, "external.closewindow();");
  EXPECT_EQ(Sent(), Lines{"closewindow()"});
}

TEST_F(PageBridge, NamesAreCaseSensitive) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  EXPECT_EQ(Run(frame, "typeof external.closeWindow + ' ' + typeof external.CloseWindow + ' ' + "
                       "typeof external.download + ' ' + typeof external.closewindow"),
            "undefined undefined undefined function");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(PageBridge, ObjectArgumentsBecomeListsOfTheirStringElements) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame,
      "external.Install({length: 2, 0: 'p', 1: 'q'});"
      "external.Install({0: 'p', 1: 'q'});"
      "external.Install({length: -3, 0: 'p'});"
      "external.Install({length: '2', 0: 'p'});"
      "external.Install({length: 2.9, 0: 'p', 1: 'q', 2: 'r'});"
      "external.Install({length: true, 0: 'p'});"
      "external.Install({length: 3, 0: 'p', 1: 5, 2: [1]});"
      "external.Install(['a', 'b', 'c']);"
      "external.Install([]);");
  EXPECT_EQ(Sent(), (Lines{"Install([\"p\", \"q\"])", "Install([])", "Install([])", "Install([])", "Install([])",
                           "Install([])", "Install([\"p\"])", "Install([\"a\", \"b\", \"c\"])", "Install([])"}));
}

TEST_F(PageBridge, ListEndsAtItsLastStringElement) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame, "external.Install(['a', 'b', 3, null]);");
  EXPECT_EQ(Sent(), Lines{"Install([\"a\", \"b\"])"});
}

TEST_F(PageBridge, ObjectLengthUpToTheCapIsRead) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame, "external.Download({length: 65536, 0: 'first', 65535: 'last', 65536: 'beyond'});");
  std::vector<SentMessage> sent = renderer_->TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].arguments.size(), 1u);
  const std::vector<SentValue>& list = sent[0].arguments[0].list;
  ASSERT_EQ(list.size(), 65536u);
  EXPECT_EQ(list.front().text, "first");
  EXPECT_EQ(list.back().text, "last");
}

TEST_F(PageBridge, ThrowingPropertiesCountAsNoValue) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame,
      "var o = {length: 3, 0: 'a', 2: 'c'};"
      "Object.defineProperty(o, '1', {get: function () { throw new Error('no'); }});"
      "var bad = {};"
      "Object.defineProperty(bad, 'length', {get: function () { throw new Error('no'); }});"
      "var threw = false;"
      "try { external.Download(o, bad); } catch (e) { threw = true; }"
      "threw;");
  EXPECT_EQ(Sent(), Lines{"Download([\"a\", null, \"c\"], [])"});
}

// A number is judged by its value, never by the runtime's integer checks
// (true for both integer kinds alike): a whole number in the signed 32-bit
// range is an integer entry, any other number none. As the "length" of an
// object, only a whole number from 0 to the cap reads elements; anything else
// reads none, so the element 'a' shows whether index 0 was read.
TEST_F(PageBridge, NumbersCarryAValueOnlyAsWholeSigned32BitValues) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  const struct {
    const char* number;
    const char* entry;
    const char* list;
  } rows[] = {
      {"-1", "-1", "[]"},
      {"-Math.pow(2, 31)", "-2147483648", "[]"},
      {"Math.pow(2, 31) - 1", "2147483647", "[]"},
      {"Math.pow(2, 31)", "null", "[]"},
      {"Math.pow(2, 32) - 1", "null", "[]"},
      {"Math.pow(2, 32)", "null", "[]"},
      {"-Math.pow(2, 31) - 1", "null", "[]"},
      {"1.5", "null", "[]"},
      {"-0", "0", "[]"},
      {"NaN", "null", "[]"},
      {"Infinity", "null", "[]"},
      {"1e20", "null", "[]"},
      {"0", "0", "[]"},
      {"1", "1", "[\"a\"]"},
      {"65536", "65536", "[\"a\"]"},
      {"65537", "65537", "[]"},
  };
  for (const auto& row : rows) {
    const std::string n = row.number;
    Run(frame, "external.Download(" + n + ", {length: " + n + ", 0: 'a'});");
    EXPECT_EQ(Sent(), Lines{"Download(" + std::string(row.entry) + ", " + row.list + ")"}) << n;
  }
}

TEST_F(PageBridge, OtherValuesCarryNoValue) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame, "external.GetResourceInfo(undefined, null, 0.25, function () { return 1; }, NaN, false, '');");
  EXPECT_EQ(Sent(), Lines{"GetResourceInfo(null, null, null, null, null, false, \"\")"});
}

TEST_F(PageBridge, TextOutsideAsciiArrivesUnchanged) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame, "external.NewWindow('\\u6e38\\u620f\\u4e2d\\u5fc3', ['\\ud83c\\udfae']);");
  EXPECT_EQ(Sent(), Lines{"NewWindow(\"游戏中心\", [\"🎮\"])"});
}

TEST_F(PageBridge, EveryCallReturnsUndefinedAndThrowsNothing) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  const char* probe =
      "var seen = [];"
      "for (var k in external) {"
      "  try { seen.push(String(external[k]('x', {length: 1, 0: 'y'}))); }"
      "  catch (e) { seen.push('threw ' + e); }"
      "}"
      "seen.join(',');";
  std::string undefined14 = "undefined";
  for (int i = 1; i < 14; ++i) undefined14 += ",undefined";
  EXPECT_EQ(Run(frame, probe), undefined14);
  EXPECT_EQ(Sent().size(), 14u);

  // Without a browser the calls are dropped, still silently.
  app_->OnBrowserDestroyed(nullptr);
  EXPECT_EQ(Run(frame, probe), undefined14);
  EXPECT_TRUE(Sent().empty());
}

// A browser whose messages never get through.
class DeadBrowser : public CefBrowser {
 public:
  int GetIdentifier() override { return 99; }
  bool IsSame(CefRefPtr<CefBrowser> that) override { return that.get() == this; }
  bool IsPopup() override { return false; }
  CefRefPtr<CefFrame> GetMainFrame() override { return nullptr; }
  size_t GetFrameCount() override { return 0; }
  bool SendProcessMessage(CefProcessId, CefRefPtr<CefProcessMessage>) override { return false; }
  IMPLEMENT_REFCOUNTING(DeadBrowser);
};

TEST_F(PageBridge, FailedSendIsReportedToTheRuntimeButNotToThePage) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  app_->OnBrowserCreated(new DeadBrowser());
  EXPECT_FALSE(app_->SendFunctionCall("Download", CefV8ValueList()));
  EXPECT_EQ(Run(frame, "try { String(external.Download('a')); } catch (e) { 'threw ' + e; }"), "undefined");
  EXPECT_TRUE(Sent().empty());
}

TEST_F(PageBridge, HandlerWithoutApplicationAcceptsCalls) {
  CefRefPtr<CCV8Handler> handler = new CCV8Handler(nullptr);
  CefRefPtr<CefV8Value> retval;
  CefString exception;
  EXPECT_TRUE(handler->Execute("Download", nullptr, CefV8ValueList(), retval, exception));
  EXPECT_FALSE(retval.get());
  EXPECT_TRUE(exception.empty());
}

TEST_F(PageBridge, SubFrameGetsItsOwnExternal) {
  int browser = renderer_->CreateBrowser();
  int64 main = renderer_->MainFrame(browser);
  int64 sub = renderer_->CreateSubFrame(browser, "ads");
  Run(main, "external.marker = 'main';");
  EXPECT_EQ(Run(sub, "typeof external.marker + ' ' + typeof external.Download"), "undefined function");
  Run(sub, "external.DownloadPause('from sub');");
  Run(main, "external.DownloadResume('from main');");
  std::vector<SentMessage> sent = renderer_->TakeSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(Describe(sent[0]), "DownloadPause(\"from sub\")");
  EXPECT_EQ(Describe(sent[1]), "DownloadResume(\"from main\")");
  EXPECT_EQ(sent[0].browser_id, browser);
  EXPECT_EQ(sent[1].browser_id, browser);
}

TEST_F(PageBridge, NavigationInstallsAFreshExternal) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  Run(frame, "external = 1;");
  ASSERT_TRUE(renderer_->Navigate(frame));
  Run(frame, "external.OpenLoginWnd();");
  EXPECT_EQ(Sent(), Lines{"OpenLoginWnd()"});
}

TEST_F(PageBridge, CallsGoThroughTheBrowserCreatedLast) {
  int first = renderer_->CreateBrowser();
  int second = renderer_->CreateBrowser();
  Run(renderer_->MainFrame(first), "external.OpenIosPlayer('one');");
  Run(renderer_->MainFrame(second), "external.OpenIosPlayer('two');");
  std::vector<SentMessage> sent = renderer_->TakeSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].browser_id, second);
  EXPECT_EQ(sent[1].browser_id, second);
}

TEST_F(PageBridge, DestroyingEitherBrowserStopsTheBridgeUntilTheNextOne) {
  for (bool destroy_first : {true, false}) {
    SCOPED_TRACE(destroy_first ? "first destroyed" : "second destroyed");
    int first = renderer_->CreateBrowser();
    int second = renderer_->CreateBrowser();
    int64 survivor = renderer_->MainFrame(destroy_first ? second : first);
    ASSERT_TRUE(renderer_->DestroyBrowser(destroy_first ? first : second));
    Run(survivor, "external.GetDeviceList();");
    EXPECT_TRUE(Sent().empty());

    int third = renderer_->CreateBrowser();
    Run(survivor, "external.GetDeviceList();");
    std::vector<SentMessage> sent = renderer_->TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].browser_id, third);
    renderer_->DestroyBrowser(destroy_first ? second : first);
    renderer_->DestroyBrowser(third);
  }
}

TEST_F(PageBridge, FunctionsAreReadOnlyButExternalIsReplaceable) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  EXPECT_EQ(Run(frame, "external.Download = 5; typeof external.Download"), "function");
  EXPECT_EQ(Run(frame, "'use strict'; try { external.Download = 5; 'assigned'; } catch (e) { e.name; }"),
            "TypeError");
  Run(frame, "external.Download('still');");
  EXPECT_EQ(Sent(), Lines{"Download(\"still\")"});

  EXPECT_EQ(Run(frame, "external = {Download: function () { return 'page'; }}; external.Download()"), "page");
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(Run(frame, "delete external; typeof external"), "undefined");
}

}  // namespace
