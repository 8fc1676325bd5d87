// The manager of the project's presets: the user-data dialog over the preset database, showing
// the records of one preset type at a time (the type pop-up, item 12, labelled by item 13), and
// importing legacy preset files besides preset collections. Deletions are not tracked: a deleted
// preset is deprecated.
#pragma once

#include "Preset/PresetDatabase.h"
#include "Preset/TypePicker.h"
#include "Preset/UserDataDialog.h"

namespace zelvane {

class PopupMenu;
class StaticText;

class PresetDialog : public UserDataDialog<PresetDatabase> {
public:
    static constexpr Int16 dialogID = 32604;
    static constexpr short presetStrings = 32707;
    static constexpr Int16 minimumWidth = 468;
    static constexpr Int16 minimumHeight = 363;
    enum PresetItem : Int16 { listItem = 3, typeItem = 12, typeLabelItem = 13 };

    // Titled by the add-on's product name and the presets' own name; edits a copy of the
    // project's presets.
    PresetDialog();

    void handleInitialise() override;
    // The type pop-up widens with the list; the rest as every user-data dialog.
    void resize(ScreenPoint const& delta) override;
    // Preset collections; for opening, legacy preset files too.
    void getFileFilters(std::vector<String>& names, std::vector<String>& extensions,
                        bool forExport) const override;
    // Legacy preset files are read into the collection's presets; other files as every
    // user-data dialog reads them. A successful import reports how many presets there are now.
    bool importToStorage(UserDatabaseCollection& collection, DataFile& file, String const& filterName,
                         String const& extension) override;
    bool isImportCancelled() const override { return m_cancelled; }
    short getStrResourceID() const override { return presetStrings; }
    String getExtensionStr() const override { return "presets"; }

    // The type shown in the pop-up becomes the template of new records, and the list shows its
    // records.
    void pickType();
    PopupMenu* getTypeMenu() const { return m_typeMenu; }

private:
    static String makeTitle();

    TypePicker m_picker;
    // Owned by the dialog, which deletes them when it closes.
    PopupMenu* m_typeMenu = nullptr;
    StaticText* m_typeLabel = nullptr;
    // The last legacy import was cancelled by the user.
    bool m_cancelled = false;
};

} // namespace zelvane
