#include "Preset/TypePicker.h"

#include "Preset/PresetDialog.h"

namespace zelvane {

bool TypePicker::handleEvent(ItemEvent& event) {
    if (event.getPanel() != m_dialog) {
        return false;
    }
    m_dialog->pickType();
    return true;
}

} // namespace zelvane
