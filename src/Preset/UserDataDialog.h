// The modal manager of a user database: lists the records of an editable copy of the project's
// database, adds, deprecates, deletes for good and restores records, filters them by status, and
// on OK stores the copy (and the copy of the deleted records, when deletions are tracked) in the
// project. Nothing reaches the project before OK.
//
// Items: 1 and 2 OK and Cancel, 4 new, 5 delete, 6 restore, 9 the status pop-up and 10 its
// label (6, 9 and 10 hidden when restore is not offered), the name edit text and the list.
#pragma once

#include "Addon/ActionSubscriber.h"
#include "Addon/Addon.h"
#include "Addon/FocusEvent.h"
#include "Addon/ItemSubscriber.h"
#include "Addon/Message.h"
#include "Addon/ResizeEvent.h"
#include "Database/Project.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/DataFile.h"
#include "Environment/Host.h"
#include "Environment/StringUtilities.h"
#include "Interface/Button.h"
#include "Interface/ConfirmAlert.h"
#include "Interface/Dialog.h"
#include "Interface/EditText.h"
#include "Interface/ErrorAlert.h"
#include "Interface/StaticText.h"
#include "Preset/DeletedDatabase.h"
#include "Preset/UserDataListView.h"
#include "Preset/UserDataStatusFilter.h"
#include "Preset/UserDataStatusMenu.h"
#include "Preset/UserDatabaseCollection.h"
#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include <memory>
#include <vector>

namespace zelvane {

template <typename D>
class UserDataDialog : public Dialog {
public:
    using Key = typename D::Pair::first_type;
    using Pair = typename D::Pair;
    using RecordPtr = typename D::RecordPtr;
    using ListView = UserDataListView<D>;

    static constexpr short stringList = 32703;
    enum Item : Int16 {
        newItem = 4,
        deleteItem = 5,
        restoreItem = 6,
        importItem = 7,
        exportItem = 8,
        statusItem = 9,
        statusLabelItem = 10
    };

    // Edits a copy of the project's database of D (none without one), and with trackDeleted a
    // copy of its deleted records.
    UserDataDialog(Int16 dialogID, String const& title, bool trackDeleted)
        : Dialog(dialogID, true, true), m_title(title), m_insert(*this), m_delete(*this), m_restore(*this),
          m_import(*this), m_export(*this), m_status(*this), m_selection(*this), m_editName(*this),
          m_resize(*this) {
        Project* project = host.getProject();
        if (project == nullptr) {
            return;
        }
        if (auto* database = dynamic_cast<D*>(project->getPreference(D::ID.getFamily()))) {
            m_database.reset(database->cloneIndependent(nullptr));
            // The copy keeps the default, which OK leaves alone unless a current record is selected.
            m_database->setDefaultRecord(database->getDefault());
        }
        if (trackDeleted) {
            if (auto* deleted =
                    dynamic_cast<DeletedDatabase*>(project->getPreference(DeletedDatabase::ID.getFamily()))) {
                m_deleted.reset(deleted->cloneIndependent(nullptr));
            }
        }
    }
    UserDataDialog(UserDataDialog const&) = delete;
    UserDataDialog& operator=(UserDataDialog const&) = delete;

    // The item numbers of the list and of the name edit text.
    void setListIndex(Int16 item, Int16 rows, Int16 columns) {
        m_listItem = item;
        m_listRows = rows;
        m_listColumns = columns;
    }
    void setNameIndex(Int16 item) { m_nameItem = item; }
    Int16 getNameIndex() const { return m_nameItem; }

    D* getDatabase() const { return m_database.get(); }
    void setDatabase(D* database) {
        if (database != m_database.get()) {
            m_database.reset(database);
        }
    }
    DeletedDatabase* getDeletedDatabase() const { return m_deleted.get(); }
    String const& getTitleText() const { return m_title; }
    ListView* getListView() const { return m_view.get(); }
    UserDataStatusMenu* getStatusMenu() const { return m_statusMenu; }
    EditText* getNameControl() const { return m_name; }

    void handleInitialise() override {
        initialiseControls();
        initialiseSettings();
        initialiseSubscribers();
        populateList(Key());
    }

    // Records marked in the edited copy: the record of the key, or a deprecated placeholder.
    RecordPtr getRecord(Key const& key) const {
        return m_database ? m_database->getRecord(key, true) : nullptr;
    }
    // The key and record of the first selected row; a null key when nothing is selected.
    Pair getActiveRecord() const {
        Int16 row = m_view ? m_view->getList()->getSelectedRow(0) : ListControl::npos;
        if (row < 0) {
            return Pair();
        }
        Key key = m_view->getRecordIndex(row);
        return Pair(key, key == Key() ? nullptr : getRecord(key));
    }
    std::vector<Pair> getEditList() const {
        std::vector<Pair> list;
        if (m_view == nullptr) {
            return list;
        }
        ListControl* control = m_view->getList();
        for (Int16 row = control->getSelectedRow(0); row >= 0;
             row = control->getSelectedRow(Int16(row + 1))) {
            Key key = m_view->getRecordIndex(row);
            if (key != Key()) {
                list.emplace_back(key, getRecord(key));
            }
        }
        return list;
    }
    // A duplicate of the row's record, or with no row a record of the default template; its key.
    Key createRecord(Int16 row) {
        if (m_database == nullptr) {
            return Key();
        }
        Key source = row >= 0 ? m_view->getRecordIndex(row) : Key();
        return m_database->createRecord(source, String(), Key()).first;
    }
    // Lists the records again with the key's row selected, and answers that row.
    Int16 populateList(Key const& key) {
        Int16 row = -1;
        if (m_view != nullptr && m_database != nullptr) {
            row = m_view->refresh(*m_database, key);
        }
        refreshControls();
        return row;
    }
    void refreshControls() {
        Pair active = getActiveRecord();
        if (m_name != nullptr) {
            m_editKey = active.second != nullptr ? active.first : Key();
            m_name->setText(active.second != nullptr ? active.second->getName() : String());
        }
        bool selected = m_view != nullptr && m_view->getList()->getSelectedRow(0) >= 0;
        bool deprecated = active.second != nullptr && active.second->isDeprecated();
        if (m_restoreButton != nullptr) {
            m_restoreButton->setEnabled(deprecated);
        }
        if (m_deleteButton != nullptr) {
            m_deleteButton->setEnabled(m_deleted != nullptr ? selected : selected && !deprecated);
        }
        if (m_exportButton != nullptr) {
            m_exportButton->setEnabled(m_database != nullptr && m_database->size() > 0);
        }
    }
    // Trims the name in place; true when the record of `key` may take it. A deprecated holder of
    // the name gives it up for a unique one; a current holder refuses it with an alert unless
    // silent.
    bool testRecordName(Key const& key, String& name, bool silent) {
        name = trimmed(name);
        if (name.empty() || m_database == nullptr) {
            return false;
        }
        Key holder = m_database->findRecord(name, key);
        if (holder == Key()) {
            return true;
        }
        RecordPtr other = m_database->findRecord(holder, false);
        if (other != nullptr && other->isDeprecated()) {
            m_database->getUniqueName(other);
            return true;
        }
        if (!silent) {
            String text = host.getLocalString(stringList, 10);
            replaceAll(text, String("$1"), name);
            ErrorAlert().show(text);
        }
        return false;
    }
    // Renames the record when the name may be used, and shows its name again in any case.
    void applyEdit(Key const& key, String const& value) {
        RecordPtr record = m_database != nullptr ? m_database->findRecord(key, false) : nullptr;
        if (record == nullptr) {
            return;
        }
        String name = value;
        if (name != record->getName() && testRecordName(key, name, false)) {
            record->setName(name);
            takeSnapshot();
            m_view->getList()->deselectAll();
            populateList(key);
        }
        Int16 row = m_view->findRow(key);
        if (row >= 0) {
            m_view->getList()->setText(record->getName(), row, m_view->getNameColumn());
        }
        if (m_name != nullptr && m_editKey == key) {
            m_name->setText(record->getName());
        }
    }
    // Applies a name typed and not yet finished to the record it was typed for. Every action of
    // the dialog does so first: using another control finishes the edit.
    void commitPendingEdit() {
        if (m_name != nullptr && m_editKey != Key()) {
            applyEdit(m_editKey, m_name->getText());
        }
    }

    // Removes the row's record from the copy for good, remembered among the deleted records.
    void permanentlyDelete(Key const& key) {
        if (m_deleted == nullptr || m_database == nullptr || m_database->findRecord(key, false) == nullptr) {
            return;
        }
        if (m_deleted->recordDeletion(key, D::ID.getFamily()) != nullptr) {
            m_database->deleteRecord(key);
        }
    }

    // What a derived dialog may change.
    virtual void takeSnapshot() {}
    virtual bool isRestoreAvailable() const { return true; }
    virtual bool canButtonsMove() const { return true; }
    // True for a dialog whose controls keep the layout of its template: size changes move none.
    virtual bool isInitialSize() const { return false; }
    // Lays the list out once it took its new size: its columns share its width.
    virtual void resizeList() {
        if (m_view != nullptr) {
            m_view->resizeColumns();
        }
    }
    // Moves and stretches the controls by the change of the dialog's size: OK and Cancel (when
    // they may move), the status pop-up and its label move, the list grows and is laid out, the
    // side buttons follow its right edge, and the name edit text takes the name column's width.
    virtual void resize(ScreenPoint const& delta) {
        if (canButtonsMove()) {
            for (Int16 item : {Int16(1), Int16(2)}) {
                if (DialogControl* control = getControl(item)) {
                    control->offset(delta);
                }
            }
        }
        if (m_statusMenu != nullptr) {
            m_statusMenu->offset(delta);
            m_statusLabel->offset(delta);
        }
        if (m_view != nullptr) {
            m_view->getList()->resize(delta);
            resizeList();
        }
        for (Int16 item = newItem; item <= exportItem; ++item) {
            if (DialogControl* control = getControl(item)) {
                control->offset(ScreenPoint(delta.getX(), 0));
            }
        }
        if (m_view != nullptr && m_name != nullptr) {
            m_name->setWidth(m_view->getList()->getColumnStyle(m_view->getNameColumn()).getWidth());
        }
    }
    virtual bool showImportOptions(typename D::FilterList& /*filters*/) { return true; }
    virtual bool showExportOptions(typename D::FilterList& /*filters*/) { return true; }
    virtual String getExtensionStr() const { return "xml"; }
    // The string list holding the name of the dialog's file type, at index 4.
    virtual short getStrResourceID() const { return 32707; }
    String getFileTypeName() const { return host.getLocalString(getStrResourceID(), 4); }
    // The file types offered: the dialog's own.
    virtual void getFileFilters(std::vector<String>& names, std::vector<String>& extensions,
                                bool /*forExport*/) const {
        names.push_back(getFileTypeName());
        extensions.push_back(getExtensionStr());
    }
    // Writes the collection into the file of the dialog's own type. The file's old content is
    // replaced only once the whole document is written, so a failed write keeps it.
    virtual bool exportFromStorage(UserDatabaseCollection& collection, DataFile& file,
                                   String const& filterName, String const& extension) {
        if (filterName != getFileTypeName() || extension != getExtensionStr()) {
            return false;
        }
        return file.replaceContents([&collection](DataFile& out) {
            DataBufferOut stream(&out);
            XMLWriter writer(&stream);
            return writer.exportFrom(collection, true, true, true);
        });
    }
    // Reads a file of the dialog's own type into the collection. A document binding neither the
    // collection's root nor any database (an empty or foreign file) is not readable.
    virtual bool importToStorage(UserDatabaseCollection& collection, DataFile& file, String const& filterName,
                                 String const& extension) {
        if (filterName != getFileTypeName() || extension != getExtensionStr()) {
            return false;
        }
        auto* watched = dynamic_cast<ImportCollection*>(&collection);
        DataBufferIn in(&file, Encoding::utf8);
        XMLReader reader(&in);
        return reader.importTo(collection) && (watched == nullptr || watched->isBound());
    }
    // The last import stopped because the user cancelled it: nothing to report.
    virtual bool isImportCancelled() const { return false; }
    // Takes the merged copy out of the collection as the edited database; false when the
    // collection holds none of D.
    bool mergeStorage(UserDatabaseCollection& collection) {
        std::unique_ptr<Package> package(collection.releasePackage(D::ID.getFamily()));
        auto* database = dynamic_cast<D*>(package.get());
        if (database == nullptr) {
            return false;
        }
        package.release();
        setDatabase(database);
        return true;
    }
    // Records deleted before that came back with an import: their deleted records are deprecated.
    void updateDeletedDatabase() {
        if (m_deleted == nullptr || m_database == nullptr) {
            return;
        }
        for (auto const& entry : *m_deleted) {
            if (entry.second != nullptr && entry.second->getDatabaseID() == D::ID.getFamily() &&
                m_database->findRecord(entry.first, false) != nullptr) {
                entry.second->setDeprecated(true);
            }
        }
    }
    // Asks for a file and merges its records into a copy of the edited database, which replaces
    // it when the whole file was read; otherwise an alert, and the edited database stays.
    void importRecords() {
        typename D::FilterList filters;
        if (m_database == nullptr || !showImportOptions(filters)) {
            return;
        }
        String prompt = host.getLocalString(stringList, 11);
        replaceAll(prompt, String("$1"), m_title);
        std::vector<String> names;
        std::vector<String> extensions;
        getFileFilters(names, extensions, false);
        if (names.empty() || names.size() != extensions.size()) {
            return;
        }
        int selected = 0;
        std::unique_ptr<DataFile> file(DataFile::promptOpen(prompt, names, selected, nullptr, extensions,
                                                            std::vector<unsigned int>(), DataFile::readOnly));
        if (file == nullptr || selected < 0 || std::size_t(selected) >= names.size()) {
            return;
        }
        ImportCollection collection;
        m_database->initialiseStorage(collection, true, filters);
        Key kept = m_database->getDefault();
        if (!importToStorage(collection, *file, names[std::size_t(selected)],
                             extensions[std::size_t(selected)]) ||
            !mergeStorage(collection)) {
            if (!isImportCancelled()) {
                ErrorAlert().show(host.getLocalString(stringList, 14));
            }
            return;
        }
        // The independent copy the import merged into has no default: it keeps the edited one's.
        m_database->setDefaultRecord(kept);
        updateDeletedDatabase();
        m_view->getList()->deselectAll();
        populateList(Key());
    }
    // Asks for a file and writes the edited database into it; a failure is reported.
    void exportRecords() {
        typename D::FilterList filters;
        if (m_database == nullptr || !showExportOptions(filters)) {
            return;
        }
        String prompt = host.getLocalString(stringList, 12);
        replaceAll(prompt, String("$1"), m_title);
        std::vector<String> names;
        std::vector<String> extensions;
        getFileFilters(names, extensions, true);
        if (names.empty() || names.size() != extensions.size()) {
            return;
        }
        // No filter is pre-selected (the dialog opens on its first), so that `selected` changes only
        // when the user confirms: a chosen file that could not be made is then told, a cancel not.
        const int unanswered = int(names.size());
        int selected = unanswered;
        std::unique_ptr<DataFile> file(DataFile::promptSave(
            prompt, names, selected, nullptr, extensions, std::vector<unsigned int>(), DataFile::readWrite));
        if (file == nullptr && selected != unanswered) {
            ErrorAlert().show(host.getLocalString(stringList, 15));
            return;
        }
        if (file == nullptr || selected < 0 || std::size_t(selected) >= names.size()) {
            return;
        }
        if (addon != nullptr) {
            addon->checkIntegrity();
        }
        UserDatabaseCollection collection;
        m_database->initialiseStorage(collection, false, filters);
        if (!exportFromStorage(collection, *file, names[std::size_t(selected)],
                               extensions[std::size_t(selected)])) {
            // Only a new file the save dialog made goes: an empty file that stood there before, or
            // one a link of the chosen name leads to, is the user's.
            file->eraseMade();
            ErrorAlert().show(host.getLocalString(stringList, 15));
        }
    }

    // The selected record becomes the default, then the copies go to the project and the add-on
    // writes its project preferences. Should that fail, the project takes back what it held, the
    // dialog stays open and the user is told: OK stores all of the edits or none.
    void handleAccept(ActionEvent& event) override {
        Dialog::handleAccept(event);
        commitPendingEdit();
        Project* project = host.getProject();
        if (m_database == nullptr || project == nullptr) {
            return;
        }
        Pair active = getActiveRecord();
        if (active.first != Key()) {
            m_database->setDefaultRecord(active.first);
        }
        if (!storeInProject(*project)) {
            event.tellPublisher(std::make_shared<ItemMessage>(0));
            InterfacePanel::reportFailure();
        }
    }

protected:
    void initialiseControls() {
        m_view = std::make_unique<ListView>(*this, m_listItem, m_listRows, m_listColumns);
        new Button(ControlLink(newItem, this));
        m_deleteButton = new Button(ControlLink(deleteItem, this));
        m_restoreButton = new Button(ControlLink(restoreItem, this));
        new Button(ControlLink(importItem, this));
        m_exportButton = new Button(ControlLink(exportItem, this));
        m_statusMenu = new UserDataStatusMenu(ControlLink(statusItem, this));
        m_statusLabel = new StaticText(ControlLink(statusLabelItem, this));
        m_name = new EditText(ControlLink(m_nameItem, this));
        if (!isRestoreAvailable()) {
            m_restoreButton->setVisible(false);
            m_statusMenu->setVisible(false);
            m_statusLabel->setVisible(false);
        }
        m_view->addFilter(std::make_shared<UserDataStatusFilter<D>>(m_statusMenu));
    }
    void initialiseSettings() {
        if (isRestoreAvailable()) {
            m_statusMenu->initialise(UserDataStatusMenu::current);
        }
        m_view->initialise(m_name);
    }
    void initialiseSubscribers() {
        getControl(newItem)->addSubscriber(&m_insert);
        m_deleteButton->addSubscriber(&m_delete);
        m_exportButton->addSubscriber(&m_export);
        getControl(importItem)->addSubscriber(&m_import);
        m_view->getList()->addSubscriber(&m_selection);
        m_name->addSubscriber(&m_editName);
        addSubscriber(&m_resize);
        if (isRestoreAvailable()) {
            m_restoreButton->addSubscriber(&m_restore);
            m_statusMenu->addSubscriber(&m_status);
        }
    }

private:
    // Puts the copies into the project and has the add-on write its project preferences; false
    // when they could not be written. Should either fail, the project takes back the packages it
    // held. Preferences the add-on does not write while the project's stored data is unread
    // stay in the project, as every change of them does then.
    bool storeInProject(Project& project) {
        std::vector<Package const*> copies{m_database.get()};
        if (m_deleted != nullptr) {
            copies.push_back(m_deleted.get());
        }
        // The project's packages as they were, sharing their records.
        std::vector<std::unique_ptr<Package>> held;
        for (Package const* copy : copies) {
            Package const* present = project.getPreference(copy->getID());
            std::unique_ptr<Package> before(present != nullptr ? present->clone() : nullptr);
            held.push_back(std::move(before));
        }
        bool written = false;
        try {
            for (Package const* copy : copies) {
                project.setPreference(*copy, true);
            }
            written = addon == nullptr || addon->writePrefs(Addon::project) || addon->isProjectDataUnread();
        } catch (...) {
            giveBack(project, held);
            throw;
        }
        if (!written) {
            giveBack(project, held);
        }
        return written;
    }
    static void giveBack(Project& project, std::vector<std::unique_ptr<Package>>& held) {
        for (auto& package : held) {
            if (package != nullptr) {
                project.setPreference(package.release(), true);
            }
        }
    }

    // A collection that tells whether a document bound its root element or a database.
    class ImportCollection : public UserDatabaseCollection {
    public:
        using UserDatabaseCollection::addShipping;
        Shipping* addShipping(String const& tag, String const& nameSpace) override {
            Shipping* shipping = UserDatabaseCollection::addShipping(tag, nameSpace);
            if (shipping != nullptr || tag == String(getTag())) {
                m_bound = true;
            }
            return shipping;
        }
        bool isBound() const { return m_bound; }

    private:
        bool m_bound = false;
    };

    // Each handler reacts to one control of its dialog.
    class Handler {
    public:
        explicit Handler(UserDataDialog& dialog) : m_dialog(&dialog) {}

    protected:
        UserDataDialog& dialog() const { return *m_dialog; }

    private:
        UserDataDialog* m_dialog;
    };

    // New: a duplicate of the selection, or a record of the default template; the name edit
    // text takes the focus.
    class InsertAttribute : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent&) override {
            UserDataDialog& owner = this->dialog();
            owner.commitPendingEdit();
            owner.takeSnapshot();
            Int16 from = owner.m_view->getList()->getSelectedRow(0);
            Key key = owner.createRecord(from);
            owner.m_view->getList()->deselectAll();
            if (owner.populateList(key) >= 0) {
                owner.m_name->takeFocus();
            }
            return true;
        }
    };

    // Delete: current records are deprecated; deprecated ones, when deletions are tracked, are
    // deleted for good once the user confirms.
    class DeleteAttribute : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent&) override {
            UserDataDialog& owner = this->dialog();
            owner.commitPendingEdit();
            owner.takeSnapshot();
            std::vector<Key> deprecate;
            std::vector<Key> remove;
            for (Pair const& pair : owner.getEditList()) {
                if (pair.second == nullptr) {
                    continue;
                }
                if (!pair.second->isDeprecated()) {
                    deprecate.push_back(pair.first);
                } else if (owner.m_deleted != nullptr) {
                    remove.push_back(pair.first);
                }
            }
            for (Key const& key : deprecate) {
                owner.m_database->setDeprecated(key, true);
            }
            if (!remove.empty() &&
                ConfirmAlert(owner.m_title).show(host.getLocalString(stringList, 24), String(), String()) ==
                    1) {
                for (Key const& key : remove) {
                    owner.permanentlyDelete(key);
                }
            }
            owner.populateList(Key());
            return true;
        }
    };

    class RestoreAttribute : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent&) override {
            UserDataDialog& owner = this->dialog();
            owner.commitPendingEdit();
            owner.takeSnapshot();
            for (Pair const& pair : owner.getEditList()) {
                owner.m_database->setDeprecated(pair.first, false);
            }
            owner.populateList(Key());
            return true;
        }
    };

    class ImportAttribute : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent&) override {
            this->dialog().commitPendingEdit();
            this->dialog().importRecords();
            return true;
        }
    };

    class ExportAttribute : public ActionSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ActionEvent&) override {
            this->dialog().commitPendingEdit();
            this->dialog().exportRecords();
            return true;
        }
    };

    // A new status choice lists the records of that status, none selected.
    class ChangeStatus : public ItemSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ItemEvent&) override {
            UserDataDialog& owner = this->dialog();
            owner.commitPendingEdit();
            owner.takeSnapshot();
            owner.m_view->getList()->deselectAll();
            owner.populateList(Key());
            return true;
        }
    };

    // A row change first finishes the name typed for the record before.
    class ChangeSelection : public ItemSubscriber, Handler {
    public:
        using Handler::Handler;
        bool handleEvent(ItemEvent&) override {
            UserDataDialog& owner = this->dialog();
            Int16 row = owner.m_view->getList()->getSelectedRow(0);
            Key chosen = row >= 0 ? owner.m_view->getRecordIndex(row) : Key();
            owner.commitPendingEdit();
            if (chosen != Key() &&
                owner.m_view->getList()->getSelectedRow(0) != owner.m_view->findRow(chosen)) {
                owner.m_view->getList()->deselectAll();
                owner.m_view->selectRowWith(chosen);
            }
            // The name edit text, the name column's editor, leaves the row it was on with that
            // row's committed name before it shows the chosen record's.
            ListControl* list = owner.m_view->getList();
            list->setProxyRow(list->getSelectedRow(0));
            owner.refreshControls();
            return false;
        }
    };

    // The name edit text losing the focus finishes the edit.
    class EditName : public Subscriber, Handler {
    public:
        using Handler::Handler;
        void getSpec(std::vector<EventSpec>& specs) const override {
            specs.push_back(EventSpec(InterfaceEvent::ID, FocusEvent::ID));
        }
        bool takeEvent(Event& event) override {
            auto* focus = dynamic_cast<FocusEvent*>(&event);
            if (focus == nullptr || focus->isGainingFocus()) {
                return false;
            }
            this->dialog().commitPendingEdit();
            return true;
        }
    };

    // A size change of the dialog moves its controls; the end of a resize redraws the dialog.
    class ResizeDialog : public Subscriber, Handler {
    public:
        using Handler::Handler;
        void getSpec(std::vector<EventSpec>& specs) const override {
            specs.push_back(EventSpec(InterfaceEvent::ID, ResizeEvent::ID));
        }
        bool takeEvent(Event& event) override {
            auto* resize = dynamic_cast<ResizeEvent*>(&event);
            if (resize == nullptr) {
                return false;
            }
            UserDataDialog& owner = this->dialog();
            switch (resize->getState()) {
            case ResizeEvent::resizing:
                if (owner.isInitialSize() || (resize->getHGrow() == 0 && resize->getVGrow() == 0)) {
                    return false;
                }
                owner.resize(ScreenPoint(resize->getHGrow(), resize->getVGrow()));
                return true;
            case ResizeEvent::resizeExited:
                owner.redraw();
                return true;
            default:
                return false;
            }
        }
    };

    static String trimmed(String const& text) {
        std::string value = text.data();
        std::size_t first = value.find_first_not_of(" \t\r\n");
        if (first == std::string::npos) {
            return String();
        }
        std::size_t last = value.find_last_not_of(" \t\r\n");
        return String(value.substr(first, last - first + 1).c_str());
    }

    String m_title;
    std::unique_ptr<D> m_database;
    std::unique_ptr<DeletedDatabase> m_deleted;
    InsertAttribute m_insert;
    DeleteAttribute m_delete;
    RestoreAttribute m_restore;
    ImportAttribute m_import;
    ExportAttribute m_export;
    ChangeStatus m_status;
    ChangeSelection m_selection;
    EditName m_editName;
    ResizeDialog m_resize;
    std::unique_ptr<ListView> m_view;
    // Owned by the dialog, which deletes them when it closes.
    Button* m_deleteButton = nullptr;
    Button* m_restoreButton = nullptr;
    Button* m_exportButton = nullptr;
    UserDataStatusMenu* m_statusMenu = nullptr;
    StaticText* m_statusLabel = nullptr;
    EditText* m_name = nullptr;
    // The record whose name the name edit text shows.
    Key m_editKey;
    Int16 m_nameItem = 11;
    Int16 m_listItem = 3;
    Int16 m_listRows = 0;
    Int16 m_listColumns = 1;
};

} // namespace zelvane
