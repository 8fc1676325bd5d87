// The mapping dialog's handlers of the source menu, the mapped-name editor, the zoom and clear
// buttons, the list's selection and the dialog's size.
#include "Addon/ActionEvent.h"
#include "Addon/FocusEvent.h"
#include "Addon/ItemEvent.h"
#include "Addon/Message.h"
#include "Addon/ResizeEvent.h"
#include "Database/Drawing.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Element.h"
#include "Environment/Host.h"
#include "Environment/SearchString.h"
#include "Environment/StringSetting.h"
#include "Geometry/Cube.h"
#include "Interface/Button.h"
#include "Interface/EditText.h"
#include "Interface/ListControl.h"
#include "Interface/NotifyAlert.h"
#include "Interface/PopupMenu.h"
#include "Interface/StaticText.h"
#include "Remap/MappingDialog.h"
#include "Remap/ObjectSelectionDialog.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/PaletteLayout.h"
#include "Remap/UniqueSource.h"

#include <memory>

namespace zelvane::remap {

namespace {

constexpr Int16 newRow = 0;
constexpr Int16 renameRow = 1;
constexpr Int16 deleteRow = 2;
constexpr Int16 firstSourceRow = 4;
// Menu rows of a kind with a single source: three commands, the separator and the source.
constexpr Int16 singleSourceRows = 5;

constexpr PaletteLayout layout{MappingDialog::width, MappingDialog::minimumHeight, 17, 171, 40};

void tellItem(ActionEvent& event) {
    event.tellPublisher(std::make_shared<ItemMessage>(event.getItem()));
}

} // namespace

bool MappingDialog::ResizePalette::handleEvent(ResizeEvent& event) {
    if (event.getState() != ResizeEvent::resizing || (event.getHGrow() == 0 && event.getVGrow() == 0) ||
        m_dialog.getList() == nullptr) {
        return false;
    }
    layout.apply(m_dialog, *m_dialog.getList(), {okItem, cancelItem, parametersItem, zoomItem, clearItem});
    return true;
}

bool MappingDialog::EditSource::handleEvent(ItemEvent& event) {
    PopupMenu* menu = m_dialog.getSourceMenu();
    if (event.getItem() != sourceItem || menu == nullptr) {
        return false;
    }
    // An edit still open belongs to the source the rows show.
    m_dialog.commitPendingEdit();
    ObjectMap& map = m_dialog.getWorkingMap();
    ObjectMap::Type kind = m_dialog.getSourceKind();
    String const current = m_dialog.getCurrentName();
    Int16 const currentRow = menu->findLabel(current);
    Int16 const chosen = menu->getSelectedRow();
    if (chosen == newRow) {
        String name = getSourceName(*menu, ListControl::npos);
        if (!name.empty()) {
            map.addSource(name, kind);
            m_dialog.setCurrentName(name);
        }
    } else if (chosen == renameRow) {
        String name = getSourceName(*menu, currentRow);
        if (!name.empty() && map.renameSource(current, name, kind)) {
            m_dialog.setCurrentName(name);
        }
    } else if (chosen == deleteRow) {
        if (menu->getRows() <= singleSourceRows) {
            NotifyAlert().show(host.getLocalString(32522, 10));
        } else if (map.deleteSource(current, kind)) {
            // The deleted name is gone from the menu, so the rebuild selects the first source left.
            m_dialog.setCurrentName(current);
        }
    } else if (chosen >= firstSourceRow) {
        m_dialog.setCurrentName(menu->getLabel(chosen));
    }
    m_dialog.rebuild();
    return true;
}

void MappingDialog::EditMappedName::getSpec(std::vector<EventSpec>& specs) const {
    specs.push_back(EventSpec(InterfaceEvent::ID, ItemEvent::ID));
    specs.push_back(EventSpec(InterfaceEvent::ID, FocusEvent::ID));
}

bool MappingDialog::EditMappedName::takeEvent(Event& event) {
    auto* item = dynamic_cast<InterfaceEvent*>(&event);
    if (item == nullptr || item->getItem() != mappedItem) {
        return false;
    }
    if (dynamic_cast<ItemEvent*>(&event) != nullptr) {
        m_dialog.markPendingEdit();
        return false;
    }
    auto* focus = dynamic_cast<FocusEvent*>(&event);
    if (focus == nullptr || focus->isGainingFocus()) {
        return false;
    }
    m_dialog.commitPendingEdit();
    return true;
}

void MappingDialog::editMappedName(Int16 row, String const& source) {
    String const text = m_mappedText->getText();
    auto const type = API_LibTypeID(m_list->getUserData(row));
    ObjectMap::Key const key(type, m_nameText->getText());
    if (text.empty()) {
        setRowState(row, RowState::noRule);
        m_workingMap.deleteSpecification(key, source, m_kind);
        return;
    }
    String found = source;
    ObjectSpecification* rule = m_workingMap.getSpecification(key, found, m_kind, true, false);
    // Typing names a part for the chosen source only; another source's rule is not the user's to
    // change from here.
    if (rule != nullptr && found != source) {
        rule = nullptr;
    }
    if (rule != nullptr) {
        rule->setMappedName(text);
        rule->setAutomatic(false);
    }

    std::vector<ComponentLog> candidates;
    String wildcard("*");
    String lowered = wildcard;
    lowered += text.toLowercase();
    lowered += wildcard;
    SearchString pattern(lowered, wildcard);
    for (ComponentLog const& part : m_parts) {
        if (part.getLink().getType() == type && pattern == part.getName().toLowercase()) {
            candidates.push_back(part);
        }
    }
    if (candidates.empty()) {
        NotifyAlert().show(host.getLocalString(32522, 11));
        setRowState(row, RowState::unresolved);
        return;
    }
    ComponentLog const* choice = &candidates.front();
    if (candidates.size() > 1) {
        ObjectSelectionDialog chooser(candidates);
        chooser.show();
        choice = chooser.getChosen();
    }
    if (rule != nullptr && choice != nullptr && rule->setMappedLink(choice->getLink())) {
        m_list->setSetting(StringSetting(rule->getMappedName()), row, 1);
        setRowState(row, RowState::chosenSource);
        return;
    }
    if (rule == nullptr || rule->getMappedLink() == nullptr) {
        setRowState(row, RowState::unresolved);
    }
}

bool MappingDialog::ZoomOriginal::handleEvent(ActionEvent& event) {
    ListControl* list = m_dialog.getList();
    if (event.getItem() != zoomItem || list == nullptr) {
        return false;
    }
    tellItem(event);
    m_dialog.commitPendingEdit();
    Int16 row = list->getSelectedRow(0);
    if (row == ListControl::npos) {
        return true;
    }
    auto found = m_dialog.getElementMap().find(m_dialog.keyOf(row));
    if (found == m_dialog.getElementMap().end() || found->second.empty()) {
        return true;
    }
    ElementLink const& link = found->second.front();
    Drawing* drawing = link.getSource();
    std::unique_ptr<Element> element(drawing != nullptr ? drawing->load(link) : nullptr);
    Project* project = host.getProject();
    if (element == nullptr || project == nullptr) {
        return true;
    }
    project->setActiveDrawing(drawing);
    project->setActiveWindow(drawing);
    if (auto* plan = dynamic_cast<Plan*>(drawing)) {
        if (Storey* storey = element->getStorey()) {
            plan->setStorey(*storey, true);
        }
    }
    drawing->deselectAll();
    std::unique_ptr<Cube> box(element->getBoundingCube(false));
    if (box != nullptr) {
        box->resize(0.5);
        drawing->setZoom(*box);
    }
    drawing->addToSelection(element->getLink());
    drawing->refresh();
    return true;
}

bool MappingDialog::ClearMapping::handleEvent(ActionEvent& event) {
    ListControl* list = m_dialog.getList();
    if (event.getItem() != clearItem || list == nullptr) {
        return false;
    }
    tellItem(event);
    m_dialog.commitPendingEdit();
    String const chosen = m_dialog.getChosenSource();
    for (Int16 row = list->getSelectedRow(0); row != ListControl::npos;
         row = list->getSelectedRow(Int16(row + 1))) {
        m_dialog.getWorkingMap().deleteSpecification(m_dialog.keyOf(row), chosen, m_dialog.getSourceKind());
        list->setSetting(StringSetting(String()), row, 1);
        m_dialog.setRowState(row, RowState::noRule);
    }
    return true;
}

bool MappingDialog::ChangeSelection::handleEvent(ItemEvent& event) {
    if (event.getItem() != listItem || m_dialog.getList() == nullptr) {
        return false;
    }
    // The list moves its editors to the new row after this: the edit still shows the row left.
    m_dialog.commitPendingEdit();
    m_dialog.updateButtons();
    return false;
}

} // namespace zelvane::remap
