#pragma once
// The toolkit-wide constructor of controls by type code.
#include "services/json/jvalue.h"

namespace kestro {

class UIObject;
class UIResource;

// Type codes of the factory (not the kind codes of the objects).
enum ControlType {
    kTypePane = 1,
    kTypeButton = 2,
    kTypeToolBar = 3,
    kTypeTabCtrl = 4,
    kTypeListView = 6,
    kTypeScrollBar = 7,
    kTypeHeader = 8,
    kTypeLabel = 9,
    kTypeCheckBox = 10,
    kTypeCheckBoxEx = 11,
    kTypeRadioBox = 12,
    kTypeProgress = 13,
    kTypeDropButton = 14,
    kTypeEditBox = 15,
};

// A new control of the type, or none for an unknown code. Not loaded, not added.
UIObject* NewControl(int type);

// Creates the control, loads it from the skin when a resource is given and adds it
// to the parent (which then owns it). None for an unknown code.
UIObject* CreateChild(int type, UIResource* resource, UIObject* parent, const char* path, const JValue* base);

}  // namespace kestro
