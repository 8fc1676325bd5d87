#include "Remap/MappingDialog.h"

#include "Addon/ActionEvent.h"
#include "Attribute/CadColour.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "Environment/StringSetting.h"
#include "Environment/ToString.h"
#include "Interface/Button.h"
#include "Interface/EditText.h"
#include "Interface/ListControl.h"
#include "Interface/PopupMenu.h"
#include "Interface/StaticText.h"
#include "Library/ComponentSource.h"
#include "Library/Library.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/RemappingPrefs.h"

#include <memory>
#include <set>
#include <vector>

namespace zelvane::remap {

namespace {

constexpr Int16 nameColumnWidth = 180;
constexpr Int16 mappedColumnWidth = 200;
constexpr Int16 columnGap = 4;
constexpr Int16 listFont = 4;

} // namespace

CadColour MappingDialog::colourOf(RowState state) {
    switch (state) {
    case RowState::noRule:
        return CadColour(UInt16(65535), UInt16(34952), UInt16(0), UInt16(65535));
    case RowState::unresolved:
        return CadColour(UInt16(65535), UInt16(0), UInt16(0), UInt16(65535));
    case RowState::otherSource:
        return CadColour(UInt16(0), UInt16(65535), UInt16(0), UInt16(65535));
    case RowState::chosenSource:
        break;
    }
    return CadColour(UInt16(0), UInt16(0), UInt16(0), UInt16(65535));
}

MappingDialog::MappingDialog(ObjectMap& objectMap, ElementMap const& elements, PartList const& parts,
                             ObjectMap::Type kind, bool mapMustBeNew)
    : Dialog(resourceID, true, false, false), m_objectMap(objectMap), m_workingMap(objectMap),
      m_elements(elements), m_parts(parts), m_kind(kind), m_mapMustBeNew(mapMustBeNew), m_resize(*this),
      m_editSource(*this), m_editMappedName(*this), m_setParameters(*this), m_zoom(*this), m_clear(*this),
      m_changeSelection(*this) {}

MappingDialog::~MappingDialog() {
    close();
}

RemappingPrefs* MappingDialog::getPreferences() const {
    Project* project = host.getProject();
    return project != nullptr ? dynamic_cast<RemappingPrefs*>(project->getPreference(RemappingPrefs::ID))
                              : nullptr;
}

void MappingDialog::handleInitialise() {
    RemappingPrefs* preferences = getPreferences();
    if (preferences == nullptr) {
        return;
    }
    m_currentName = preferences->getSourceName(m_kind);

    new Button(ControlLink(okItem, this));
    new Button(ControlLink(cancelItem, this));
    m_sourceMenu = new PopupMenu(ControlLink(sourceItem, this));
    m_nameText = new StaticText(ControlLink(nameItem, this));
    m_mappedText = new EditText(ControlLink(mappedItem, this));
    m_list = new ListControl(ControlLink(listItem, this), 0, 2);
    m_parametersButton = new Button(ControlLink(parametersItem, this));
    m_zoomButton = new Button(ControlLink(zoomItem, this));
    m_clearButton = new Button(ControlLink(clearItem, this));

    setMinimumSize(ScreenPoint(width, minimumHeight), 0);
    addSubscriber(&m_resize);
    m_list->setColumnStyle(ListColumnStyle(nameColumnWidth, 0), 0);
    m_list->setColumnStyle(ListColumnStyle(mappedColumnWidth, 0), 1);
    m_list->setColumnGap(columnGap);
    m_list->addProxy(m_nameText, 0);
    m_list->addProxy(m_mappedText, 1);
    m_nameText->setFont(listFont);
    m_mappedText->setFont(listFont);
    m_nameText->setEnabled(false);

    m_sourceMenu->addSubscriber(&m_editSource);
    m_mappedText->addSubscriber(&m_editMappedName);
    m_parametersButton->addSubscriber(&m_setParameters);
    m_zoomButton->addSubscriber(&m_zoom);
    m_clearButton->addSubscriber(&m_clear);
    m_list->addSubscriber(&m_changeSelection);
    for (Button* button : {m_parametersButton, m_zoomButton, m_clearButton}) {
        button->setEnabled(false);
    }

    if (m_kind == ObjectMap::missing || m_kind == ObjectMap::legacy) {
        mapAutomatically();
    }
    rebuild();
}

void MappingDialog::mapAutomatically() {
    RemappingPrefs* preferences = getPreferences();
    Library* library = host.getFrontLibrary();
    if (preferences == nullptr || library == nullptr) {
        return;
    }
    for (auto const& entry : m_elements) {
        ObjectMap::Key const& key = entry.first;
        String partName = key.second;
        if (m_kind == ObjectMap::legacy) {
            partName += " ";
            partName += ToString(Int32(Host::version));
        }
        API_LibTypeID type = key.first;
        Int32 index = library->getIndexByName(partName, type);
        // The library also answers parts of other types by that name: those would be refused.
        if (index == 0 || type != key.first) {
            continue;
        }
        ComponentLink link(index, type, library);
        std::unique_ptr<ComponentSource> part((*library)[link]);
        if (part == nullptr) {
            continue;
        }
        String const& chosen = preferences->getSourceName(m_kind);
        String found = chosen;
        ObjectSpecification* rule = m_workingMap.getSpecification(key, found, m_kind, false, false);
        if (rule != nullptr && found == chosen) {
            // The user's own rule that finds its part is theirs to change.
            if (!rule->isAutomatic() && rule->getMappedLink() != nullptr) {
                continue;
            }
        } else {
            // No rule in the chosen source: a new automatic one there; another source's rule stays.
            found = chosen;
            rule = m_workingMap.getSpecification(key, found, m_kind, true, true);
            if (rule == nullptr || found != chosen) {
                continue;
            }
        }
        rule->setAutomatic(true);
        rule->setMappedName(part->getName());
        rule->setMappedLink(part->getLink());
    }
}

String MappingDialog::getChosenSource() const {
    return m_sourceMenu != nullptr ? m_sourceMenu->getSelectedLabel() : String();
}

ObjectMap::Key MappingDialog::keyOf(Int16 row) const {
    return ObjectMap::Key(API_LibTypeID(m_list->getUserData(row)), m_list->getText(row, 0));
}

void MappingDialog::setRowState(Int16 row, RowState state) {
    m_list->setColour(colourOf(state), row, 0);
}

void MappingDialog::rebuild() {
    if (m_sourceMenu == nullptr) {
        return;
    }
    // A pending edit belongs to the rows about to go.
    m_pendingEdit = false;
    m_currentName = m_workingMap.populateMenu(*m_sourceMenu, m_currentName, m_kind);
    m_list->setTableSize(0, 2);
    m_list->setTableSize(Int16(m_elements.size()), 2);
    String const chosen = getChosenSource();
    Int16 row = 0;
    for (auto const& entry : m_elements) {
        ObjectMap::Key const& key = entry.first;
        m_list->setSetting(StringSetting(key.second), row, 0);
        m_list->setUserData(key.first, row);
        String found = chosen;
        ObjectSpecification* rule = m_workingMap.getSpecification(key, found, m_kind, false, false);
        RowState state = RowState::chosenSource;
        if (rule == nullptr) {
            m_list->setSetting(StringSetting(String()), row, 1);
            state = RowState::noRule;
        } else {
            m_list->setSetting(StringSetting(rule->getMappedName()), row, 1);
            if (rule->getMappedLink() == nullptr) {
                state = RowState::unresolved;
            } else if (found != chosen || rule->isAutomatic()) {
                state = RowState::otherSource;
            }
        }
        setRowState(row, state);
        ++row;
    }
    updateButtons();
}

void MappingDialog::updateButtons() {
    bool selected = m_list != nullptr && m_list->getSelectedRow(0) != ListControl::npos;
    for (Button* button : {m_parametersButton, m_zoomButton, m_clearButton}) {
        if (button != nullptr) {
            button->setEnabled(selected);
        }
    }
}

void MappingDialog::commitPendingEdit() {
    if (!m_pendingEdit || m_list == nullptr) {
        return;
    }
    m_pendingEdit = false;
    // The editors stay on the row being edited until the list moves them on.
    Int16 row = m_list->getProxyRow();
    if (row == ListControl::npos) {
        row = m_list->getSelectedRow(0);
    }
    if (row != ListControl::npos) {
        editMappedName(row, m_currentName);
    }
}

void MappingDialog::handleAccept(ActionEvent&) {
    RemappingPrefs* preferences = getPreferences();
    if (preferences == nullptr || m_list == nullptr) {
        return;
    }
    commitPendingEdit();
    String const chosen = getChosenSource();
    m_objectMap = m_workingMap;
    preferences->setSourceName(chosen, m_kind);

    // Only a rule found in another source is copied, and only when its row shows a mapped name:
    // the rows are read when there is such a rule.
    std::vector<ObjectMap::Key const*> elsewhere;
    for (auto const& entry : m_elements) {
        String found = chosen;
        if (m_objectMap.getSpecification(entry.first, found, m_kind, false, false) != nullptr &&
            found != chosen) {
            elsewhere.push_back(&entry.first);
        }
    }
    if (elsewhere.empty()) {
        writeObjectMap(m_objectMap, m_mapMustBeNew);
        return;
    }
    std::set<ObjectMap::Key> shown;
    for (Int16 row = Int16(m_list->getRows() - 1); row >= 0; --row) {
        std::unique_ptr<Setting> mapped(m_list->getSetting(row, 1));
        String mappedName;
        if (mapped != nullptr) {
            mapped->getValue(mappedName);
        }
        ObjectMap::Key key = keyOf(row);
        if (!key.second.empty() && !mappedName.empty()) {
            shown.insert(key);
        }
    }
    for (ObjectMap::Key const* key : elsewhere) {
        if (shown.count(*key) == 0) {
            continue;
        }
        // Asked again: the rules copied so far may have changed the answer.
        String found = chosen;
        ObjectSpecification* rule = m_objectMap.getSpecification(*key, found, m_kind, false, false);
        if (rule != nullptr && found != chosen) {
            m_objectMap.setSpecification(*rule, chosen, m_kind);
        }
    }
    writeObjectMap(m_objectMap, m_mapMustBeNew);
}

void MappingDialog::handleClose() {
    // The controls go with the panel's reset.
    m_sourceMenu = nullptr;
    m_nameText = nullptr;
    m_mappedText = nullptr;
    m_list = nullptr;
    m_parametersButton = nullptr;
    m_zoomButton = nullptr;
    m_clearButton = nullptr;
    m_pendingEdit = false;
}

} // namespace zelvane::remap
