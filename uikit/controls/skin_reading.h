#pragma once
// The first step every control's Load shares: find its node, read "id" and "size".
#include <optional>

#include "services/json/jvalue.h"

namespace kestro {

class UIObject;
class UIResource;

// False when there is no resource or no node at the path.
bool LoadIdAndSize(UIResource* resource, const char* path, const JValue* base, UIObject& object,
                   std::optional<JValue>& node);

}  // namespace kestro
