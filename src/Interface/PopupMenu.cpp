#include "Interface/PopupMenu.h"

#include "Addon/ItemEvent.h"
#include "Attribute/CadColour.h"
#include "Attribute/TextStyle.h"
#include "Environment/Int32Setting.h"
#include "Environment/MenuSetting.h"
#include "Interface/InterfacePanel.h"

namespace zelvane {
namespace {

GS::UniString toUni(const String& text) {
    return GS::UniString(text);
}

} // namespace

bool PopupMenu::Node::isEnded() const {
    return m_menu == nullptr || m_row < 0 || m_row >= m_menu->getRows();
}

bool PopupMenu::Node::moveForward(ViewScope scope) {
    if (isEnded()) {
        throw std::out_of_range("");
    }
    m_row = scope == selectedRows ? m_menu->getSelectedRow(Int16(m_row + 1)) : Int16(m_row + 1);
    return !isEnded();
}

bool PopupMenu::Node::moveBackward(ViewScope scope) {
    if (isEnded()) {
        throw std::out_of_range("");
    }
    Int16 row = Int16(m_row - 1);
    if (scope == selectedRows) {
        while (row >= 0 && !m_menu->isSelected(row, 0)) {
            --row;
        }
    }
    m_row = row;
    return !isEnded();
}

bool PopupMenu::Node::isLess(const Node* node, const Node* other) {
    bool ended = node == nullptr || node->isEnded();
    bool otherEnded = other == nullptr || other->isEnded();
    if (ended || otherEnded) {
        return ended && !otherEnded;
    }
    return node->m_row < other->m_row;
}

Setting* PopupMenu::Node::getSetting(Int16 column) const {
    return isEnded() ? nullptr : m_menu->getSetting(m_row, column);
}

Image PopupMenu::Node::getImage(Int16 column) const {
    return isEnded() ? Image() : m_menu->getImage(m_row, column);
}

String PopupMenu::Node::getLabel(Int16 column) const {
    return isEnded() ? String() : m_menu->getLabel(m_row, column);
}

CadColour PopupMenu::Node::getColour(Int16 column) const {
    return isEnded() ? CadColour() : m_menu->getColour(m_row, column);
}

bool PopupMenu::Node::isSelected(Int16 column) const {
    return !isEnded() && m_menu->isSelected(m_row, column);
}

Int64 PopupMenu::Node::getUserData() const {
    return isEnded() ? 0 : m_menu->getUserData(m_row);
}

void PopupMenu::Node::redraw() {
    if (!isEnded()) {
        m_menu->redraw(m_row);
    }
}

void PopupMenu::Node::setImage(const Image& image, Int16 column) {
    if (!isEnded()) {
        m_menu->setImage(image, m_row, column);
    }
}

void PopupMenu::Node::setSetting(const Setting& setting, Int16 column) {
    if (!isEnded()) {
        m_menu->setSetting(setting, m_row, column);
    }
}

void PopupMenu::Node::setLabel(const String& label, Int16 column) {
    if (!isEnded()) {
        m_menu->setLabel(label, m_row, column);
    }
}

void PopupMenu::Node::setColour(const CadColour& colour, Int16 column) {
    if (!isEnded()) {
        m_menu->setColour(colour, m_row, column);
    }
}

void PopupMenu::Node::setStyle(const TextStyle& style, Int16 column) {
    if (!isEnded()) {
        m_menu->setStyle(style, m_row, column);
    }
}

void PopupMenu::Node::setSelected(bool selected, Int16 column) {
    if (!isEnded()) {
        m_menu->setSelected(selected, m_row, column);
    }
}

void PopupMenu::Node::setUserData(Int64 value) {
    if (!isEnded()) {
        m_menu->setUserData(value, m_row);
    }
}

void PopupMenu::DGObserver::attach(const DG::Panel&, const DialogControl& control) {
    auto* menu = dynamic_cast<const PopupMenu*>(&control);
    if (menu != nullptr && menu->m_standard) {
        menu->m_standard->Attach(*this);
    }
}

void PopupMenu::DGObserver::PopUpChanged(const DG::ItemEvent& event) {
    broadcastChange(event);
}

void PopupMenu::UCObserver::attach(const DG::Panel&, const DialogControl& control) {
    auto* menu = dynamic_cast<const PopupMenu*>(&control);
    if (menu != nullptr && menu->m_userControl) {
        menu->m_userControl->Attach(*this);
    }
}

void PopupMenu::UCObserver::UserControlChanged(const DG::ItemEvent& event) {
    broadcastChange(event);
}

PopupMenu::PopupMenu(const ControlLink& link, Int16 rows, Type type)
    : DialogControl(link, 0, 1), m_type(type) {
    Int16 hostRows = DGPopUpGetItemCount(getDialogID(), getIndex(0));
    DialogControl::setTableSize(hostRows, 1);
    if (rows >= 1) {
        setTableSize(rows, 1);
    }
}

const DG::Panel* PopupMenu::hostPanel() const {
    InterfacePanel* panel = getLink().getPanel();
    return panel != nullptr && getIndex(0) > 0 ? panel->getPanel() : nullptr;
}

std::shared_ptr<DG::PopUp> PopupMenu::standardHost() const {
    if (m_standard || !isStandard()) {
        return m_standard;
    }
    const DG::Panel* panel = hostPanel();
    return panel != nullptr ? std::make_shared<DG::PopUp>(*panel, getIndex(0)) : nullptr;
}

std::shared_ptr<UC::PopupMenu> PopupMenu::userHost() const {
    if (m_userControl || isStandard()) {
        return m_userControl;
    }
    const DG::Panel* panel = hostPanel();
    return panel != nullptr ? std::make_shared<UC::PopupMenu>(*panel, getIndex(0)) : nullptr;
}

template <class Call>
void PopupMenu::onHost(Call call) const {
    if (isStandard()) {
        if (auto host = standardHost()) {
            call(*host);
        }
    } else if (auto host = userHost()) {
        call(*host);
    }
}

Int16 PopupMenu::hostSelection() const {
    if (isStandard()) {
        auto host = standardHost();
        return host ? Int16(host->GetSelectedItem() - 1) : Int16(-1);
    }
    auto host = userHost();
    return host ? Int16(host->GetValue() - 1) : Int16(-1);
}

void PopupMenu::addReference(const DG::Panel& panel) {
    if (isStandard()) {
        m_standard = std::make_shared<DG::PopUp>(panel, getIndex(0));
    } else {
        m_userControl = std::make_shared<UC::PopupMenu>(panel, getIndex(0));
        m_userControl->SetControlKind(m_type);
    }
}

void PopupMenu::removeReference() {
    m_standard.reset();
    m_userControl.reset();
}

ControlObserver* PopupMenu::getObserver() const {
    if (isStandard()) {
        return new DGObserver;
    }
    return new UCObserver;
}

String PopupMenu::getLabel(Int16 row, Int16 column) const {
    String label;
    if (isValidCell(row, column)) {
        onHost([&](auto& host) { label = String(host.GetItemText(Int16(row + 1))); });
    }
    return label;
}

Int16 PopupMenu::findLabel(const String& label) const {
    for (Int16 row = Int16(getRows() - 1); row >= 0; --row) {
        if (getLabel(row, 0) == label) {
            return row;
        }
    }
    return -1;
}

Image PopupMenu::getImage(Int16 row, Int16 column) const {
    Image image;
    if (isValidCell(row, column)) {
        onHost([&](auto& host) {
            DG::Icon icon = host.GetItemIcon(Int16(row + 1));
            if (icon.GetResourceId() > 0) {
                image = Image(icon);
            }
        });
    }
    return image;
}

Int64 PopupMenu::getUserData(Int16 row) const {
    Int64 value = 0;
    if (isValidCell(row, 0)) {
        onHost([&](auto& host) { value = host.GetItemValue(Int16(row + 1)); });
    }
    return value;
}

CadColour PopupMenu::getColour(Int16, Int16) const {
    return CadColour();
}

void PopupMenu::setColour(const CadColour&, Int16, Int16) {}

bool PopupMenu::isSelected(Int16 row, Int16) const {
    return row >= 0 && hostSelection() == row;
}

Int16 PopupMenu::getSelectedRow(Int16 from) const {
    Int16 row = !isStandard() && m_selection != -1 ? m_selection : hostSelection();
    return row < from ? Int16(-1) : row;
}

String PopupMenu::getSelectedLabel() const {
    return getLabel(getSelectedRow(0), 0);
}

Setting* PopupMenu::getSetting(Int16, Int16) const {
    Int16 row = getSelectedRow(0);
    return new MenuSetting(getLabel(row, 0), row);
}

void PopupMenu::setSetting(const Setting& setting, Int16, Int16) {
    Int16 row = -1;
    if (auto* number = dynamic_cast<const Int32Setting*>(&setting)) {
        int value = 0;
        number->Int32Setting::getValue(value);
        row = value >= 0 && value < getRows() ? Int16(value) : Int16(-1);
    } else {
        String text;
        setting.getValue(text);
        row = findLabel(text);
    }
    setSelected(true, row, 0);
}

void PopupMenu::setSelected(bool, Int16 row, Int16) {
    if (!isValidCell(row, 0)) {
        return;
    }
    if (isStandard()) {
        if (auto host = standardHost()) {
            host->SelectItem(Int16(row + 1));
        }
        return;
    }
    m_selection = row;
    auto host = userHost();
    if (!host) {
        return;
    }
    host->SetValue(Int16(row + 1));
    if (m_type == textAndIcon || m_type == textOnly) {
        host->SetButtonText(host->GetItemText(Int16(row + 1)));
    }
    if (m_type == textAndIcon || m_type == iconOnly) {
        host->SetButtonIcon(host->GetItemIcon(Int16(row + 1)));
    }
}

String PopupMenu::setSelected(const String& label, Int16 fallback) {
    Int16 row = findLabel(label);
    if (row < 0) {
        row = fallback < getRows() ? fallback : Int16(getRows() - 1);
    }
    setSelected(true, row, 0);
    return getLabel(row, 0);
}

void PopupMenu::setLabel(const String& label, Int16 row, Int16 column) {
    if (isValidCell(row, column)) {
        onHost([&](auto& host) { host.SetItemText(Int16(row + 1), toUni(label)); });
    }
}

void PopupMenu::setImage(const Image& image, Int16 row, Int16 column) {
    if (!isValidCell(row, column)) {
        return;
    }
    DG::Icon icon = image;
    onHost([&](auto& host) { host.SetItemIcon(Int16(row + 1), icon); });
}

void PopupMenu::setUserData(Int64 value, Int16 row) {
    if (isValidCell(row, 0)) {
        onHost([&](auto& host) { host.SetItemValue(Int16(row + 1), value); });
    }
}

void PopupMenu::setStyle(const TextStyle& style, Int16 row, Int16 column) {
    if (row == -1) {
        DialogControl::setStyle(style, row, column);
        return;
    }
    if (!isValidCell(row, column)) {
        return;
    }
    Int16 hostStyle = 0;
    switch (style.getFace()) {
    case 1:
        hostStyle = DG::PopUp::Bold;
        break;
    case 2:
        hostStyle = DG::PopUp::Italic;
        break;
    case 4:
        hostStyle = DG::PopUp::Underline;
        break;
    default:
        break;
    }
    onHost([&](auto& host) { host.SetItemStyle(Int16(row + 1), hostStyle); });
}

void PopupMenu::setEnabled(bool enabled, Int16 row) {
    if (row == -1) {
        DialogControl::setEnabled(enabled, 0);
        return;
    }
    if (!isValidCell(row, 0)) {
        return;
    }
    if (isStandard()) {
        if (auto host = standardHost()) {
            host->SetItemStatus(Int16(row + 1), enabled ? DG::PopUp::Enabled : DG::PopUp::Disabled);
        }
    } else if (auto host = userHost()) {
        host->SetItemStatus(Int16(row + 1), enabled ? UC::PopupMenu::Enabled : UC::PopupMenu::Disabled);
    }
}

bool PopupMenu::setTableSize(Int16 rows, Int16) {
    if (rows == getRows()) {
        return true;
    }
    if (rows > getRows()) {
        return addRow(Int16(rows - getRows()));
    }
    return deleteRow(rows < 0 ? Int16(0) : rows, Int16(getRows() - (rows < 0 ? 0 : rows)));
}

bool PopupMenu::addRow(Int16 count) {
    return insertRow(-1, count);
}

bool PopupMenu::addRow(const String& label, Int16 imageID, Int64 userData) {
    if (!insertRow(-1, 1)) {
        return false;
    }
    Int16 row = Int16(getRows() - 1);
    setLabel(label, row, 0);
    if (imageID > 0) {
        setImage(Image(imageID), row, 0);
    }
    if (userData != 0) {
        setUserData(userData, row);
    }
    return true;
}

bool PopupMenu::insertRow(Int16 row, Int16 count) {
    if (count < 0 || (row != -1 && (row < 0 || row > getRows()))) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    if (Int32(getRows()) + count > 32767) {
        return false;
    }
    DialogControl::setTableSize(Int16(getRows() + count), 1);
    onHost([&](auto& host) {
        for (Int16 i = 0; i < count; ++i) {
            if (row == -1) {
                host.AppendItem();
            } else {
                host.InsertItem(Int16(row + 1));
            }
        }
    });
    return true;
}

bool PopupMenu::deleteRow(Int16 row, Int16 count) {
    if (count == 0) {
        return true;
    }
    if (count < 0 || row < 0 || row >= getRows()) {
        return false;
    }
    if (row + count > getRows()) {
        count = Int16(getRows() - row);
    }
    DialogControl::setTableSize(Int16(getRows() - count), 1);
    onHost([&](auto& host) {
        for (Int16 i = 0; i < count; ++i) {
            host.DeleteItem(Int16(row + 1));
        }
    });
    if (m_selection >= row + count) {
        m_selection = Int16(m_selection - count);
    } else if (m_selection >= row) {
        m_selection = -1;
    }
    return true;
}

bool PopupMenu::insertSeparator(Int16 row) {
    Int16 oldRows = getRows();
    DialogControl::setTableSize(Int16(oldRows + 1), 1);
    onHost([&](auto& host) {
        if (row != -1 && row >= 0 && row < oldRows) {
            host.InsertSeparator(Int16(row + 1));
        } else {
            host.AppendSeparator();
        }
    });
    return true;
}

bool PopupMenu::publishEvent(Event& event) {
    bool taken = DialogControl::publishEvent(event);
    if (dynamic_cast<ItemEvent*>(&event) != nullptr) {
        m_selection = -1;
        Int16 row = getSelectedRow(0);
        if (row != -1) {
            setSelected(true, row, 0);
        }
    }
    return taken;
}

PopupMenu::iterator PopupMenu::begin(ViewScope scope) {
    if (getRows() <= 0 || (scope != 0 && scope != 1 && scope != 2 && scope != 3)) {
        return iterator(Node(this, -1), scope);
    }
    if (scope == selectedRows) {
        return iterator(Node(this, getSelectedRow(0)), selectedRows);
    }
    return iterator(Node(this, 0), allRows);
}

PopupMenu::const_iterator PopupMenu::begin(ViewScope scope) const {
    return const_iterator(const_cast<PopupMenu*>(this)->begin(scope));
}

PopupMenu::iterator PopupMenu::end() {
    return iterator(Node(this, -1), allRows);
}

PopupMenu::const_iterator PopupMenu::end() const {
    return const_iterator(const_cast<PopupMenu*>(this)->end());
}

PopupMenu::iterator PopupMenu::last(ViewScope scope) {
    Int16 row = Int16(getRows() - 1);
    if (scope == selectedRows) {
        while (row >= 0 && !isSelected(row, 0)) {
            --row;
        }
    }
    return iterator(Node(this, row), scope == selectedRows ? selectedRows : allRows);
}

PopupMenu::const_iterator PopupMenu::last(ViewScope scope) const {
    return const_iterator(const_cast<PopupMenu*>(this)->last(scope));
}

} // namespace zelvane
