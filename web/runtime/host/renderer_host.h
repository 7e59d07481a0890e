#ifndef KESTRO_WEB_RUNTIME_HOST_RENDERER_HOST_H_
#define KESTRO_WEB_RUNTIME_HOST_RENDERER_HOST_H_

#include <memory>
#include <string>
#include <vector>

#include "include/cef_app.h"

// The stand-in runtime's own driving interface (no counterpart in a real
// runtime): a renderer process that creates browsers, frames and script
// contexts, runs page scripts, and the browser-side end that receives the
// process messages renderers send.
namespace kestro {
namespace standin {

// One entry of a received argument list, with its type.
struct SentValue {
    enum class Type { kNone, kBool, kInt, kDouble, kString, kList };
    Type type = Type::kNone;
    bool boolean = false;
    int integer = 0;
    double real = 0;
    std::string text;  // UTF-8
    std::vector<SentValue> list;
};

// A process message as the browser process received it.
struct SentMessage {
    int browser_id = 0;
    std::string name;  // UTF-8
    std::vector<SentValue> arguments;
};

// One line per message: name, then the arguments in parentheses; strings in
// quotation marks, integers bare, reals with a decimal point, lists in
// brackets, "null" for an entry without a value.
std::string Describe(const SentMessage& message);
std::string Describe(const SentValue& value);

struct ScriptResult {
    bool ok = false;    // false when the script threw or failed to compile
    std::string value;  // the completion value as text, or the error text
};

class Renderer {
public:
    // Takes the application's render-process handler, as a renderer does at start.
    explicit Renderer(CefRefPtr<CefApp> app);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Creates a browser (OnBrowserCreated) and its main frame with a script
    // context (OnContextCreated); returns the browser id.
    int CreateBrowser();
    // Id of a browser's main frame, 0 if there is no such browser.
    int64 MainFrame(int browser_id);
    // Adds a sub-frame under the main frame, with its own context; 0 on failure.
    int64 CreateSubFrame(int browser_id, const std::string& name);
    // Releases the frame's context and creates a new one, as a navigation does.
    bool Navigate(int64 frame_id);
    // Releases the browser's contexts, then calls OnBrowserDestroyed.
    bool DestroyBrowser(int browser_id);

    // Runs |script| in the frame's current context (non-strict, like a page script).
    ScriptResult Run(int64 frame_id, const std::string& script);

    // Messages received by the browser process so far, oldest first; clears them.
    std::vector<SentMessage> TakeSent();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace standin
}  // namespace kestro

#endif  // KESTRO_WEB_RUNTIME_HOST_RENDERER_HOST_H_
