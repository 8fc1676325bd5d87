#include "Preset/PresetDialog.h"

#include "Addon/Addon.h"
#include "Environment/Host.h"
#include "Environment/StringUtilities.h"
#include "Environment/ToString.h"
#include "Interface/NotifyAlert.h"
#include "Interface/PopupMenu.h"
#include "Interface/StaticText.h"
#include "Preset/PresetTypeFilter.h"

#include <memory>

namespace zelvane {

namespace {

constexpr short reportList = 32700;
constexpr short reportIndex = 27;
constexpr short legacyTypeIndex = 5;
char const* const legacyExtension = "dat";

} // namespace

PresetDialog::PresetDialog() : UserDataDialog(dialogID, makeTitle(), false), m_picker(*this) {
    setListIndex(listItem, 0, 1);
}

String PresetDialog::makeTitle() {
    String title = host.getLocalString(presetStrings, 1);
    if (addon == nullptr || addon->getProductInfo().name.empty()) {
        return title;
    }
    String full = addon->getProductInfo().name;
    full += " ";
    full += title;
    return full;
}

void PresetDialog::handleInitialise() {
    setTitle(getTitleText());
    setMinimumSize(ScreenPoint(minimumWidth, minimumHeight), 0);
    m_typeMenu = new PopupMenu(ControlLink(typeItem, this));
    m_typeLabel = new StaticText(ControlLink(typeLabelItem, this));
    UserDataDialog::handleInitialise();
    getListView()->addFilter(std::make_shared<PresetTypeFilter>(m_typeMenu));
    m_typeMenu->addSubscriber(&m_picker);
    populateList(Key());
}

void PresetDialog::resize(ScreenPoint const& delta) {
    // The type pop-up and its label head the list, whose top edge stays: moved by the size change
    // they would slide over the list, so the pop-up widens with it and the label stays.
    if (m_typeMenu != nullptr) {
        m_typeMenu->resize(ScreenPoint(delta.getX(), 0));
    }
    UserDataDialog::resize(delta);
}

void PresetDialog::getFileFilters(std::vector<String>& names, std::vector<String>& extensions,
                                  bool forExport) const {
    UserDataDialog::getFileFilters(names, extensions, forExport);
    if (!forExport) {
        names.push_back(host.getLocalString(presetStrings, legacyTypeIndex));
        extensions.push_back(legacyExtension);
    }
}

bool PresetDialog::importToStorage(UserDatabaseCollection& collection, DataFile& file,
                                   String const& filterName, String const& extension) {
    m_cancelled = false;
    auto* presets = dynamic_cast<PresetDatabase*>(collection.getPackage(PresetDatabase::ID.getFamily()));
    bool done = false;
    if (filterName == host.getLocalString(presetStrings, legacyTypeIndex) && extension == legacyExtension) {
        done = presets != nullptr && presets->importLegacyPresets(file);
        m_cancelled = presets != nullptr && !done && presets->isLegacyImportCancelled();
        // Legacy records are made from their own types' templates: new records keep the shown type.
        if (m_typeMenu != nullptr) {
            PresetDatabase::setDefaultTemplate(m_typeMenu->getSelectedLabel(), false);
        }
    } else {
        done = UserDataDialog::importToStorage(collection, file, filterName, extension);
    }
    if (done && presets != nullptr && presets->size() > 0) {
        String report = host.getLocalString(reportList, reportIndex);
        replaceAll(report, String("$1"), ToString(static_cast<unsigned long long>(presets->size())));
        NotifyAlert().show(report);
    }
    return done;
}

void PresetDialog::pickType() {
    commitPendingEdit();
    if (m_typeMenu != nullptr) {
        PresetDatabase::setDefaultTemplate(m_typeMenu->getSelectedLabel(), false);
    }
    if (getListView() != nullptr) {
        getListView()->getList()->deselectAll();
    }
    populateList(Key());
}

} // namespace zelvane
