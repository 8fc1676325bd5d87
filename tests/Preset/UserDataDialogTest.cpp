#include "Preset/UserDataDialog.h"
#include "Addon/TestAddon.h"
#include "Database/Project.h"
#include "DialogAddonFixture.h"
#include "Environment/DataBufferOut.h"
#include "Environment/Host.h"
#include "Interface/InterfacePanel.h"
#include "NoteDatabase.h"
#include "Preset/UserDatabaseCollection.h"
#include "XML/XMLWriter.h"
#include "sim/Clock.h"
#include "sim/Dialogs.h"
#include "sim/FileDialogs.h"
#include "sim/Files.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

using NoteDialog = UserDataDialog<NoteDatabase>;
using K = sim::DialogAction;

// A project holding notes Alpha (2), Beta (1), Delta (4) and the deprecated Gamma (3), and a
// register of deleted records.
class UserDataDialogTest : public DialogAddonTest {
protected:
    void SetUp() override {
        DialogAddonTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        resetNotes();
    }
    // The notes and deleted records the tests start from, in the packages the project holds.
    void resetNotes() {
        if (projectNotes() == nullptr) {
            host.getProject()->setPreference(NoteDatabase(), false);
            host.getProject()->setPreference(DeletedDatabase(), false);
        }
        NoteDatabase& notes = *projectNotes();
        notes.clear();
        projectDeleted()->clear();
        notes.createRecord(Guid(), "Beta", key(1));
        notes.createRecord(Guid(), "Alpha", key(2));
        notes.createRecord(Guid(), "Gamma", key(3));
        notes.setDeprecated(key(3), true);
        notes.createRecord(Guid(), "Delta", key(4));
    }
    void TearDown() override {
        // The project outlives the test: its databases go now.
        host.getProject()->setPreference(NoteDatabase(), false);
        host.getProject()->setPreference(DeletedDatabase(), false);
        DialogAddonTest::TearDown();
    }
    NoteDatabase* projectNotes() const {
        return dynamic_cast<NoteDatabase*>(host.getProject()->getPreference(NoteDatabase::ID.getFamily()));
    }
    DeletedDatabase* projectDeleted() const {
        return dynamic_cast<DeletedDatabase*>(
            host.getProject()->getPreference(DeletedDatabase::ID.getFamily()));
    }
    // Each note's name, and "-" after a deprecated one; "gone" for a missing one.
    std::vector<std::string> states() const {
        std::vector<std::string> result;
        for (unsigned int n = 1; n <= 4; ++n) {
            auto record = projectNotes()->findRecord(key(n), false);
            result.push_back(record == nullptr ? "gone"
                                               : std::string(record->getName().data()) +
                                                     (record->isDeprecated() ? "-" : ""));
        }
        return result;
    }
    Int16 run(bool track, sim::DialogScript script) {
        NoteDialog dialog(32604, "Notes", track);
        sim::queueDialogScript(32604, std::move(script));
        return dialog.show();
    }
};

TEST_F(UserDataDialogTest, DeleteDeprecatesCurrentRecordsAndDeletesDeprecatedOnesWhenConfirmed) {
    struct Case {
        bool track;
        short answer;
        std::vector<std::string> notes;
        std::size_t alerts;
        bool gammaDeleted;
    };
    const Case cases[] = {
        {false, 1, {"Beta", "Alpha-", "Gamma-", "Delta"}, 0, false},
        {true, 2, {"Beta", "Alpha-", "Gamma-", "Delta"}, 1, false},
        {true, 1, {"Beta", "Alpha-", "gone", "Delta"}, 1, true},
    };
    for (const Case& c : cases) {
        resetNotes();
        std::size_t before = sim::alerts().size();
        if (c.alerts > 0) {
            sim::queueAlertAnswer(c.answer);
        }
        // All records: Alpha, Beta, Delta, Gamma; Alpha and Gamma selected.
        EXPECT_EQ(run(c.track, {sim::userAction(K::selectRow, 9, 0), sim::userAction(K::clickRow, 3, 0),
                                sim::userAction(K::clickRow, 3, 3, 0, "command"),
                                sim::userAction(K::click, 5), sim::userAction(K::click, 1)}),
                  1);
        EXPECT_EQ(states(), c.notes) << c.track << " " << c.answer;
        EXPECT_EQ(sim::alerts().size() - before, c.alerts);
        if (c.alerts > 0) {
            EXPECT_EQ(sim::alerts().back().title, "Notes");
        }
        auto deleted = projectDeleted()->findRecord(key(3), false);
        EXPECT_EQ(deleted != nullptr, c.gammaDeleted);
        if (deleted != nullptr) {
            EXPECT_EQ(deleted->getDatabaseID(), NoteDatabase::ID.getFamily());
            EXPECT_FALSE(deleted->isDeprecated());
        }
    }
}

TEST_F(UserDataDialogTest, OKStoresEveryEditOrNone) {
    // Writes the project's preferences as it is told to.
    class WritingAddon : public testing_addon::TestAddon {
    public:
        enum Write { normally, refused, throwing } write = normally;
        bool writePrefs(Context context) override {
            if (context == project && write == refused) {
                return false;
            }
            if (context == project && write == throwing) {
                throw std::bad_alloc();
            }
            return TestAddon::writePrefs(context);
        }
    };
    struct Case {
        const char* name;
        WritingAddon::Write write;
        bool unread; // the project's stored preferences could not be read
        bool stored;
    };
    const Case cases[] = {
        {"written", WritingAddon::normally, false, true},
        {"not written", WritingAddon::refused, false, false},
        {"failed to write", WritingAddon::throwing, false, false},
        // Nothing is written over unread data: the edits stay in the project, as every change
        // of its preferences does then.
        {"unread", WritingAddon::normally, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetNotes();
        addon = nullptr;
        auto writing = std::make_unique<WritingAddon>();
        writing->write = c.write;
        m_addon = std::move(writing);
        addon = m_addon.get();
        if (c.unread) {
            sim::failCall("ACAPI_ModulData_GetInfo", APIERR_GENERAL);
            m_addon->readPrefs(Addon::project, false);
        }
        int failures = m_addon->failures;
        sim::queueAlertAnswer(1);
        // All records: Alpha deprecated and Gamma deleted for good, then OK.
        Int16 result = run(true, {sim::userAction(K::selectRow, 9, 0), sim::userAction(K::clickRow, 3, 0),
                                  sim::userAction(K::clickRow, 3, 3, 0, "command"),
                                  sim::userAction(K::click, 5), sim::userAction(K::click, 1)});
        EXPECT_EQ(result, c.stored ? 1 : 2) << "a failed OK leaves the dialog open, closed as cancelled";
        EXPECT_EQ(m_addon->failures - failures, c.stored ? 0 : 1) << "the add-on's failure report";
        const std::vector<std::string> stored{"Beta", "Alpha-", "gone", "Delta"};
        const std::vector<std::string> kept{"Beta", "Alpha", "Gamma-", "Delta"};
        EXPECT_EQ(states(), c.stored ? stored : kept);
        EXPECT_EQ(projectDeleted()->findRecord(key(3), false) != nullptr, c.stored);
    }
}

TEST_F(UserDataDialogTest, CancelLeavesTheProjectUntouched) {
    EXPECT_EQ(run(true, {sim::userAction(K::clickRow, 3, 0), sim::userAction(K::click, 5),
                         sim::userAction(K::click, 4), sim::userAction(K::click, 2)}),
              2);
    EXPECT_EQ(states(), (std::vector<std::string>{"Beta", "Alpha", "Gamma-", "Delta"}));
    EXPECT_EQ(projectNotes()->size(), 4u);
}

TEST_F(UserDataDialogTest, NewRecordsAndRestore) {
    struct Case {
        sim::DialogScript script;
        std::vector<std::string> notes;
        std::size_t size;
        std::string added;
    };
    const Case cases[] = {
        // A duplicate of the selected Beta.
        {{sim::userAction(K::clickRow, 3, 1), sim::userAction(K::click, 4), sim::userAction(K::click, 1)},
         {"Beta", "Alpha", "Gamma-", "Delta"},
         5,
         "Beta1"},
        // Nothing selected: a record of the default template.
        {{sim::userAction(K::click, 4), sim::userAction(K::click, 1)},
         {"Beta", "Alpha", "Gamma-", "Delta"},
         5,
         "New record"},
        // Deprecated records shown, Gamma restored.
        {{sim::userAction(K::selectRow, 9, 2), sim::userAction(K::clickRow, 3, 0),
          sim::userAction(K::click, 6), sim::userAction(K::click, 1)},
         {"Beta", "Alpha", "Gamma", "Delta"},
         4,
         ""},
    };
    for (const Case& c : cases) {
        resetNotes();
        EXPECT_EQ(run(false, c.script), 1);
        EXPECT_EQ(states(), c.notes);
        EXPECT_EQ(projectNotes()->size(), c.size);
        if (!c.added.empty()) {
            Guid added = projectNotes()->findRecord(String(c.added.c_str()), Guid());
            EXPECT_TRUE(bool(added)) << c.added;
            EXPECT_EQ(projectNotes()->getDefault(), added) << "the new record was selected at OK";
        }
    }
}

TEST_F(UserDataDialogTest, OKMakesTheSelectedCurrentRecordTheDefault) {
    projectNotes()->setDefaultRecord(key(1));
    struct Case {
        Int32 status;
        Int32 row;
        unsigned int expected;
    };
    // Rows: current Alpha, Beta, Delta; deprecated Gamma alone.
    const Case cases[] = {{1, 2, 4}, {2, 0, 1}};
    for (const Case& c : cases) {
        projectNotes()->setDefaultRecord(key(1));
        EXPECT_EQ(run(false, {sim::userAction(K::selectRow, 9, c.status),
                              sim::userAction(K::clickRow, 3, c.row), sim::userAction(K::click, 1)}),
                  1);
        EXPECT_EQ(projectNotes()->getDefault(), key(c.expected));
    }
}

TEST_F(UserDataDialogTest, RenamingFromTheNameEditText) {
    struct Case {
        const char* typed;
        K::Kind finish;
        std::vector<std::string> notes;
        const char* alert;
    };
    // Beta (row 1) is selected and renamed; the edit finishes by losing the focus, by a row
    // change or by OK.
    const Case cases[] = {
        {"  Omega\t", K::leaveFocus, {"Omega", "Alpha", "Gamma-", "Delta"}, nullptr},
        {" \t ", K::leaveFocus, {"Beta", "Alpha", "Gamma-", "Delta"}, nullptr},
        {"Alpha",
         K::leaveFocus,
         {"Beta", "Alpha", "Gamma-", "Delta"},
         "The name \"Alpha\" is used by another record."},
        {"Gamma", K::leaveFocus, {"Gamma", "Alpha", "Gamma1-", "Delta"}, nullptr},
        {"Omega", K::clickRow, {"Omega", "Alpha", "Gamma-", "Delta"}, nullptr},
        {"Omega", K::closeOK, {"Omega", "Alpha", "Gamma-", "Delta"}, nullptr},
    };
    for (const Case& c : cases) {
        resetNotes();
        std::size_t before = sim::alerts().size();
        sim::DialogScript script{sim::userAction(K::clickRow, 3, 1),
                                 sim::userAction(K::setText, 11, 0, 0, c.typed)};
        if (c.finish == K::clickRow) {
            script.push_back(sim::userAction(K::clickRow, 3, 2));
        } else if (c.finish == K::leaveFocus) {
            script.push_back(sim::userAction(K::leaveFocus, 11));
        }
        script.push_back(sim::userAction(K::click, 1));
        EXPECT_EQ(run(false, script), 1);
        EXPECT_EQ(states(), c.notes) << c.typed;
        ASSERT_EQ(sim::alerts().size() - before, c.alert != nullptr ? 1u : 0u) << c.typed;
        if (c.alert != nullptr) {
            EXPECT_EQ(sim::alerts().back().largeText, c.alert);
        }
    }
}

// Notes the names the list shows and the editor of its name column when OK is clicked.
class CellDialog : public NoteDialog {
public:
    CellDialog() : NoteDialog(32604, "Notes", false) {}
    void handleAccept(ActionEvent& event) override {
        ListControl* list = getListView()->getList();
        for (Int16 row = 0; row < list->getRows(); ++row) {
            names.push_back(list->getText(row, 0).data());
        }
        DialogControl* editor = list->getProxyControl(0);
        editorItem = editor != nullptr ? editor->getIndex(0) : 0;
        NoteDialog::handleAccept(event);
    }
    std::vector<std::string> names;
    Int16 editorItem = 0;
};

TEST_F(UserDataDialogTest, TheNameEditTextEditsTheNameColumn) {
    struct Case {
        const char* typed;
        std::vector<std::string> names;
    };
    // Beta (row 1) takes the typed name, then Delta is clicked: each row keeps its own name.
    const Case cases[] = {
        {"Alpha", {"Alpha", "Beta", "Delta"}},
        {" ", {"Alpha", "Beta", "Delta"}},
        {"Omega", {"Alpha", "Delta", "Omega"}},
    };
    for (const Case& c : cases) {
        resetNotes();
        CellDialog dialog;
        sim::queueDialogScript(32604, {sim::userAction(K::clickRow, 3, 1),
                                       sim::userAction(K::setText, 11, 0, 0, c.typed),
                                       sim::userAction(K::clickRow, 3, 2), sim::userAction(K::click, 1)});
        EXPECT_EQ(dialog.show(), 1) << c.typed;
        EXPECT_EQ(dialog.names, c.names) << c.typed;
        EXPECT_EQ(dialog.editorItem, 11) << "the list, item 3, takes item 11 as its name column's editor";
    }
}

std::string contentOf(std::filesystem::path const& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(UserDataDialogTest, EveryActionFinishesAPendingNameEdit) {
    std::filesystem::path file = sim::sandboxRoot() / "pending.xml";
    std::filesystem::create_directories(file.parent_path());
    struct Case {
        const char* name;
        sim::DialogAction action;
        const char* beta;
        bool exported;
    };
    // Omega is typed for Beta (row 1), then another control is used before OK.
    const Case cases[] = {
        {"new", sim::userAction(K::click, 4), "Omega", false},
        {"delete", sim::userAction(K::click, 5), "Omega-", false},
        {"status", sim::userAction(K::selectRow, 9, 0), "Omega", false},
        {"export", sim::userAction(K::click, 8), "Omega", true},
    };
    for (const Case& c : cases) {
        resetNotes();
        std::filesystem::remove(file);
        if (c.exported) {
            sim::queueFileDialogChoice(file);
        }
        EXPECT_EQ(
            run(false, {sim::userAction(K::clickRow, 3, 1), sim::userAction(K::setText, 11, 0, 0, "Omega"),
                        c.action, sim::userAction(K::click, 1)}),
            1)
            << c.name;
        EXPECT_EQ(states()[0], c.beta) << c.name;
        if (c.exported) {
            EXPECT_NE(contentOf(file).find("Omega"), std::string::npos) << "the file has the finished name";
        }
    }
}

TEST_F(UserDataDialogTest, ExportWritesTheEditedRecords) {
    std::filesystem::path file = sim::sandboxRoot() / "notes.xml";
    struct Case {
        bool confirm;
        bool failWrite;
        bool written;
        bool fresh; // the chosen file did not exist
        std::size_t alerts;
        bool failOpen = false;              // no file can be opened
        bool folder = false;                // the chosen name is a folder's: no file can be made
        mode_t node = 0;                    // the chosen file is a FIFO (with a reader) or a device
        const char* before = "old content"; // what the chosen file held
        bool link = false;                  // the chosen name is a link to that file elsewhere
    };
    // The failing write comes last: the fault stays armed.
    const Case cases[] = {{true, false, true, false, 0},
                          {false, false, false, false, 0},
                          {true, false, false, false, 1, true},
                          {true, false, false, false, 1, false, true},
                          {true, false, true, false, 0, false, false, S_IFIFO},
                          {true, false, true, false, 0, false, false, S_IFCHR},
                          {true, true, false, false, 1},
                          {true, true, false, true, 1},
                          {true, true, false, false, 1, false, false, S_IFCHR},
                          // An empty file the user had is no file the export made.
                          {true, true, false, false, 1, false, false, 0, ""},
                          {true, true, false, false, 1, false, false, 0, "", true}};
    bool deviceRowsSkipped = false;
    for (const Case& c : cases) {
        resetNotes();
        std::filesystem::remove_all(file);
        std::filesystem::create_directories(file.parent_path());
        const std::filesystem::path elsewhere = file.parent_path() / "elsewhere" / "kept.xml";
        std::filesystem::remove_all(elsewhere.parent_path());
        std::filesystem::create_directories(elsewhere.parent_path());
        std::ofstream(c.link ? elsewhere : file, std::ios::binary) << c.before;
        if (c.link) {
            std::filesystem::create_symlink(elsewhere, file);
        }
        if (c.fresh || c.folder) {
            std::filesystem::remove(file);
        }
        if (c.folder) {
            std::filesystem::create_directory(file);
        }
        if (c.node == S_IFCHR && ::geteuid() != 0) {
            deviceRowsSkipped = true;
            continue;
        }
        int reader = -1;
        if (c.node != 0) {
            std::filesystem::remove(file);
            ASSERT_EQ(::mknod(file.c_str(), c.node | 0600, makedev(1, 3)), 0);
            reader = c.node == S_IFIFO ? ::open(file.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        }
        std::size_t before = sim::alerts().size();
        if (c.confirm) {
            sim::queueFileDialogChoice(file);
        } else {
            sim::queueFileDialogCancel();
        }
        if (c.failWrite) {
            sim::failWritesAfter(0);
        }
        if (c.failOpen) {
            sim::failCall("IO::File::Open", ErrIO, -1);
        }
        // Beta renamed in the dialog, exported, then cancelled: the file has the edited copy.
        EXPECT_EQ(
            run(false, {sim::userAction(K::clickRow, 3, 1), sim::userAction(K::setText, 11, 0, 0, "Omega"),
                        sim::userAction(K::leaveFocus, 11), sim::userAction(K::click, 8),
                        sim::userAction(K::click, 2)}),
            2);
        sim::clearFaults();
        std::string text = c.node == 0 ? contentOf(file) : std::string(65536, '\0');
        if (c.node != 0) {
            text.resize(
                std::size_t(std::max(::read(reader, &text[0], text.size()), ssize_t(0)))); // a device: none
            ::close(reader);
            struct stat info {};
            EXPECT_TRUE(::lstat(file.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == c.node)
                << "written in place, and never removed";
        }
        if (c.fresh) {
            EXPECT_FALSE(std::filesystem::exists(file)) << "a new file that could not be written is removed";
        } else if (c.folder) {
            EXPECT_TRUE(std::filesystem::is_directory(file));
        } else if (c.written && c.node != S_IFCHR) {
            EXPECT_EQ(text.rfind("<?xml", 0), 0u) << text;
            EXPECT_NE(text.find("<notes>"), std::string::npos) << text;
            EXPECT_NE(text.find("Omega"), std::string::npos) << text;
            EXPECT_NE(text.find("Gamma"), std::string::npos) << "deprecated records go too";
            EXPECT_EQ(text.find("Beta"), std::string::npos);
        } else if (c.node == 0) {
            EXPECT_TRUE(std::filesystem::exists(file)) << "a failed or cancelled export keeps the file";
            EXPECT_EQ(text, c.before);
            EXPECT_EQ(std::filesystem::is_symlink(file), c.link);
        }
        std::filesystem::remove_all(elsewhere.parent_path());
        if (c.link) {
            std::filesystem::remove(file);
        }
        EXPECT_EQ(sim::alerts().size() - before, c.alerts);
        if (c.alerts > 0) {
            EXPECT_EQ(sim::alerts().back().largeText, "The file could not be written.");
        }
        ASSERT_FALSE(sim::fileDialogs().empty());
        EXPECT_EQ(sim::fileDialogs().back().title, "Export Notes");
        EXPECT_EQ(sim::fileDialogs().back().filters.size(), 1u);
        EXPECT_EQ(states()[0], "Beta") << "the project is untouched after Cancel";
    }
    std::filesystem::remove(file);
    if (deviceRowsSkipped) {
        GTEST_SKIP() << "the rows of a character device need root, to make one";
    }
}

// A notes file: Beta renamed an hour later (key 1), Alpha an hour earlier (key 2), and the new
// Epsilon (key 5) and Zeta (key 6).
std::string notesFile() {
    NoteDatabase file;
    sim::setClock(2024, 3, 5, 10, 4, 0);
    file.createRecord(Guid(), "Beta later", key(1));
    file.createRecord(Guid(), "Epsilon", key(5));
    file.createRecord(Guid(), "Zeta", key(6));
    sim::setClock(2024, 3, 5, 8, 4, 0);
    file.createRecord(Guid(), "Alpha earlier", key(2));
    sim::setClock(2024, 3, 5, 9, 4, 0);
    UserDatabaseCollection collection;
    file.initialiseStorage(collection, false, NoteDatabase::FilterList());
    String text;
    {
        DataBufferOut out(&text);
        XMLWriter writer(&out);
        EXPECT_TRUE(writer.exportFrom(collection));
    }
    return text.data();
}

TEST_F(UserDataDialogTest, ImportMergesNewerRecordsIntoTheEditedCopy) {
    std::filesystem::path file = sim::sandboxRoot() / "import.xml";
    const std::vector<std::string> unchanged{"Beta", "Alpha", "Gamma-", "Delta"};
    struct Case {
        const char* name;
        std::string content; // empty with cancel
        bool cancel;
        std::vector<std::string> notes;
        std::size_t size;
        const char* alert;
        bool fifo = false;          // read without waiting for a writer
        const char* call = nullptr; // a call failing once while the file is read
        int skip = 0;
    };
    const Case cases[] = {
        {"merged", notesFile(), false, {"Beta later", "Alpha", "Gamma-", "Delta"}, 6, nullptr},
        {"cancelled", "", true, unchanged, 4, nullptr},
        {"empty", "", false, unchanged, 4, "The file could not be read."},
        {"foreign", "<?xml version=\"1.0\"?><other><x/></other>", false, unchanged, 4,
         "The file could not be read."},
        {"broken", "<notes><noteDatabase><records>", false, unchanged, 4, "The file could not be read."},
        {"a FIFO", "", false, unchanged, 4, "The file could not be read.", true},
        {"the seek back from its start", notesFile(), false, unchanged, 4, "The file could not be read.",
         false, "IO::File::SetPosition", 1},
    };
    for (const Case& c : cases) {
        resetNotes();
        projectNotes()->setDefaultRecord(key(1));
        std::filesystem::create_directories(file.parent_path());
        std::filesystem::remove(file);
        if (c.fifo) {
            ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
        } else {
            std::ofstream(file, std::ios::binary) << c.content;
        }
        std::size_t before = sim::alerts().size();
        int live = NoteDatabase::live;
        if (c.cancel) {
            sim::queueFileDialogCancel();
        } else {
            sim::queueFileDialogChoice(file);
        }
        if (c.call != nullptr) {
            sim::failCall(c.call, ErrIO, 1, c.skip);
        }
        EXPECT_EQ(run(false, {sim::userAction(K::click, 7), sim::userAction(K::click, 1)}), 1) << c.name;
        sim::clearFaults();
        EXPECT_EQ(NoteDatabase::live, live) << c.name << ": every copy freed";
        EXPECT_EQ(states(), c.notes) << c.name;
        EXPECT_EQ(projectNotes()->size(), c.size) << c.name;
        EXPECT_EQ(projectNotes()->getDefault(), key(1)) << c.name << ": OK keeps the project's default";
        ASSERT_EQ(sim::alerts().size() - before, c.alert != nullptr ? 1u : 0u) << c.name;
        if (c.alert != nullptr) {
            EXPECT_EQ(sim::alerts().back().largeText, c.alert);
        }
        EXPECT_EQ(sim::fileDialogs().back().title, "Import Notes");
        std::filesystem::remove(file); // no FIFO is left for a later writer to wait on
    }
}

TEST_F(UserDataDialogTest, ImportedRecordsThatWereDeletedComeBack) {
    std::filesystem::path file = sim::sandboxRoot() / "import.xml";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << notesFile();
    projectDeleted()->recordDeletion(key(6), NoteDatabase::ID.getFamily());
    projectDeleted()->recordDeletion(key(5), MakeGSType("OTHR"));
    sim::queueFileDialogChoice(file);
    EXPECT_EQ(run(true, {sim::userAction(K::click, 7), sim::userAction(K::click, 1)}), 1);
    ASSERT_NE(projectNotes()->findRecord(key(6), false), nullptr);
    EXPECT_TRUE(projectDeleted()->findRecord(key(6), false)->isDeprecated()) << "it came back";
    EXPECT_FALSE(projectDeleted()->findRecord(key(5), false)->isDeprecated())
        << "deleted from another database";
}

// Notes the states of the delete, restore and export buttons when OK is clicked.
class StateDialog : public NoteDialog {
public:
    StateDialog(bool track) : NoteDialog(32604, "Notes", track) {}
    void handleAccept(ActionEvent& event) override {
        for (Int16 item : {5, 6, 8}) {
            states += getControl(item)->isEnabled() ? "1" : "0";
        }
        NoteDialog::handleAccept(event);
    }
    std::string states;
};

TEST_F(UserDataDialogTest, ButtonStatesFollowTheSelection) {
    struct Case {
        const char* name;
        bool track;
        bool empty;
        sim::DialogScript script;
        const char* states; // delete, restore, export
    };
    const Case cases[] = {
        {"nothing selected", false, false, {}, "001"},
        {"current", false, false, {sim::userAction(K::clickRow, 3, 0)}, "101"},
        {"deprecated",
         false,
         false,
         {sim::userAction(K::selectRow, 9, 2), sim::userAction(K::clickRow, 3, 0)},
         "011"},
        {"deprecated, tracked",
         true,
         false,
         {sim::userAction(K::selectRow, 9, 2), sim::userAction(K::clickRow, 3, 0)},
         "111"},
        {"after deprecating",
         false,
         false,
         {sim::userAction(K::clickRow, 3, 0), sim::userAction(K::click, 5)},
         "001"},
        {"after a new record", false, false, {sim::userAction(K::click, 4)}, "101"},
        {"status change",
         false,
         false,
         {sim::userAction(K::clickRow, 3, 0), sim::userAction(K::selectRow, 9, 0)},
         "001"},
        {"empty database", false, true, {}, "000"},
    };
    for (const Case& c : cases) {
        resetNotes();
        if (c.empty) {
            projectNotes()->clear();
        }
        StateDialog dialog(c.track);
        sim::DialogScript script = c.script;
        script.push_back(sim::userAction(K::click, 1));
        sim::queueDialogScript(32604, script);
        EXPECT_EQ(dialog.show(), 1) << c.name;
        EXPECT_EQ(dialog.states, c.states) << c.name;
    }
}

// Notes where the controls are when OK is clicked, and how often the dialog was redrawn. It may
// keep its template's layout, or lay its list out itself (leaving the columns as they are).
class LayoutDialog : public NoteDialog {
public:
    explicit LayoutDialog(bool initialSize = false, bool ownList = false)
        : NoteDialog(32604, "Notes", false), m_initialSize(initialSize), m_ownList(ownList) {}
    bool isInitialSize() const override { return m_initialSize; }
    void resizeList() override {
        ++listLayouts;
        if (!m_ownList) {
            NoteDialog::resizeList();
        }
    }
    void handleAccept(ActionEvent& event) override {
        for (Int16 item : {1, 3, 4, 8, 9, 10, 11}) {
            ScreenRect bounds = getControl(item)->getBounds();
            rects[item] = {bounds.getOrigin().getX(), bounds.getOrigin().getY(), bounds.getEnd().getX(),
                           bounds.getEnd().getY()};
        }
        nameColumn = getListView()->getList()->getColumnStyle(0).getWidth();
        redraws = sim::findPanel(getDialogID())->redraws;
        NoteDialog::handleAccept(event);
    }
    std::map<Int16, std::vector<int>> rects;
    int nameColumn = 0;
    int redraws = 0;
    int listLayouts = 0;

private:
    bool m_initialSize;
    bool m_ownList;
};

TEST_F(UserDataDialogTest, ResizingMovesAndStretchesTheControls) {
    using Changes = std::vector<std::pair<Int16, std::vector<int>>>; // left, top, right, bottom
    const Changes moved = {
        {1, {40, 30, 40, 30}}, {3, {0, 0, 40, 30}},   {4, {40, 0, 40, 0}},
        {8, {40, 0, 40, 0}},   {9, {40, 30, 40, 30}}, {10, {40, 30, 40, 30}},
    };
    const Changes kept = {{1, {0, 0, 0, 0}}, {3, {0, 0, 0, 0}}, {9, {0, 0, 0, 0}}};
    struct Case {
        const char* name;
        bool initialSize;
        bool ownList;
        Changes changes;
        int columnGrowth;
        int listLayouts;
    };
    const Case cases[] = {
        {"laid out", false, false, moved, 40, 1},
        {"the template's layout kept", true, false, kept, 0, 0},
        {"the list laid out by the dialog", false, true, moved, 0, 1},
    };
    for (const Case& c : cases) {
        LayoutDialog still(c.initialSize, c.ownList);
        sim::queueDialogScript(32604, {sim::userAction(K::click, 1)});
        ASSERT_EQ(still.show(), 1);
        LayoutDialog grown(c.initialSize, c.ownList);
        sim::DialogAction resize = sim::userAction(K::resize);
        resize.h = 40;
        resize.v = 30;
        sim::queueDialogScript(32604, {resize, sim::userAction(K::click, 1)});
        ASSERT_EQ(grown.show(), 1);
        for (const auto& change : c.changes) {
            std::vector<int> found;
            for (std::size_t k = 0; k < 4; ++k) {
                found.push_back(grown.rects[change.first][k] - still.rects[change.first][k]);
            }
            EXPECT_EQ(found, change.second) << c.name << " " << change.first;
        }
        EXPECT_EQ(grown.nameColumn - still.nameColumn, c.columnGrowth) << c.name;
        EXPECT_EQ(grown.rects[11][2] - grown.rects[11][0], grown.nameColumn)
            << c.name << ": the name edit text spans the column";
        EXPECT_EQ(grown.listLayouts, c.listLayouts) << c.name;
        EXPECT_EQ(grown.redraws - still.redraws, 1) << c.name << ": the end of the resize redraws the dialog";
    }
}

} // namespace
