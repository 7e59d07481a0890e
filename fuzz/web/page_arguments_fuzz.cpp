// Arguments of page calls are whatever a page passes: the input, read as JSON by
// the page itself, is spread over a call of external.Download. One message must
// arrive with one entry per argument, of the type the page itself expects for
// it (integers only for whole numbers in the signed 32-bit range), lists no
// longer than the cap.
#include <cstddef>
#include <cstdint>
#include <cstdio>
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

// The entry type the page expects for each letter of its answer.
kestro::standin::SentValue::Type TypeOf(char kind) {
  using Type = kestro::standin::SentValue::Type;
  switch (kind) {
    case 's':
      return Type::kString;
    case 'b':
      return Type::kBool;
    case 'i':
      return Type::kInt;
    case 'l':
      return Type::kList;
    default:
      return Type::kNone;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Page* page = new Page();
  // JSON cannot loop, so every input ends; the text goes in byte by byte as
  // escapes. The page answers "=" and one letter per argument, or "!" when
  // nothing was sent.
  std::string script =
      "(function (s) { var a; try { a = JSON.parse(s); } catch (e) { return '!'; }"
      " if (!(a instanceof Array)) a = [a];"
      " var kinds = '=';"
      " for (var i = 0; i < a.length; ++i) { var v = a[i];"
      "  kinds += typeof v === 'string' ? 's' : typeof v === 'boolean' ? 'b'"
      "   : typeof v === 'number' ? (v === Math.floor(v) && v >= -2147483648 && v <= 2147483647 ? 'i' : 'n')"
      "   : v !== null && typeof v === 'object' ? 'l' : 'n'; }"
      " try { external.Download.apply(external, a); } catch (e) { return '!'; } return kinds; })(\"";
  for (size_t i = 0; i < size; ++i) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02x", data[i]);
    script += escape;
  }
  script += "\")";
  kestro::standin::ScriptResult result = page->renderer.Run(page->frame, script);
  if (!result.ok) __builtin_trap();
  std::vector<kestro::standin::SentMessage> sent = page->renderer.TakeSent();
  if (result.value == "!") {
    if (!sent.empty()) __builtin_trap();
    return 0;
  }
  if (result.value.empty() || result.value[0] != '=') __builtin_trap();
  const std::string kinds = result.value.substr(1);
  if (sent.size() != 1 || sent[0].name != "Download") __builtin_trap();
  if (sent[0].arguments.size() != kinds.size()) __builtin_trap();
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (sent[0].arguments[i].type != TypeOf(kinds[i])) __builtin_trap();
  }
  if (!ListsWithinCap(sent[0].arguments)) __builtin_trap();
  return 0;
}
