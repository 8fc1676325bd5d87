// The remapping command's start after collecting: the object-map file is read, created or
// replaced, the mapping dialog runs and a last question decides whether the elements are remapped.
#include "MappingFixture.h"
#include "Remap/MappingDialog.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/SpecificationList.h"
#include "sim/AddOns.h"
#include "sim/Dialogs.h"
#include "sim/ElementTable.h"
#include "sim/Files.h"
#include "sim/Output.h"
#include "sim/Sim.h"

#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;
using K = sim::DialogAction;

namespace {

const char* const damaged = "<objectMap><specificationList objectType=\"nonsense\"/></objectMap>";

class InitialiseTest : public remap_test::MappingFixture {
protected:
    void SetUp() override {
        MappingFixture::SetUp();
        // The preferences the add-on writes into the project.
        addon->addPreference(RemappingPrefs(), Addon::project);
        API_Element record;
        record.header.typeID = API_ObjectID;
        record.object.libInd = addPart("Chair").getIndex();
        sim::addElement(record);
    }
    // The texts of the alerts shown from the n-th on.
    static std::vector<std::string> alertTexts(std::size_t from = 0) {
        std::vector<std::string> texts;
        for (std::size_t index = from; index < sim::alerts().size(); ++index) {
            texts.push_back(sim::alerts()[index].largeText);
        }
        return texts;
    }
    static std::size_t openedDialogs() {
        std::size_t count = 0;
        for (const sim::DialogRecord& dialog : sim::dialogs()) {
            count += dialog.resourceID == MappingDialog::resourceID ? 1 : 0;
        }
        return count;
    }
    static std::string moduleData() {
        std::string all;
        for (const auto& entry : sim::currentAddOn().moduleData) {
            all.append(entry.second.bytes.begin(), entry.second.bytes.end());
        }
        return all;
    }
    static void writeMapFile(const std::string& text) {
        std::filesystem::create_directories(objectMapFile().parent_path());
        remap_test::writeFile(objectMapFile(), text);
    }
};

const std::string removeQuestion = "The object map could not be read. Replace it with an empty one?";
const std::string remapQuestion = "Remap the elements now?";

} // namespace

TEST_F(InitialiseTest, TheFileTheDialogAndTheLastQuestion) {
    struct Case {
        const char* what;
        const char* file; // null: none
        std::vector<short> answers;
        sim::DialogScript script; // null: the dialog is not expected
        bool result;
        std::vector<std::string> alerts;
        bool replaced;              // the file holds a readable map afterwards
        const char* call = nullptr; // a call failing once while the file is read
        int skip = 0;
        GSErrCode code = ErrIO;
    };
    const sim::DialogScript ok{userAction(K::closeOK)};
    const std::vector<std::string> stopped{"The object map could not be read, so remapping stopped."};
    // A readable map, but for a seek, a length or a read failing: nothing was found broken, and the
    // map is neither offered to be replaced nor replaced.
    const std::string declared = "<?xml version=\"1.0\"?><objectMap/>";
    const std::string marked = "\xEF\xBB\xBF" + declared;
    const std::vector<Case> cases{
        {"no file: made, then remapped", nullptr, {1}, ok, true, {remapQuestion}, true},
        {"the last question declined", nullptr, {2}, ok, false, {remapQuestion}, true},
        {"the dialog cancelled", nullptr, {}, {userAction(K::closeCancel)}, false, {}, true},
        {"an unreadable file replaced", damaged, {1, 1}, ok, true, {removeQuestion, remapQuestion}, true},
        {"an unreadable file kept", damaged, {2}, {}, false, {removeQuestion, stopped[0]}, false},
        {"a readable file", "<objectMap/>", {1}, ok, true, {remapQuestion}, true},
        {"the seek back from its declaration fails",
         declared.c_str(),
         {},
         {},
         false,
         stopped,
         false,
         "IO::File::SetPosition",
         1},
        {"its length before its mark fails",
         marked.c_str(),
         {},
         {},
         false,
         stopped,
         false,
         "IO::File::GetDataLength"},
        {"the read of its mark fails", marked.c_str(), {}, {}, false, stopped, false, sim::fileReadCall},
        {"its open fails", damaged, {}, {}, false, stopped, false, sim::fileOpenCall},
        // Not found at the open, its folder gone at that instant, say: a new map is made only where
        // none stands, at the start and at the dialog's OK, and the one there is kept.
        {"its open answers not found",
         damaged,
         {1},
         ok,
         true,
         {"The object map could not be written.", "The object map could not be written.", remapQuestion},
         false,
         sim::fileOpenCall,
         0,
         ErrNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(objectMapFile());
        std::size_t alerts = sim::alerts().size();
        std::size_t dialogs = openedDialogs();
        if (c.file != nullptr) {
            writeMapFile(c.file);
        }
        for (short answer : c.answers) {
            sim::queueAlertAnswer(answer);
        }
        if (!c.script.empty()) {
            sim::queueDialogScript(MappingDialog::resourceID, c.script);
        }
        if (c.call != nullptr) {
            sim::failCall(c.call, c.code, 1, c.skip);
        }
        ObjectMapTransaction transaction(ObjectMap::GSM);
        EXPECT_EQ(transaction.initialise(), c.result);
        sim::clearFaults();
        EXPECT_EQ(alertTexts(alerts), c.alerts);
        EXPECT_EQ(openedDialogs() - dialogs, c.script.empty() ? 0u : 1u);
        if (c.replaced) {
            ObjectMap read;
            EXPECT_EQ(readObjectMap(read), ObjectMapFile::read);
        } else {
            EXPECT_EQ(remap_test::readFile(objectMapFile()), c.file) << "the file is kept as it was";
        }
    }
}

TEST_F(InitialiseTest, OkStoresTheChosenSourceInTheProject) {
    writeMapFile("<objectMap><specificationList sourceName=\"Shop\" objectType=\"GSM\"/></objectMap>");
    sim::queueDialogScript(MappingDialog::resourceID,
                           {userAction(K::selectRow, 4, 5), userAction(K::closeOK)});
    sim::queueAlertAnswer(2);
    ObjectMapTransaction transaction(ObjectMap::GSM);
    EXPECT_FALSE(transaction.initialise());
    EXPECT_EQ(prefs().getSourceName(ObjectMap::GSM), "Shop");
    EXPECT_NE(moduleData().find("<gsmSource>Shop</gsmSource>"), std::string::npos)
        << "written to the project before the last question";
    EXPECT_EQ(sim::consoleText(), "");
}

TEST_F(InitialiseTest, PreferencesTheProjectRefusesAreToldAndTheCommandGoesOn) {
    writeMapFile("<objectMap><specificationList sourceName=\"Shop\" objectType=\"GSM\"/></objectMap>");
    sim::queueDialogScript(MappingDialog::resourceID,
                           {userAction(K::selectRow, 4, 5), userAction(K::closeOK)});
    sim::queueAlertAnswer(1);
    sim::failCall("ACAPI_ModulData_Store", APIERR_GENERAL);
    ObjectMapTransaction transaction(ObjectMap::GSM);
    EXPECT_TRUE(transaction.initialise());
    EXPECT_EQ(sim::consoleText(), "The project preferences of the add-on could not be written.\n");
    EXPECT_EQ(alertTexts(), std::vector<std::string>{remapQuestion});
    EXPECT_EQ(prefs().getSourceName(ObjectMap::GSM), "Shop") << "kept in the open project for the run";
    EXPECT_EQ(moduleData().find("Shop"), std::string::npos);
}

TEST_F(InitialiseTest, AFailedWriteOfANewMapIsShownAndTheDialogStillOpens) {
    std::filesystem::create_directories(objectMapFile().parent_path());
    sim::failCreate(ErrIO, 10);
    sim::queueDialogScript(MappingDialog::resourceID, {userAction(K::closeCancel)});
    ObjectMapTransaction transaction(ObjectMap::GSM);
    EXPECT_FALSE(transaction.initialise());
    EXPECT_EQ(alertTexts(), std::vector<std::string>{"The object map could not be written."});
    EXPECT_EQ(openedDialogs(), 1u);
    EXPECT_FALSE(std::filesystem::exists(objectMapFile()));
    ASSERT_EQ(transaction.getObjectMap().getLists().size(), 5u) << "a default list per kind in memory";
}

TEST_F(InitialiseTest, WithoutAPreferencesFolderTheCommandStopsWithANotice) {
    writeMapFile("<objectMap/>");
    sim::queueDialogScript(MappingDialog::resourceID, {userAction(K::closeOK)});
    // The folder cannot be found, or there is no add-on to say where it is.
    for (bool withAddon : {true, false}) {
        SCOPED_TRACE(withAddon ? "the folder lookup fails" : "no add-on");
        std::size_t alerts = sim::alerts().size();
        Addon* running = addon;
        if (withAddon) {
            sim::failCall("IO::Folder::New", ErrIO, -1);
        } else {
            addon = nullptr;
        }
        ObjectMapTransaction transaction(ObjectMap::GSM);
        EXPECT_FALSE(transaction.initialise());
        sim::clearFaults();
        addon = running;
        EXPECT_EQ(alertTexts(alerts),
                  std::vector<std::string>{"The object map could not be read, so remapping stopped."});
        EXPECT_EQ(openedDialogs(), 0u);
        EXPECT_EQ(sim::pendingDialogScripts(MappingDialog::resourceID), 1u);
        EXPECT_EQ(remap_test::readFile(objectMapFile()), "<objectMap/>");
    }
}
