#include "Interface/EditText.h"

namespace zelvane {

void EditText::Observer::attach(const DG::Panel&, const DialogControl& control) {
    auto* text = dynamic_cast<const EditText*>(&control);
    if (text != nullptr && text->m_item) {
        text->m_item->Attach(*this);
    }
}

void EditText::Observer::TextEditChanged(const DG::ItemEvent& event) {
    broadcastChange(event);
}

void EditText::addReference(const DG::Panel& panel) {
    m_item = std::make_shared<DG::TextEdit>(panel, getIndex(0));
}

} // namespace zelvane
