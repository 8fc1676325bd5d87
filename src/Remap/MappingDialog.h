// The mapping dialog of the remapping command: one row per collected source name with the library
// part it is mapped to under the chosen named source. The user picks, adds, renames and deletes
// named sources, types or searches the target part, sets parameter values, zooms to a row's
// elements and clears rules. It works on a copy of the object map; OK hands the copy back, stores
// the chosen source in the preferences, copies the rules shown from other sources into the chosen
// one and writes the object-map file.
#pragma once

#include "Addon/ActionSubscriber.h"
#include "Addon/ItemSubscriber.h"
#include "Addon/ResizeSubscriber.h"
#include "Interface/Dialog.h"
#include "Remap/ComponentLog.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapTransaction.h"

#include <vector>

namespace zelvane {
class Button;
class CadColour;
class EditText;
class ListControl;
class PopupMenu;
class StaticText;
} // namespace zelvane

namespace zelvane::remap {

class RemappingPrefs;

class MappingDialog : public Dialog {
public:
    static constexpr Int16 resourceID = 32510;
    // The dialog's only width and its smallest height.
    static constexpr Int16 width = 439;
    static constexpr Int16 minimumHeight = 347;
    enum Item : Int16 {
        okItem = 1,
        cancelItem = 2,
        sourceItem = 4,
        nameItem = 6,
        mappedItem = 8,
        listItem = 9,
        parametersItem = 10,
        zoomItem = 11,
        clearItem = 12
    };
    using ElementMap = ObjectMapTransaction::ElementMap;
    using PartList = std::vector<ComponentLog>;

    // The state of a row's rule, shown as the row's colour.
    enum class RowState { noRule, unresolved, otherSource, chosenSource };
    static CadColour colourOf(RowState state);

    class Handler {
    public:
        explicit Handler(MappingDialog& dialog) : m_dialog(dialog) {}

    protected:
        MappingDialog& m_dialog;
    };

    // Keeps the list, the buttons and the editors in place as the dialog grows: the width stays
    // 439 and the height moves in whole rows of 17 pixels.
    class ResizePalette : public ResizeSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ResizeEvent& event) override;
    };
    // The source menu: new, rename, delete, or another named source.
    class EditSource : public ItemSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ItemEvent& event) override;
    };
    // A typed mapped name is noted as it changes and acted on when the edit text loses the focus.
    class EditMappedName : public Subscriber, Handler {
    public:
        using Handler::Handler;
        void getSpec(std::vector<EventSpec>& specs) const override;
        bool takeEvent(Event& event) override;
    };
    // The parameter values of the selected rows, set in the host's tool settings.
    class SetParameters : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent& event) override;
    };
    // Shows the first collected element of the selected row.
    class ZoomOriginal : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent& event) override;
    };
    // Drops the rules of the selected rows from the chosen source.
    class ClearMapping : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent& event) override;
    };
    // Enables the row buttons while a row is selected; a pending edit of the row left is done first.
    class ChangeSelection : public ItemSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ItemEvent& event) override;
    };

    // The result goes into `objectMap` on OK; the dialog edits a copy of it. The element map and
    // the part list are the transaction's and must outlive the dialog. With mapMustBeNew, OK
    // makes the object-map file only where there is none, as the command found it.
    MappingDialog(ObjectMap& objectMap, ElementMap const& elements, PartList const& parts,
                  ObjectMap::Type kind, bool mapMustBeNew = false);
    MappingDialog(MappingDialog const&) = delete;
    MappingDialog& operator=(MappingDialog const&) = delete;
    ~MappingDialog() override;

    // Without the project's remapping preferences the dialog stays empty.
    void handleInitialise() override;
    void handleAccept(ActionEvent& event) override;
    void handleClose() override;

    // Refills the source menu and the rows from the working copy.
    void rebuild();
    // Maps the missing or legacy keys to the library's same-named parts of their type (legacy: the
    // name followed by " 21"): keys without a rule in the chosen source get a new automatic rule
    // there, keys whose rule there is automatic or does not resolve are pointed again; a rule the
    // user made that resolves stays as it is, and rules of other sources are never touched.
    void mapAutomatically();
    // Acts on the typed mapped name of the row being edited, when there is one not yet acted on.
    void commitPendingEdit();
    // Notes that the mapped name was typed into.
    void markPendingEdit() { m_pendingEdit = true; }
    // Buttons 10, 11 and 12 are enabled exactly while a row is selected.
    void updateButtons();

    // The key of a row: its user data (the part type) and its source name.
    ObjectMap::Key keyOf(Int16 row) const;
    void setRowState(Int16 row, RowState state);

    ObjectMap& getWorkingMap() { return m_workingMap; }
    ObjectMap::Type getSourceKind() const { return m_kind; }
    String const& getCurrentName() const { return m_currentName; }
    void setCurrentName(String const& name) { m_currentName = name; }
    // The popup's selected label: the chosen source.
    String getChosenSource() const;
    ElementMap const& getElementMap() const { return m_elements; }
    PopupMenu* getSourceMenu() const { return m_sourceMenu; }
    ListControl* getList() const { return m_list; }

private:
    // The typed mapped name of the row, under the source.
    void editMappedName(Int16 row, String const& source);
    RemappingPrefs* getPreferences() const;

    ObjectMap& m_objectMap;
    ObjectMap m_workingMap;
    ElementMap const& m_elements;
    PartList const& m_parts;
    ObjectMap::Type m_kind;
    bool m_mapMustBeNew;
    String m_currentName;
    bool m_pendingEdit = false;

    // Owned by the panel while it is open.
    PopupMenu* m_sourceMenu = nullptr;
    StaticText* m_nameText = nullptr;
    EditText* m_mappedText = nullptr;
    ListControl* m_list = nullptr;
    Button* m_parametersButton = nullptr;
    Button* m_zoomButton = nullptr;
    Button* m_clearButton = nullptr;

    ResizePalette m_resize;
    EditSource m_editSource;
    EditMappedName m_editMappedName;
    SetParameters m_setParameters;
    ZoomOriginal m_zoom;
    ClearMapping m_clear;
    ChangeSelection m_changeSelection;
};

} // namespace zelvane::remap
