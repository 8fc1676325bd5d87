#include "Interface/StaticText.h"

#include "Addon/ActionEvent.h"
#include "Attribute/TextStyle.h"
#include "DG/DGItems.hpp"
#include "DG/DGMessages.hpp"
#include "Interface/InterfacePanel.h"

namespace zelvane {
namespace {

void publishAction(const DG::ItemEvent& event, bool doubleClick) {
    InterfacePanel::NotificationScope scope;
    try {
        if (InterfacePanel* panel = InterfacePanel::findPanelByID(event.GetPanelId())) {
            ControlLink link(event.GetItemId(), panel);
            ActionEvent action = doubleClick ? ActionEvent(DG_MSG_DOUBLECLICK, link, InterfaceEvent::Data())
                                             : ActionEvent(link);
            panel->broadcastEvent(action);
        }
    } catch (...) {
        // Nothing may cross back into the host.
        InterfacePanel::reportFailure();
    }
}

} // namespace

void StaticText::Observer::attach(const DG::Panel&, const DialogControl& control) {
    auto* text = dynamic_cast<const StaticText*>(&control);
    if (text != nullptr && text->m_text) {
        text->m_text->Attach(*this);
    }
}

void StaticText::Observer::StaticTextClicked(const DG::ItemEvent& event) {
    publishAction(event, false);
}

void StaticText::Observer::StaticTextDoubleClicked(const DG::ItemEvent& event) {
    publishAction(event, true);
}

void StaticText::setColour(const CadColour& colour, Int16 row, Int16 column) {
    if (isValidCell(row, column)) {
        UInt16 red = 0, green = 0, blue = 0;
        colour.rgb(red, green, blue);
        DGSetItemTextColor(getDialogID(), getIndex(row), red, green, blue);
    }
}

void StaticText::setBackgroundColour(const CadColour& colour, Int16 row, Int16 column) {
    if (isValidCell(row, column)) {
        UInt16 red = 0, green = 0, blue = 0;
        colour.rgb(red, green, blue);
        DGSetItemBackgroundColor(getDialogID(), getIndex(row), red, green, blue);
    }
}

void StaticText::setStyle(const TextStyle& style, Int16 row, Int16 column) {
    DialogControl::setStyle(style, row, column);
    setColour(style.getColour(), row, column);
}

void StaticText::addReference(const DG::Panel& panel) {
    switch (m_alignment) {
    case left:
        m_text = std::make_shared<DG::LeftText>(panel, getIndex(0));
        break;
    case centre:
        m_text = std::make_shared<DG::CenterText>(panel, getIndex(0));
        break;
    case right:
        m_text = std::make_shared<DG::RightText>(panel, getIndex(0));
        break;
    default:
        m_text.reset();
        break;
    }
}

} // namespace zelvane
