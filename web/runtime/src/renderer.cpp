#include <cstdio>
#include <map>
#include <memory>

#include "web/runtime/host/renderer_host.h"
#include "web/runtime/src/v8_context.h"

namespace kestro {
namespace standin {

namespace {

typedef std::vector<SentMessage> Sink;

SentValue ToSent(CefRefPtr<CefListValue> list, int index, int depth);

std::vector<SentValue> ListToSent(CefRefPtr<CefListValue> list, int depth) {
    std::vector<SentValue> out;
    size_t size = list->GetSize();
    for (size_t i = 0; i < size; ++i) out.push_back(ToSent(list, static_cast<int>(i), depth));
    return out;
}

SentValue ToSent(CefRefPtr<CefListValue> list, int index, int depth) {
    SentValue v;
    switch (list->GetType(index)) {
        case VTYPE_BOOL:
            v.type = SentValue::Type::kBool;
            v.boolean = list->GetBool(index);
            break;
        case VTYPE_INT:
            v.type = SentValue::Type::kInt;
            v.integer = list->GetInt(index);
            break;
        case VTYPE_DOUBLE:
            v.type = SentValue::Type::kDouble;
            v.real = list->GetDouble(index);
            break;
        case VTYPE_STRING:
            v.type = SentValue::Type::kString;
            v.text = list->GetString(index).ToString();
            break;
        case VTYPE_LIST:
            // Lists nest only as deep as a message can be serialized.
            if (depth < 100) {
                v.type = SentValue::Type::kList;
                v.list = ListToSent(list->GetList(index), depth + 1);
            }
            break;
        default: break;
    }
    return v;
}

class FrameImpl;

class BrowserImpl : public CefBrowser {
public:
    BrowserImpl(int id, std::shared_ptr<Sink> sink) : id_(id), sink_(sink) {}

    int GetIdentifier() override { return id_; }
    bool IsSame(CefRefPtr<CefBrowser> that) override { return that.get() == this; }
    bool IsPopup() override { return false; }
    CefRefPtr<CefFrame> GetMainFrame() override;
    size_t GetFrameCount() override { return frames_.size(); }

    bool SendProcessMessage(CefProcessId target_process, CefRefPtr<CefProcessMessage> message) override {
        // A renderer talks only to the browser process, and only while its browser lives.
        if (target_process != PID_BROWSER || !message.get() || closed_) return false;
        SentMessage sent;
        sent.browser_id = id_;
        sent.name = message->GetName().ToString();
        sent.arguments = ListToSent(message->GetArgumentList(), 0);
        sink_->push_back(sent);
        return true;
    }

    std::vector<CefRefPtr<FrameImpl> >& frames() { return frames_; }
    void Close() { closed_ = true; }

private:
    int id_;
    bool closed_ = false;
    std::shared_ptr<Sink> sink_;
    std::vector<CefRefPtr<FrameImpl> > frames_;

    IMPLEMENT_REFCOUNTING(BrowserImpl);
};

class FrameImpl : public CefFrame {
public:
    FrameImpl(int64 id, bool is_main, const std::string& name, BrowserImpl* browser)
        : id_(id), is_main_(is_main), name_(name), browser_(browser) {}

    bool IsValid() override { return browser_ != nullptr; }
    bool IsMain() override { return is_main_; }
    bool IsFocused() override { return is_main_; }
    CefString GetName() override { return name_; }
    int64 GetIdentifier() override { return id_; }
    CefRefPtr<CefFrame> GetParent() override { return is_main_ || !browser_ ? nullptr : browser_->GetMainFrame(); }
    CefString GetURL() override { return "about:blank"; }
    CefRefPtr<CefBrowser> GetBrowser() override { return browser_; }
    CefRefPtr<CefV8Context> GetV8Context() override { return context_.get(); }

    CefRefPtr<V8ContextImpl> context() { return context_; }
    void set_context(CefRefPtr<V8ContextImpl> context) { context_ = context; }
    // The browser owns its frames; a frame's back pointer ends with it.
    void Detach() {
        browser_ = nullptr;
        context_ = nullptr;
    }

private:
    int64 id_;
    bool is_main_;
    std::string name_;
    BrowserImpl* browser_;
    CefRefPtr<V8ContextImpl> context_;

    IMPLEMENT_REFCOUNTING(FrameImpl);
};

CefRefPtr<CefFrame> BrowserImpl::GetMainFrame() { return frames_.empty() ? nullptr : frames_.front().get(); }

}  // namespace

struct Renderer::State {
    CefRefPtr<CefApp> app;
    CefRefPtr<CefRenderProcessHandler> handler;
    std::shared_ptr<Sink> sink = std::make_shared<Sink>();
    std::map<int, CefRefPtr<BrowserImpl> > browsers;
    int next_browser_id = 1;
    int64 next_frame_id = 1;

    FrameImpl* FindFrame(int64 frame_id, BrowserImpl** owner) {
        for (auto& b : browsers) {
            for (auto& f : b.second->frames()) {
                if (f->GetIdentifier() == frame_id) {
                    if (owner) *owner = b.second.get();
                    return f.get();
                }
            }
        }
        return nullptr;
    }

    // A new context for |frame|, announced with the context entered, as the
    // renderer does before any page script runs.
    void CreateContext(BrowserImpl* browser, FrameImpl* frame) {
        CefRefPtr<V8ContextImpl> context = new V8ContextImpl(browser, frame);
        frame->set_context(context);
        if (!handler.get() || !context->Enter()) return;
        handler->OnContextCreated(browser, frame, context.get());
        context->Exit();
    }

    void ReleaseContext(BrowserImpl* browser, FrameImpl* frame) {
        CefRefPtr<V8ContextImpl> context = frame->context();
        if (!context.get()) return;
        if (handler.get() && context->Enter()) {
            handler->OnContextReleased(browser, frame, context.get());
            context->Exit();
        }
        context->Invalidate();
        frame->set_context(nullptr);
    }
};

Renderer::Renderer(CefRefPtr<CefApp> app) : state_(new State) {
    state_->app = app;
    if (app.get()) state_->handler = app->GetRenderProcessHandler();
    if (state_->handler.get()) {
        state_->handler->OnRenderThreadCreated(CefListValue::Create());
        state_->handler->OnWebKitInitialized();
    }
}

Renderer::~Renderer() {
    while (!state_->browsers.empty()) DestroyBrowser(state_->browsers.begin()->first);
}

int Renderer::CreateBrowser() {
    int id = state_->next_browser_id++;
    CefRefPtr<BrowserImpl> browser = new BrowserImpl(id, state_->sink);
    state_->browsers[id] = browser;
    if (state_->handler.get()) state_->handler->OnBrowserCreated(browser.get());
    CefRefPtr<FrameImpl> main = new FrameImpl(state_->next_frame_id++, true, std::string(), browser.get());
    browser->frames().push_back(main);
    state_->CreateContext(browser.get(), main.get());
    return id;
}

int64 Renderer::MainFrame(int browser_id) {
    auto it = state_->browsers.find(browser_id);
    if (it == state_->browsers.end() || it->second->frames().empty()) return 0;
    return it->second->frames().front()->GetIdentifier();
}

int64 Renderer::CreateSubFrame(int browser_id, const std::string& name) {
    auto it = state_->browsers.find(browser_id);
    if (it == state_->browsers.end()) return 0;
    BrowserImpl* browser = it->second.get();
    CefRefPtr<FrameImpl> frame = new FrameImpl(state_->next_frame_id++, false, name, browser);
    browser->frames().push_back(frame);
    state_->CreateContext(browser, frame.get());
    return frame->GetIdentifier();
}

bool Renderer::Navigate(int64 frame_id) {
    BrowserImpl* browser = nullptr;
    FrameImpl* frame = state_->FindFrame(frame_id, &browser);
    if (!frame) return false;
    CefRefPtr<FrameImpl> keep = frame;
    state_->ReleaseContext(browser, frame);
    state_->CreateContext(browser, frame);
    return true;
}

bool Renderer::DestroyBrowser(int browser_id) {
    auto it = state_->browsers.find(browser_id);
    if (it == state_->browsers.end()) return false;
    CefRefPtr<BrowserImpl> browser = it->second;
    state_->browsers.erase(it);
    // Sub-frames go before the main frame, as a page tears down.
    for (auto f = browser->frames().rbegin(); f != browser->frames().rend(); ++f) {
        state_->ReleaseContext(browser.get(), f->get());
    }
    if (state_->handler.get()) state_->handler->OnBrowserDestroyed(browser.get());
    browser->Close();
    for (auto& f : browser->frames()) f->Detach();
    browser->frames().clear();
    return true;
}

ScriptResult Renderer::Run(int64 frame_id, const std::string& script) {
    FrameImpl* frame = state_->FindFrame(frame_id, nullptr);
    CefRefPtr<V8ContextImpl> context = frame ? frame->context() : nullptr;
    if (!context.get()) {
        ScriptResult none;
        none.value = "no such frame";
        return none;
    }
    return context->Run(script);
}

std::vector<SentMessage> Renderer::TakeSent() {
    std::vector<SentMessage> taken;
    taken.swap(*state_->sink);
    return taken;
}

std::string Describe(const SentValue& value) {
    switch (value.type) {
        case SentValue::Type::kBool: return value.boolean ? "true" : "false";
        case SentValue::Type::kInt: return std::to_string(value.integer);
        case SentValue::Type::kDouble: {
            char buf[40];
            std::snprintf(buf, sizeof buf, "%#.17g", value.real);
            return buf;
        }
        case SentValue::Type::kString: {
            std::string out = "\"";
            for (char c : value.text) {
                if (c == '"' || c == '\\') out.push_back('\\');
                out.push_back(c);
            }
            return out + "\"";
        }
        case SentValue::Type::kList: {
            std::string out = "[";
            for (size_t i = 0; i < value.list.size(); ++i) out += (i ? ", " : "") + Describe(value.list[i]);
            return out + "]";
        }
        case SentValue::Type::kNone: break;
    }
    return "null";
}

std::string Describe(const SentMessage& message) {
    std::string out = message.name + "(";
    for (size_t i = 0; i < message.arguments.size(); ++i) out += (i ? ", " : "") + Describe(message.arguments[i]);
    return out + ")";
}

}  // namespace standin
}  // namespace kestro
