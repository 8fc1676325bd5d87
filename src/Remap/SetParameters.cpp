// The mapping dialog's parameters button: the user sets a rule's part and parameter values in the
// host's own tool settings, and the rules of the selected rows keep the values that differ from
// the part's own.
#include "Addon/ActionEvent.h"
#include "Addon/Message.h"
#include "Database/ComponentLink.h"
#include "Element/ComponentElem.h"
#include "Environment/Host.h"
#include "Environment/StringSetting.h"
#include "Interface/ListControl.h"
#include "Library/ParameterList.h"
#include "Remap/MakeElementFrom.h"
#include "Remap/MappingDialog.h"
#include "Remap/ObjectSpecification.h"

#include <memory>
#include <optional>

namespace zelvane::remap {

namespace {

// The tool's defaults as they were before the dialog borrowed them, put back once.
class SavedDefaults {
public:
    explicit SavedDefaults(ObjectMap::Key const& key) : m_saved(makeElementFrom(key, true)) {}
    SavedDefaults(SavedDefaults const&) = delete;
    SavedDefaults& operator=(SavedDefaults const&) = delete;
    ~SavedDefaults() {
        try {
            restore();
        } catch (...) {
        }
    }
    void restore() {
        if (m_saved != nullptr) {
            std::shared_ptr<ComponentElem> saved = std::move(m_saved);
            saved->makeDefault();
        }
    }

private:
    std::shared_ptr<ComponentElem> m_saved;
};

} // namespace

bool MappingDialog::SetParameters::handleEvent(ActionEvent& event) {
    ListControl* list = m_dialog.getList();
    if (event.getItem() != parametersItem || list == nullptr) {
        return false;
    }
    event.tellPublisher(std::make_shared<ItemMessage>(event.getItem()));
    m_dialog.commitPendingEdit();
    String const chosen = m_dialog.getChosenSource();
    ObjectMap::Type const kind = m_dialog.getSourceKind();
    ObjectMap& map = m_dialog.getWorkingMap();
    Int16 const first = list->getSelectedRow(0);
    if (first == ListControl::npos) {
        return true;
    }
    ObjectMap::Key const key = m_dialog.keyOf(first);

    // The tool's defaults are borrowed to show the rule's part and values: they are put back as
    // they were whatever happens, the user's choice read first.
    SavedDefaults saved(key);
    std::optional<ComponentLink> target;
    std::optional<ParameterList> before;
    String found = chosen;
    if (ObjectSpecification* rule = map.getSpecification(key, found, kind, false, false)) {
        if (ComponentLink* link = rule->getMappedLink()) {
            target = *link;
            if (std::shared_ptr<ComponentElem> element = makeElementFrom(key, *link)) {
                before = element->getParameterList();
                rule->applyParametersTo(*element);
                element->makeDefault();
            }
        }
    }
    std::shared_ptr<ComponentElem> tool = makeElementFrom(key, false);
    if (tool == nullptr || !host.showToolSettings(tool->getLink())) {
        return true;
    }
    std::shared_ptr<ComponentElem> defaults = makeElementFrom(key, true);
    if (defaults == nullptr) {
        return true;
    }
    ParameterList const after = defaults->getParameterList();
    ComponentLink const part = defaults->getSourceLink();
    saved.restore();

    bool const unchanged = target.has_value() && part.isValid() && part == *target;
    if (!unchanged || !before.has_value()) {
        before.reset();
        if (std::shared_ptr<ComponentElem> element = makeElementFrom(key, part)) {
            before = element->getParameterList();
        }
    }
    for (Int16 row = first; row != ListControl::npos; row = list->getSelectedRow(Int16(row + 1))) {
        ObjectMap::Key const rowKey = m_dialog.keyOf(row);
        // The part was chosen with the first row's tool: rows of another part type would refuse it.
        if (rowKey.first != key.first) {
            continue;
        }
        found = chosen;
        ObjectSpecification* rule = map.getSpecification(rowKey, found, kind, true, false);
        if (rule == nullptr || found != chosen) {
            continue;
        }
        if (!unchanged || (part.isValid() && rule->getMappedLink() == nullptr)) {
            rule->setMappedLink(part);
            rule->setAutomatic(false);
            list->setSetting(StringSetting(rule->getMappedName()), row, 1);
            m_dialog.setRowState(row, rule->getMappedLink() != nullptr ? RowState::chosenSource
                                                                       : RowState::unresolved);
        }
        if (before.has_value()) {
            rule->setParameters(*before, after);
        }
    }
    return true;
}

} // namespace zelvane::remap
