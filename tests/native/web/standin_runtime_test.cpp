// The stand-in browser runtime itself: what the web sub-process relies on it for.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "include/cef_app.h"
#include "include/cef_v8.h"
#include "include/cef_values.h"
#include "web/runtime/host/renderer_host.h"

using kestro::standin::Describe;
using kestro::standin::Renderer;
using kestro::standin::ScriptResult;

namespace {

class Counted : public CefBase {
 public:
  explicit Counted(std::atomic<int>* deleted) : deleted_(deleted) {}
  ~Counted() override { deleted_->fetch_add(1); }

 private:
  std::atomic<int>* deleted_;
  IMPLEMENT_REFCOUNTING(Counted);
};

TEST(StandInRuntime, ObjectIsFreedWhenTheLastReferenceGoes) {
  std::atomic<int> deleted{0};
  CefRefPtr<Counted> a = new Counted(&deleted);
  CefRefPtr<Counted> b = a;
  EXPECT_EQ(a->GetRefCt(), 2);
  a = nullptr;
  EXPECT_EQ(deleted.load(), 0);
  b = nullptr;
  EXPECT_EQ(deleted.load(), 1);
}

TEST(StandInRuntime, ReferencesCountedFromManyThreadsFreeOnce) {
  std::atomic<int> deleted{0};
  Counted* object = new Counted(&deleted);
  object->AddRef();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([object] {
      for (int i = 0; i < 20000; ++i) {
        object->AddRef();
        object->Release();
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(object->GetRefCt(), 1);
  EXPECT_EQ(deleted.load(), 0);
  object->Release();
  EXPECT_EQ(deleted.load(), 1);
}

TEST(StandInRuntime, ListGrowsToTheIndexSet) {
  CefRefPtr<CefListValue> list = CefListValue::Create();
  EXPECT_TRUE(list->SetString(2, "z"));
  ASSERT_EQ(list->GetSize(), 3u);
  EXPECT_EQ(list->GetType(0), VTYPE_NULL);
  EXPECT_EQ(list->GetType(2), VTYPE_STRING);
  EXPECT_EQ(list->GetString(2).ToString(), "z");
  EXPECT_FALSE(list->SetInt(-1, 1));
  EXPECT_FALSE(list->SetList(0, list));
  list->SetSize(1);
  EXPECT_EQ(list->GetSize(), 1u);
  EXPECT_EQ(list->GetType(2), VTYPE_INVALID);
}

TEST(StandInRuntime, StringsKeepCharactersBeyondTheBasicPlane) {
  CefString s(std::string("a\xE6\xB8\xB8\xF0\x9F\x8E\xAE"));
  EXPECT_EQ(s.length(), 4u);  // a, one BMP character, one surrogate pair
  EXPECT_EQ(s.ToString(), "a\xE6\xB8\xB8\xF0\x9F\x8E\xAE");
  EXPECT_EQ(CefString(s.ToWString()), s);
}

// Records what the renderer announces and binds a probe function and a
// read-only and an accessor property in every context.
class RecordingApp : public CefApp, public CefRenderProcessHandler {
 public:
  class Probe : public CefV8Handler {
   public:
    explicit Probe(RecordingApp* app) : app_(app) {}
    bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                 CefRefPtr<CefV8Value>& retval, CefString& exception) override {
      std::string line = name.ToString() + ":" + std::to_string(arguments.size());
      if (!arguments.empty() && arguments[0]->IsString()) {
        std::string what = arguments[0]->GetStringValue().ToString();
        if (what == "throw") {
          exception = "asked to throw";
          return true;
        }
        if (what == "decline") return false;
        if (what == "this") {
          retval = object->GetValue("tag");
          return true;
        }
      }
      app_->events.push_back(line);
      retval = CefV8Value::CreateInt(static_cast<int>(arguments.size()));
      return true;
    }
    RecordingApp* app_;
    IMPLEMENT_REFCOUNTING(Probe);
  };

  class Accessor : public CefV8Accessor {
   public:
    bool Get(const CefString& name, const CefRefPtr<CefV8Value> object, CefRefPtr<CefV8Value>& retval,
             CefString& exception) override {
      retval = CefV8Value::CreateString("got " + name.ToString() + " " + stored);
      return true;
    }
    bool Set(const CefString& name, const CefRefPtr<CefV8Value> object, const CefRefPtr<CefV8Value> value,
             CefString& exception) override {
      if (!value->IsString()) {
        exception = "strings only";
        return true;
      }
      stored = value->GetStringValue().ToString();
      return true;
    }
    std::string stored;
    IMPLEMENT_REFCOUNTING(Accessor);
  };

  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
  void OnBrowserCreated(CefRefPtr<CefBrowser> browser) override {
    events.push_back("browser+" + std::to_string(browser->GetIdentifier()));
  }
  void OnBrowserDestroyed(CefRefPtr<CefBrowser> browser) override {
    events.push_back("browser-" + std::to_string(browser->GetIdentifier()));
  }
  void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                        CefRefPtr<CefV8Context> context) override {
    events.push_back(std::string(frame->IsMain() ? "main" : "sub") + "+" + std::to_string(browser->GetIdentifier()));
    EXPECT_TRUE(CefV8Context::GetCurrentContext()->IsSame(context));
    CefRefPtr<CefV8Value> global = context->GetGlobal();
    global->SetValue("probe", CefV8Value::CreateFunction("probe", new Probe(this)), V8_PROPERTY_ATTRIBUTE_NONE);
    global->SetValue("fixed", CefV8Value::CreateString("f"), V8_PROPERTY_ATTRIBUTE_READONLY);
    global->SetValue("hidden", CefV8Value::CreateInt(1), V8_PROPERTY_ATTRIBUTE_DONTENUM);
    global->SetValue("kept", CefV8Value::CreateBool(true), V8_PROPERTY_ATTRIBUTE_DONTDELETE);
    CefRefPtr<CefV8Value> holder = CefV8Value::CreateObject(new Accessor());
    holder->SetValue("prop", V8_ACCESS_CONTROL_DEFAULT, V8_PROPERTY_ATTRIBUTE_NONE);
    holder->SetValue("tag", CefV8Value::CreateString("holder"), V8_PROPERTY_ATTRIBUTE_NONE);
    holder->SetValue("probe", CefV8Value::CreateFunction("probe", new Probe(this)), V8_PROPERTY_ATTRIBUTE_NONE);
    global->SetValue("holder", holder, V8_PROPERTY_ATTRIBUTE_NONE);
    if (extra.get()) global->SetValue("check", CefV8Value::CreateFunction("check", extra), V8_PROPERTY_ATTRIBUTE_NONE);
  }
  void OnContextReleased(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                         CefRefPtr<CefV8Context> context) override {
    events.push_back(std::string(frame->IsMain() ? "main" : "sub") + "-");
  }

  std::vector<std::string> events;
  CefRefPtr<CefV8Handler> extra;
  IMPLEMENT_REFCOUNTING(RecordingApp);
};

class StandInScripts : public ::testing::Test {
 protected:
  StandInScripts() : app_(new RecordingApp()), renderer_(new Renderer(app_.get())) {}
  std::string Run(int64 frame, const std::string& script) {
    ScriptResult r = renderer_->Run(frame, script);
    return (r.ok ? "" : "threw ") + r.value;
  }
  CefRefPtr<RecordingApp> app_;
  std::unique_ptr<Renderer> renderer_;
};

TEST_F(StandInScripts, RendererAnnouncesBrowsersAndAContextPerFrame) {
  int b1 = renderer_->CreateBrowser();
  renderer_->CreateSubFrame(b1, "child");
  int b2 = renderer_->CreateBrowser();
  ASSERT_TRUE(renderer_->Navigate(renderer_->MainFrame(b2)));
  renderer_->DestroyBrowser(b1);
  EXPECT_EQ(app_->events, (std::vector<std::string>{"browser+1", "main+1", "sub+1", "browser+2", "main+2", "main-",
                                                    "main+2", "sub-", "main-", "browser-1"}));
  EXPECT_EQ(renderer_->MainFrame(b1), 0);
  EXPECT_TRUE(renderer_->Run(renderer_->MainFrame(b2), "1").ok);
}

TEST_F(StandInScripts, FramesHaveSeparateGlobals) {
  int b = renderer_->CreateBrowser();
  int64 main = renderer_->MainFrame(b);
  int64 sub = renderer_->CreateSubFrame(b, "child");
  EXPECT_EQ(Run(main, "var x = 1; typeof x"), "number");
  EXPECT_EQ(Run(sub, "typeof x"), "undefined");
}

TEST_F(StandInScripts, ScriptFunctionsCallTheBoundHandler) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  EXPECT_EQ(Run(frame, "probe(1, 'two', [3])"), "3");
  EXPECT_EQ(Run(frame, "try { probe('throw'); 'no'; } catch (e) { e.message; }"), "asked to throw");
  EXPECT_EQ(Run(frame, "String(probe('decline'))"), "undefined");
  EXPECT_EQ(Run(frame, "holder.probe('this')"), "holder");
  EXPECT_EQ(app_->events.back(), "probe:3");
}

TEST_F(StandInScripts, PropertyAttributesHold) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  EXPECT_EQ(Run(frame, "fixed = 'changed'; fixed"), "f");
  EXPECT_EQ(Run(frame, "Object.keys(this).indexOf('hidden') + ' ' + hidden"), "-1 1");
  EXPECT_EQ(Run(frame, "delete kept; typeof kept"), "boolean");
  EXPECT_EQ(Run(frame, "delete fixed; typeof fixed"), "undefined");
}

TEST_F(StandInScripts, AccessorPropertiesCallTheAccessor) {
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  EXPECT_EQ(Run(frame, "holder.prop = 'v'; holder.prop"), "got prop v");
  EXPECT_EQ(Run(frame, "try { holder.prop = 3; 'no'; } catch (e) { e.message; }"), "strings only");
}

// Reports how the runtime classifies its arguments, one letter per check.
class TypeCheck : public CefV8Handler {
 public:
  bool Execute(const CefString&, CefRefPtr<CefV8Value>, const CefV8ValueList& a, CefRefPtr<CefV8Value>& retval,
               CefString&) override {
    if (a.size() < 9) return false;
    std::string r;
    r += a[0]->IsInt() && a[0]->IsUInt() && a[0]->GetIntValue() == 5 ? "i" : "-";
    r += a[1]->IsUInt() && a[1]->GetUIntValue() == 4000000000u ? "u" : "-";
    r += !a[2]->IsInt() && a[2]->IsDouble() && a[2]->GetDoubleValue() == 0.5 ? "d" : "-";
    r += a[3]->IsArray() && a[3]->IsObject() && a[3]->GetArrayLength() == 2 ? "a" : "-";
    r += a[4]->IsFunction() && a[4]->IsObject() && !a[4]->IsArray() ? "f" : "-";
    r += a[5]->IsDate() && a[5]->IsObject() && !a[3]->IsDate() ? "t" : "-";
    r += a[6]->IsNull() && a[7]->IsUndefined() && !a[6]->IsObject() ? "n" : "-";
    r += a[8]->IsSame(a[8]) && !a[8]->IsSame(a[3]) ? "s" : "-";
    std::vector<CefString> keys;
    r += a[8]->GetKeys(keys) && keys.size() == 2 && keys[1] == CefString("q") ? "k" : "-";
    r += a[8]->HasValue("p") && a[8]->DeleteValue("p") && !a[8]->HasValue("p") ? "h" : "-";
    CefRefPtr<CefV8Value> arr = CefV8Value::CreateArray(2);
    r += arr.get() && arr->SetValue(0, a[8]) && arr->GetValue(0)->IsSame(a[8]) ? "c" : "-";
    if (arr.get()) arr->SetValue(1, CefV8Value::CreateString(r));
    retval = arr;
    return true;
  }
  IMPLEMENT_REFCOUNTING(TypeCheck);
};

TEST_F(StandInScripts, ScriptValuesAreWrappedWithTheirTypes) {
  app_->extra = new TypeCheck();
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  EXPECT_EQ(Run(frame,
                "var o = {p: 1, q: 2};"
                "var r = check(5, 4000000000, 0.5, [1, 2], function () {}, new Date(0), null, undefined, o);"
                "r[1] + ' ' + (r[0] === o) + ' ' + ('p' in o)"),
            "iudaftnskhc true false");
  EXPECT_EQ(Run(frame, "String(check())"), "undefined");
}

// How a number answers every number query: the three kind checks as letters,
// then the int, uint and double getters.
std::string DescribeNumber(CefRefPtr<CefV8Value> v) {
  std::string r;
  r += v->IsInt() ? "i" : "-";
  r += v->IsUInt() ? "u" : "-";
  r += v->IsDouble() ? "d" : "-";
  char real[32];
  const double d = v->GetDoubleValue();
  std::snprintf(real, sizeof real, "%.17g", d);
  return r + " " + std::to_string(v->GetIntValue()) + " " + std::to_string(v->GetUIntValue()) + " " +
         (std::isnan(d) ? std::string("NaN") : std::string(real));
}

class NumberProbe : public CefV8Handler {
 public:
  bool Execute(const CefString&, CefRefPtr<CefV8Value>, const CefV8ValueList& a, CefRefPtr<CefV8Value>& retval,
               CefString&) override {
    if (a.size() != 1) return false;
    retval = CefV8Value::CreateString(DescribeNumber(a[0]));
    return true;
  }
  IMPLEMENT_REFCOUNTING(NumberProbe);
};

// The runtime generation's rules: a script number is an int when it fits,
// else a uint, else a double; the two integer kinds share one 32-bit store
// and answer to both integer checks.
TEST_F(StandInScripts, NumbersAnswerAsTheRuntimeGenerationDoes) {
  app_->extra = new NumberProbe();
  int64 frame = renderer_->MainFrame(renderer_->CreateBrowser());
  const struct {
    const char* script;
    const char* expected;
  } rows[] = {
      {"-1", "iud -1 4294967295 -1"},
      {"-Math.pow(2, 31)", "iud -2147483648 2147483648 -2147483648"},
      {"Math.pow(2, 31) - 1", "iud 2147483647 2147483647 2147483647"},
      {"Math.pow(2, 31)", "iud -2147483648 2147483648 2147483648"},
      {"Math.pow(2, 32) - 1", "iud -1 4294967295 4294967295"},
      {"4000000000", "iud -294967296 4000000000 4000000000"},
      {"Math.pow(2, 32)", "--d 0 0 4294967296"},
      {"-Math.pow(2, 31) - 1", "--d 0 0 -2147483649"},
      {"1.5", "--d 0 0 1.5"},
      {"-0", "--d 0 0 -0"},
      {"NaN", "--d 0 0 NaN"},
      {"true", "--- 0 0 0"},
      {"'7'", "--- 0 0 0"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Run(frame, std::string("check(") + row.script + ")"), row.expected) << row.script;
  }
  // Values made natively keep the kind they were made as, whole doubles included.
  EXPECT_EQ(DescribeNumber(CefV8Value::CreateInt(-1)), "iud -1 4294967295 -1");
  EXPECT_EQ(DescribeNumber(CefV8Value::CreateUInt(4294967295u)), "iud -1 4294967295 4294967295");
  EXPECT_EQ(DescribeNumber(CefV8Value::CreateDouble(5)), "--d 0 0 5");
}

TEST_F(StandInScripts, ObjectsNeedACurrentContext) {
  renderer_->CreateBrowser();
  EXPECT_FALSE(CefV8Value::CreateObject(nullptr).get());
  EXPECT_FALSE(CefV8Value::CreateFunction("f", new TypeCheck()).get());
  EXPECT_FALSE(CefV8Value::CreateArray(0).get());
  EXPECT_FALSE(CefV8Context::InContext());
}

TEST(StandInProcess, ProcessMessagesOnlyGoToTheBrowserProcess) {
  class App : public CefApp, public CefRenderProcessHandler {
   public:
    CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
    void OnBrowserCreated(CefRefPtr<CefBrowser> b) override { browser = b; }
    void OnBrowserDestroyed(CefRefPtr<CefBrowser>) override { browser = nullptr; }
    CefRefPtr<CefBrowser> browser;
    IMPLEMENT_REFCOUNTING(App);
  };
  CefRefPtr<App> app = new App();
  Renderer renderer(app.get());
  renderer.CreateBrowser();
  CefRefPtr<CefBrowser> browser = app->browser;
  ASSERT_TRUE(browser.get());
  CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create("Ping");
  message->GetArgumentList()->SetDouble(0, 2.5);
  CefRefPtr<CefListValue> nested = CefListValue::Create();
  nested->SetBool(1, false);
  message->GetArgumentList()->SetList(1, nested);
  EXPECT_FALSE(browser->SendProcessMessage(PID_RENDERER, message));
  EXPECT_TRUE(browser->SendProcessMessage(PID_BROWSER, message));
  std::vector<kestro::standin::SentMessage> sent = renderer.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(Describe(sent[0]), "Ping(2.5000000000000000, [null, false])");
  renderer.DestroyBrowser(browser->GetIdentifier());
  EXPECT_FALSE(browser->SendProcessMessage(PID_BROWSER, message)) << "a destroyed browser sends nothing";
}

}  // namespace
