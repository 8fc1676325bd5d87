#include "Remap/ObjectSelectionDialog.h"

#include "Addon/ItemEvent.h"
#include "Addon/ResizeEvent.h"
#include "Environment/StringSetting.h"
#include "Interface/Button.h"
#include "Interface/ListControl.h"
#include "Remap/CompareNoCase.h"
#include "Remap/PaletteLayout.h"

#include <algorithm>

namespace zelvane::remap {

namespace {

constexpr PaletteLayout layout{300, 299, 17, 171, 40};
constexpr Int16 nameColumnWidth = 238;

} // namespace

ObjectSelectionDialog::ObjectSelectionDialog(std::vector<ComponentLog>& candidates)
    : Dialog(resourceID, true, true, false), m_candidates(candidates), m_chosen(candidates.size()),
      m_resize(*this), m_changeSelection(*this) {}

ObjectSelectionDialog::~ObjectSelectionDialog() {
    close();
}

void ObjectSelectionDialog::handleInitialise() {
    m_list = new ListControl(ControlLink(listItem, this), 0, 1);
    new Button(ControlLink(okItem, this));
    new Button(ControlLink(cancelItem, this));
    setMinimumSize(ScreenPoint(layout.width, layout.minimumHeight), 0);
    addSubscriber(&m_resize);
    m_list->setColumnStyle(ListColumnStyle(nameColumnWidth, 0), 0);
    m_list->addSubscriber(&m_changeSelection);

    std::stable_sort(m_candidates.begin(), m_candidates.end(), CompareComponentNoCase());
    m_list->setTableSize(0, 1);
    m_list->setTableSize(Int16(m_candidates.size()), 1);
    for (std::size_t row = 0; row < m_candidates.size(); ++row) {
        m_list->setSetting(StringSetting(m_candidates[row].getName()), Int16(row), 0);
    }
    m_list->setSelected(true, 0);
    m_chosen = 0;
}

void ObjectSelectionDialog::handleAccept(ActionEvent&) {
    Int16 row = m_list != nullptr ? m_list->getSelectedRow(0) : ListControl::npos;
    if (row != ListControl::npos && std::size_t(row) < m_candidates.size()) {
        m_chosen = std::size_t(row);
    }
}

void ObjectSelectionDialog::handleCancel(ActionEvent&) {
    m_chosen = m_candidates.size();
}

void ObjectSelectionDialog::handleClose() {
    m_list = nullptr;
}

ComponentLog const* ObjectSelectionDialog::getChosen() const {
    return m_chosen < m_candidates.size() ? &m_candidates[m_chosen] : nullptr;
}

bool ObjectSelectionDialog::ChangeSelection::handleEvent(ItemEvent& event) {
    ListControl* list = m_dialog.getList();
    if (event.getItem() != listItem || list == nullptr) {
        return false;
    }
    if (DialogControl* ok = m_dialog.getControl(okItem)) {
        ok->setEnabled(list->getSelectedRow(0) != ListControl::npos);
    }
    return false;
}

bool ObjectSelectionDialog::ResizePalette::handleEvent(ResizeEvent& event) {
    ListControl* list = m_dialog.getList();
    if (event.getState() != ResizeEvent::resizing || (event.getHGrow() == 0 && event.getVGrow() == 0) ||
        list == nullptr) {
        return false;
    }
    layout.apply(m_dialog, *list, {okItem, cancelItem});
    return true;
}

} // namespace zelvane::remap
