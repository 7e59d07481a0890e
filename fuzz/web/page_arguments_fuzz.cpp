// Arguments of page calls are whatever a page passes: the input, read as JSON by
// the page itself, is spread over a call of external.Download. One message must
// arrive with one entry per argument, lists no longer than the cap.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "web/bridge_arguments.h"
#include "web/cef_app_instance.h"
#include "web/runtime/host/renderer_host.h"

namespace {

struct Page {
  Page() : app(new CCefAPPInstance()), renderer(app.get()) { frame = renderer.MainFrame(renderer.CreateBrowser()); }
  CefRefPtr<CCefAPPInstance> app;
  kestro::standin::Renderer renderer;
  int64 frame;
};

bool ListsWithinCap(const std::vector<kestro::standin::SentValue>& values) {
  for (const kestro::standin::SentValue& v : values) {
    if (v.type == kestro::standin::SentValue::Type::kList &&
        (v.list.size() > static_cast<size_t>(kestro::kMaxObjectListLength) || !ListsWithinCap(v.list))) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Page* page = new Page();
  // JSON cannot loop, so every input ends; the text goes in byte by byte as escapes.
  std::string script =
      "(function (s) { var a; try { a = JSON.parse(s); } catch (e) { return -1; }"
      " if (!(a instanceof Array)) a = [a];"
      " try { external.Download.apply(external, a); } catch (e) { return -2; } return a.length; })(\"";
  for (size_t i = 0; i < size; ++i) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02x", data[i]);
    script += escape;
  }
  script += "\")";
  kestro::standin::ScriptResult result = page->renderer.Run(page->frame, script);
  if (!result.ok) __builtin_trap();
  std::vector<kestro::standin::SentMessage> sent = page->renderer.TakeSent();
  long count = std::strtol(result.value.c_str(), nullptr, 10);
  if (count < 0) {
    if (!sent.empty()) __builtin_trap();
    return 0;
  }
  if (sent.size() != 1 || sent[0].name != "Download") __builtin_trap();
  if (sent[0].arguments.size() != static_cast<size_t>(count)) __builtin_trap();
  if (!ListsWithinCap(sent[0].arguments)) __builtin_trap();
  return 0;
}
