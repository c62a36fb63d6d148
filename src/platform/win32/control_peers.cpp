#include "control_peers.h"

#include "button_peer.h"
#include "drawn_peer.h"
#include "form_peer.h"
#include "group_peer.h"
#include "list_peers.h"
#include "page_peers.h"
#include "slider_peer.h"
#include "text_peers.h"
#include "toolkit/form.h"

namespace lt::win32 {

std::unique_ptr<WindowPeer> makePeer(Control& c, Win32Desktop& d) {
    switch (c.kind()) {
        case ControlKind::Form: return std::make_unique<FormPeer>(static_cast<Form&>(c), d);
        case ControlKind::PageControl: return std::make_unique<PageControlPeer>(static_cast<PageControl&>(c), d);
        case ControlKind::TabSheet: return std::make_unique<TabSheetPeer>(c, d);
        case ControlKind::GroupBox: return std::make_unique<GroupPeer>(c, d);
        case ControlKind::Label: return makeLabelPeer(static_cast<Label&>(c), d);
        case ControlKind::Edit: return makeEditPeer(static_cast<Edit&>(c), d);
        case ControlKind::Button: return makeButtonPeer(static_cast<Button&>(c), d);
        case ControlKind::ComboBox: return makeComboBoxPeer(static_cast<ComboBox&>(c), d);
        case ControlKind::CheckListBox: return makeCheckListBoxPeer(static_cast<CheckListBox&>(c), d);
        case ControlKind::Slider: return makeSliderPeer(static_cast<Slider&>(c), d);
        case ControlKind::Memo: return makeMemoPeer(static_cast<Memo&>(c), d);
        case ControlKind::Shape:
        case ControlKind::Line: return makeDrawnPeer(c, d);
    }
    return nullptr;
}

}  // namespace lt::win32
