#include "uikit/controls/skin_reading.h"

#include "uikit/object/ui_object.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {

bool LoadIdAndSize(UIResource* resource, const char* path, const JValue* base, UIObject& object,
                   std::optional<JValue>& node) {
    if (!resource) return false;
    node = resource->FindNode(path, base);
    if (!node) return false;
    object.SetId(resource->GetInt("id", &*node));
    const std::array<int, 4> size = resource->GetRect("size", &*node);
    object.SetLayout(size[0], size[1], size[2], size[3]);
    return true;
}

}  // namespace kestro
