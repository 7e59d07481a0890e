#include "uikit/edit/control_factory.h"

#include "uikit/controls/ui_button.h"
#include "uikit/controls/ui_check_box.h"
#include "uikit/controls/ui_drop_button.h"
#include "uikit/controls/ui_label.h"
#include "uikit/controls/ui_pane.h"
#include "uikit/controls/ui_progress.h"
#include "uikit/controls/ui_radio_box.h"
#include "uikit/controls/ui_tab_ctrl.h"
#include "uikit/controls/ui_tool_bar.h"
#include "uikit/edit/ui_edit_box.h"
#include "uikit/lists/ui_header.h"
#include "uikit/lists/ui_list_view.h"
#include "uikit/lists/ui_scroll_bar.h"

namespace kestro {

UIObject* NewControl(int type) {
    switch (type) {
        case kTypePane: return new UIPane();
        case kTypeButton: return new UIButton();
        case kTypeToolBar: return new UIToolBar();
        case kTypeTabCtrl: return new UITabCtrl();
        case kTypeListView: return new UIListView();
        case kTypeScrollBar: return new UIScrollBar();
        case kTypeHeader: return new UIHeader();
        case kTypeLabel: return new UILabel();
        case kTypeCheckBox: return new UICheckBox();
        case kTypeCheckBoxEx: return new UICheckBoxEx();
        case kTypeRadioBox: return new UIRadioBox();
        case kTypeProgress: return new UIProgress();
        case kTypeDropButton: return new UIDropButton();
        case kTypeEditBox: return new UIEditBox();
        default: return nullptr;
    }
}

UIObject* CreateChild(int type, UIResource* resource, UIObject* parent, const char* path, const JValue* base) {
    UIObject* control = NewControl(type);
    if (!control) return nullptr;
    if (resource) control->Load(resource, path, base);
    if (parent) parent->AddChild(control);
    return control;
}

}  // namespace kestro
