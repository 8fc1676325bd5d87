#include "Remap/ObjectMapFile.h"
#include "Environment/DataBufferIn.h"
#include "Environment/Directory.h"
#include "Library/ParameterList.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapTransaction.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/RemappingAddon.h"
#include "Remap/SpecificationList.h"
#include "RemapFixture.h"
#include "fileio/FileError.h"
#include "sim/Dialogs.h"
#include "sim/Files.h"
#include "sim/Output.h"
#include "sim/Sim.h"
#include "support/ModeRestored.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

namespace fs = std::filesystem;

// Two lists: one with an object rule and a door rule, one without rules.
ObjectMap sampleMap() {
    ObjectMap map;
    map.addSource(String("Site & <Co>"), ObjectMap::IFC);
    map.addSource(String("Default"), ObjectMap::legacy);
    auto* chair = new ObjectSpecification;
    chair->setOriginalName(String("Chair"));
    chair->setMappedName(String("Chair 21"));
    map.getLists()[0]->push_back(chair);
    auto* door = new ObjectSpecification;
    door->setMappedType(APILib_DoorID);
    door->setOriginalName(String("D\"1\""));
    door->setMappedName(String("Door 'A'"));
    door->setMappedObjectGuid(String("{0A1B2C3D-0000-4000-8000-00000000000F}"));
    map.getLists()[0]->push_back(door);
    return map;
}

const std::string sampleText =
    std::string(remap_test::declaration) +
    "<objectMap>\n"
    "\t<specificationList sourceName=\"Site &amp; &lt;Co&gt;\" objectType=\"IFC\">\n"
    "\t\t<objectSpecification>\n"
    "\t\t\t<originalName>Chair</originalName>\n"
    "\t\t\t<mappedName>Chair 21</mappedName>\n"
    "\t\t\t<mappedObjectGuid></mappedObjectGuid>\n"
    "\t\t</objectSpecification>\n"
    "\t\t<objectSpecification mappedType=\"door\">\n"
    "\t\t\t<originalName>D&quot;1&quot;</originalName>\n"
    "\t\t\t<mappedName>Door &apos;A&apos;</mappedName>\n"
    "\t\t\t<mappedObjectGuid>{0A1B2C3D-0000-4000-8000-00000000000F}</mappedObjectGuid>\n"
    "\t\t</objectSpecification>\n"
    "\t</specificationList>\n"
    "\t<specificationList sourceName=\"Default\" objectType=\"legacy\"/>\n"
    "</objectMap>\n";

bool readText(ObjectMap& map, const std::string& text) {
    String source(text.c_str());
    DataBufferIn stream(source);
    return readObjectMap(map, stream);
}

class ObjectMapFileTest : public RemapTest {
protected:
    void SetUp() override {
        RemapTest::SetUp();
        folder = sim::specialFolder("Preferences") / "Library Part Remapping";
        file = folder / "Object Map.xml";
        fs::remove_all(folder);
    }
    void TearDown() override {
        addon = nullptr;
        RemapTest::TearDown();
    }

    fs::path folder, file;
};

} // namespace

TEST_F(ObjectMapFileTest, WrittenExactly) {
    ObjectMap map = sampleMap();
    EXPECT_EQ(remap_test::xmlOf(map), sampleText);
}

TEST_F(ObjectMapFileTest, ReadBack) {
    ObjectMap map;
    map.addSource(String("stale"), ObjectMap::GSM);
    ASSERT_TRUE(readText(map, sampleText));
    ASSERT_EQ(map.getLists().size(), 5u) << "the two read, then one for each kind without a list";
    EXPECT_EQ(map.getLists()[0]->getSourceName(), "Site & <Co>");
    EXPECT_EQ(map.getLists()[1]->getType(), ObjectMap::legacy);
    const SpecificationList& rules = *map.getLists()[0];
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules.front()->getMappedType(), APILib_ObjectID) << "no attribute reads as object";
    EXPECT_EQ(rules.back()->getMappedType(), APILib_DoorID);
    EXPECT_EQ(rules.back()->getOriginalName(), "D\"1\"");
    EXPECT_EQ(rules.back()->getMappedObjectGuid(), "{0A1B2C3D-0000-4000-8000-00000000000F}");
    for (std::size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(map.getLists()[i]->getSourceName(), "Default");
        EXPECT_EQ(map.getLists()[i]->getType(), static_cast<ObjectMap::Type>(i - 1)) << "DWG, GSM, missing";
    }
    // Read again, written again: the same bytes but for the default lists.
    ObjectMap again;
    ASSERT_TRUE(readText(again, remap_test::xmlOf(map)));
    EXPECT_EQ(remap_test::xmlOf(again), remap_test::xmlOf(map));
}

TEST_F(ObjectMapFileTest, WhatTheMapDoesNotTakeComesBackWhereItStood) {
    // What a later version added, around and inside the root, a list, a rule, its custom
    // parameters and a parameter: read, a rule changed and written, three times.
    std::string text =
        "<?xml version=\"1.0\"?>\n<?pi a?><!-- before --><objectMap later=\"1\" specificationList=\"e\"><!-- "
        "lists -->"
        "<specificationList sourceName=\"A\" objectType=\"IFC\" xmlns:l=\"urn:l\" l:x=\"y\">"
        "<later>1</later><l:objectSpecification><originalName>x</originalName></l:objectSpecification>"
        "<sourceName>B</sourceName><objectSpecification mappedType=\"door\" extra=\"e\">"
        "<originalName>o0</originalName><originalName>o</originalName><note>n &amp; m</note>"
        "<mappedName xmlns=\"urn:l\">z</mappedName><mappedName>m</mappedName>"
        "<customParameters parameter=\"p\"><!-- c --><parameter name=\"A\" type=\"length\" "
        "unit=\"mm\"><value>1</value><name>B</name><later/></parameter>"
        "<parameter name=\"A\" type=\"float\"><value>2</value></parameter>"
        "</customParameters></objectSpecification>"
        "</specificationList>text &lt; between</objectMap><!-- after -->";
    const std::string written =
        std::string(remap_test::declaration) +
        "<?pi a?>\n<!-- before -->\n<objectMap later=\"1\" specificationList=\"e\">\n\t<!-- lists -->\n"
        "\t<specificationList sourceName=\"A\" objectType=\"IFC\" xmlns:l=\"urn:l\" l:x=\"y\">\n"
        "\t\t<later>1</later>\n"
        // Elements of another namespace than the fields' are kept as they were.
        "\t\t<l:objectSpecification><originalName>x</originalName></l:objectSpecification>\n"
        // So are elements of a field that an attribute gave, or a later element of it.
        "\t\t<sourceName>B</sourceName>\n"
        "\t\t<objectSpecification mappedType=\"door\" extra=\"e\">\n"
        "\t\t\t<originalName>o0</originalName>\n\t\t\t<originalName>o</originalName>\n\t\t\t<note>n &amp; "
        "m</note>\n\t\t\t<mappedName xmlns=\"urn:l\">z</mappedName>\n\t\t\t<mappedName>m2</mappedName>\n"
        "\t\t\t<mappedObjectGuid></mappedObjectGuid>\n\t\t\t<customParameters parameter=\"p\">\n\t\t\t\t<!-- "
        "c -->\n"
        "\t\t\t\t<parameter name=\"A\" type=\"length\" unit=\"mm\">\n\t\t\t\t\t<value>1</value>\n"
        "\t\t\t\t\t<name>B</name>\n\t\t\t\t\t<later/>\n\t\t\t\t</parameter>\n"
        // A second parameter of the name keeps only what its own element held.
        "\t\t\t\t<parameter name=\"A\" type=\"float\">\n\t\t\t\t\t<value>2</value>\n\t\t\t\t</parameter>\n"
        "\t\t\t</customParameters>\n\t\t</objectSpecification>\n"
        "\t</specificationList>\n\ttext &lt; between\n";
    for (int round = 0; round < 3; ++round) {
        ObjectMap map;
        ASSERT_TRUE(readText(map, text)) << text;
        ASSERT_EQ(map.getLists().size(), 5u) << "an attribute of a list's tag makes no list";
        ObjectSpecification& rule = *map.getLists()[0]->front();
        ASSERT_NE(rule.getCustomParameters(), nullptr);
        EXPECT_EQ(rule.getCustomParameters()->size(), 2u) << "nor one of a parameter's tag a parameter";
        rule.setMappedName(String("m2"));
        // A copy keeps it too, as the mapping dialog's working map does.
        ObjectMap copy;
        copy = map;
        text = remap_test::xmlOf(copy);
        EXPECT_EQ(text.substr(0, written.size()), written);
        const std::string end = "</objectMap>\n<!-- after -->\n";
        EXPECT_EQ(text.substr(text.size() - end.size()), end);
    }
}

TEST_F(ObjectMapFileTest, EmptyMapReadsAsOneDefaultListPerKind) {
    for (const char* text :
         {"<objectMap/>", "<?xml version=\"1.0\"?><objectMap></objectMap>",
          "<objectMap><other>x</other><specificationList sourceName=\"A\" objectType=\"DWG\" "
          "extra=\"1\"><objectSpecification><originalName>o</originalName><unknown/>"
          "</objectSpecification></specificationList></objectMap>"}) {
        ObjectMap map;
        ASSERT_TRUE(readText(map, text)) << text;
        std::size_t defaults = 0;
        for (const SpecificationList* list : map.getLists()) {
            defaults += list->getSourceName() == "Default";
        }
        EXPECT_GE(map.getLists().size(), 5u) << text;
        EXPECT_GE(defaults, 4u) << text;
        for (std::size_t kind = 0; kind < ObjectMap::typeCount; ++kind) {
            EXPECT_TRUE(map.getLists().isSpecificationFor(static_cast<ObjectMap::Type>(kind))) << text;
        }
    }
}

TEST_F(ObjectMapFileTest, EachReadFailureFailsTheWholeRead) {
    for (const char* text : {
             "",                                 // nothing
             "<?xml version=\"1.0\"?>",          // a declaration only
             "<remappingPrefs/>",                // a foreign root
             "<l:objectMap xmlns:l=\"urn:l\"/>", // a root of another namespace
             "<objectMap xmlns=\"urn:l\"></objectMap>",
             "<objectMap>", // never closed
             "<objectMap><specificationList sourceName=\"A\" objectType=\"ifc\"/></objectMap>",
             "<objectMap><specificationList sourceName=\"A\" objectType=\"none\"/></objectMap>",
             "<objectMap><specificationList objectType=\"GSM\"/></objectMap>", // no name
             "<objectMap><specificationList sourceName=\"\" objectType=\"GSM\"/></objectMap>",
             "<objectMap><specificationList sourceName=\"A\" objectType=\"GSM\">"
             "<objectSpecification mappedType=\"Door\"/></specificationList></objectMap>",
             "<objectMap><specificationList sourceName=\"A\" objectType=\"GSM\">"
             "<objectSpecification mappedType=\"label\"/></specificationList></objectMap>",
             "<objectMap><specificationList sourceName=\"A\" objectType=\"GSM\">"
             "<objectSpecification><originalName>x</mappedName></objectSpecification></specificationList></"
             "objectMap>",
         }) {
        ObjectMap map;
        EXPECT_FALSE(readText(map, text)) << text;
        EXPECT_FALSE(map.isComplete()) << text;
    }
}

TEST_F(ObjectMapFileTest, WrittenIntoTheAddonsFolder) {
    ObjectMap map = sampleMap();
    EXPECT_FALSE(writeObjectMap(map)) << "no add-on, no folder";
    EXPECT_FALSE(fs::exists(folder));
    ASSERT_EQ(sim::alerts().size(), 1u) << "a map that cannot be kept is told of";
    EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be written.");

    RemappingAddon remapping;
    addon = &remapping;
    // The folder cannot be found: as a failed write.
    sim::failCall("IO::Folder::New", ErrIO, -1);
    EXPECT_FALSE(writeObjectMap(map));
    sim::clearFaults();
    EXPECT_FALSE(fs::exists(folder));
    ASSERT_EQ(sim::alerts().size(), 2u);
    EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be written.");

    String name;
    std::unique_ptr<Directory> location(getObjectMapLocation(name, false));
    ASSERT_NE(location, nullptr);
    EXPECT_EQ(name, "Object Map");
    ASSERT_TRUE(writeObjectMap(map));
    EXPECT_EQ(remap_test::readFile(file), sampleText);
    EXPECT_EQ(sim::alerts().size(), 2u);
    EXPECT_EQ(fs::directory_iterator(folder)->path(), file) << "nothing left beside it";

    // A private map stays private when it is saved again.
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeObjectMap(map));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ObjectMapFileTest, FailedWriteKeepsTheOldFile) {
    RemappingAddon remapping;
    addon = &remapping;
    ObjectMap map = sampleMap();
    using Fault = void (*)();
    struct Case {
        const char* step;
        Fault fault;
    };
    for (const Case& c : {
             Case{"create", [] { sim::failCreate(); }},
             Case{"write", [] { sim::failWritesAfter(40); }},
             Case{"flush", [] { sim::failFlush(); }},
             Case{"rename", [] { sim::failRename(); }},
         }) {
        // The first write fails: no file, not even an empty one.
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::size_t alerts = sim::alerts().size();
        c.fault();
        EXPECT_FALSE(writeObjectMap(map)) << c.step;
        sim::clearFaults();
        sim::reset();
        ASSERT_TRUE(remap_test::loadAddonResources());
        EXPECT_FALSE(fs::exists(file)) << c.step;
        EXPECT_TRUE(fs::is_empty(folder)) << c.step << ": no temporary file left";

        ObjectMap old;
        old.initialise();
        ASSERT_TRUE(writeObjectMap(old)) << c.step;
        std::string before = remap_test::readFile(file);
        alerts = sim::alerts().size();
        c.fault();
        EXPECT_FALSE(writeObjectMap(map)) << c.step;
        ASSERT_EQ(sim::alerts().size(), alerts + 1) << c.step;
        EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be written.") << c.step;
        sim::reset();
        ASSERT_TRUE(remap_test::loadAddonResources());
        EXPECT_EQ(remap_test::readFile(file), before) << c.step << ": the old file byte for byte";
    }
}

TEST_F(ObjectMapFileTest, AMapNoReadAcceptsIsNotWritten) {
    RemappingAddon remapping;
    addon = &remapping;
    ObjectMap old;
    old.initialise();
    ASSERT_TRUE(writeObjectMap(old));
    std::string before = remap_test::readFile(file);
    for (API_LibTypeID type : {APILib_ZombieID, APILib_LabelID}) {
        ObjectMap map = sampleMap();
        map.getLists()[0]->back()->setMappedType(type);
        EXPECT_FALSE(map.isWritable()) << type;
        const std::size_t alerts = sim::alerts().size();
        EXPECT_FALSE(writeObjectMap(map)) << type;
        ASSERT_EQ(sim::alerts().size(), alerts + 1) << type;
        EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be written.");
        EXPECT_EQ(remap_test::readFile(file), before);
    }
    ObjectMap none;
    none.addSource(String("A"), ObjectMap::none);
    EXPECT_FALSE(none.isWritable());
    EXPECT_TRUE(sampleMap().isWritable());
}

TEST_F(ObjectMapFileTest, AMapMadeAfterTheCommandFoundNoneIsKept) {
    // Another program makes the map as the command looks for the folder again to make its own.
    class Meanwhile : public RemappingAddon {
    public:
        explicit Meanwhile(const fs::path& file) : m_file(file) {}
        Directory* getUserPrefsDirectory() const override {
            if (++m_looks == 2) {
                remap_test::writeFile(m_file, "<objectMap/>");
            }
            return RemappingAddon::getUserPrefsDirectory();
        }

    private:
        fs::path m_file;
        mutable int m_looks = 0;
    } remapping(file);
    addon = &remapping;
    ObjectMapTransaction transaction(ObjectMap::GSM);
    EXPECT_TRUE(transaction.loadObjectMap());
    EXPECT_EQ(remap_test::readFile(file), "<objectMap/>");
    ASSERT_EQ(sim::alerts().size(), 1u);
    EXPECT_EQ(sim::alerts()[0].largeText, "The object map could not be written.");
    EXPECT_TRUE(transaction.mapMustBeNew()) << "nor is it saved over from the dialog";

    // Made by the command itself, the map is its own to save over.
    fs::remove(file);
    ObjectMapTransaction second(ObjectMap::GSM);
    EXPECT_TRUE(second.loadObjectMap());
    EXPECT_FALSE(second.mapMustBeNew());
    EXPECT_NE(remap_test::readFile(file), "<objectMap/>");
}

TEST_F(ObjectMapFileTest, AnotherUsersFolderOfTheAddonsNameIsNotTaken) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's folder needs root, to give one away";
    }
    // The player's preferences folder left open to all, another user's folder of the add-on's name
    // put in it.
    const uid_t other = 4242;
    const fs::path preferences = folder.parent_path();
    const testing_support::ModeRestored restored(preferences);
    fs::permissions(preferences, fs::perms::all);
    fs::create_directories(folder);
    ASSERT_EQ(::chown(folder.c_str(), other, other), 0);
    fs::permissions(folder, fs::perms::all);
    RemappingAddon remapping;
    addon = &remapping;
    const std::string before = sim::consoleText();
    ObjectMap map = sampleMap();
    EXPECT_EQ(readObjectMap(map), ObjectMapFile::noFolder);
    EXPECT_FALSE(writeObjectMap(map, true));
    EXPECT_FALSE(writeObjectMap(map));
    EXPECT_TRUE(fs::is_empty(folder)) << "nothing of the player's goes into it";
    const std::string told =
        "The object map is not read from or written to Preferences/Library Part Remapping: it "
        "is another user's entry, which does not hold this user's files.\n";
    EXPECT_EQ(sim::consoleText(), before + told + told + told);
    ASSERT_FALSE(sim::alerts().empty()) << "a map not written is told of";
    EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be written.");
    fs::remove_all(folder);
}

TEST_F(ObjectMapFileTest, AFolderRefusedAsTheFileIsUsedIsToldAsAtTheLook) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's folder needs root, to give one away";
    }
    // The add-on's folder is the player's link to a folder of the player's, which lies in another
    // user's folder where all may write: the look by its name finds the player's folder, the file's
    // use meets the other user's on its way.
    const fs::path preferences = folder.parent_path();
    const fs::path mine = preferences / "open/theirs/mine";
    fs::create_directories(mine);
    fs::permissions(preferences / "open", fs::perms::all);
    ASSERT_EQ(::chown((preferences / "open/theirs").c_str(), 4242, 4242), 0);
    fs::create_directory_symlink("open/theirs/mine", folder);
    remap_test::writeFile(mine / "Object Map.xml", sampleText);
    RemappingAddon remapping;
    addon = &remapping;
    const std::string before = sim::consoleText();
    const std::size_t alerts = sim::alerts().size();
    ObjectMap map = sampleMap();
    EXPECT_EQ(readObjectMap(map), ObjectMapFile::refused);
    EXPECT_FALSE(writeObjectMap(map));
    // The folder told is the one refused, on the way to the player's own.
    const std::string told =
        "The object map is not read from or written to Preferences/Library Part Remapping: its way "
        "passes through open/theirs: it is another user's entry, which does not hold this user's files.\n";
    EXPECT_EQ(sim::consoleText(), before + told + told);
    ASSERT_EQ(sim::alerts().size(), alerts + 1);
    EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be written.");
    EXPECT_EQ(remap_test::readFile(mine / "Object Map.xml"), sampleText);
    fs::remove(folder);
    fs::remove_all(preferences / "open");
}

// The add-on's folder exchanged, in the player's preferences folder left open to all, for another
// user's between the look and the read: the map is neither offered to be replaced nor replaced, and
// the command stops as for a folder refused at the look.
TEST_F(ObjectMapFileTest, AFolderExchangedAfterTheLookStopsTheCommandUnasked) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's folder needs root, to give one away";
    }
    // The folder handed out by the add-on takes the exchange as the read takes it up, after the look.
    class Exchanged : public Directory {
    public:
        Exchanged(const Directory& folder, std::function<void()> exchange)
            : Directory(folder), m_exchange(std::move(exchange)) {}
        IO::Folder* getData() const override {
            if (m_exchange) {
                std::exchange(m_exchange, nullptr)();
            }
            return Directory::getData();
        }

    private:
        mutable std::function<void()> m_exchange;
    };
    class Meanwhile : public RemappingAddon {
    public:
        explicit Meanwhile(std::function<void()> exchange) : m_exchange(std::move(exchange)) {}
        Directory* getUserPrefsDirectory() const override {
            const std::unique_ptr<Directory> folder(RemappingAddon::getUserPrefsDirectory());
            return folder != nullptr ? new Exchanged(*folder, m_exchange) : nullptr;
        }

    private:
        std::function<void()> m_exchange;
    };
    // The preferences folder as it is, and as the player's link to a folder of the player's: the
    // folder told is the one refused, as the user names it.
    const fs::path preferences = folder.parent_path();
    const fs::path real = preferences.parent_path() / "prefs";
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "the preferences folder a link of the player's" : "the preferences folder");
        const testing_support::ModeRestored restored(preferences);
        if (linked) {
            fs::rename(preferences, real);
            fs::create_directory_symlink("prefs", preferences);
        }
        fs::permissions(preferences, fs::perms::all);
        fs::create_directories(folder);
        remap_test::writeFile(file, sampleText);
        const fs::path moved = preferences / "moved";
        Meanwhile remapping([&] {
            fs::rename(folder, moved);
            fs::create_directory(folder);
            ASSERT_EQ(::chown(folder.c_str(), 4242, 4242), 0);
            fs::permissions(folder, fs::perms::all);
        });
        addon = &remapping;
        const std::string before = sim::consoleText();
        const std::size_t alerts = sim::alerts().size();
        // An alert with no answer queued answers yes, as the player answered.
        ObjectMapTransaction transaction(ObjectMap::GSM);
        EXPECT_FALSE(transaction.loadObjectMap());
        ASSERT_EQ(sim::alerts().size(), alerts + 1) << "no question asked";
        EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be read, so remapping stopped.");
        EXPECT_EQ(sim::consoleText(),
                  before + "The object map is not read from or written to Preferences/Library Part "
                           "Remapping: it is another user's entry, which does not hold this user's "
                           "files.\n");
        EXPECT_TRUE(fs::is_empty(folder)) << "nothing of the player's goes into it";
        fs::remove_all(folder);
        fs::rename(moved, folder);
        EXPECT_EQ(remap_test::readFile(file), sampleText) << "the player's map is kept";
        addon = nullptr;
        if (linked) {
            fs::remove(preferences);
            fs::rename(real, preferences);
        }
    }
}

TEST_F(ObjectMapFileTest, ReadFromTheAddonsFolder) {
    ObjectMap map = sampleMap();
    EXPECT_EQ(readObjectMap(map), ObjectMapFile::noFolder);
    EXPECT_EQ(map.getLists().size(), 2u) << "left as it was";

    RemappingAddon remapping;
    addon = &remapping;
    EXPECT_EQ(readObjectMap(map), ObjectMapFile::absent);
    EXPECT_EQ(map.getLists().size(), 2u);
    ASSERT_TRUE(writeObjectMap(map));

    ObjectMap read;
    ASSERT_EQ(readObjectMap(read), ObjectMapFile::read);
    EXPECT_EQ(read.getLists()[0]->getSourceName(), "Site & <Co>");
    EXPECT_EQ(read.getLists()[0]->size(), 2u);

    // A byte-order mark is taken as it stands; a map its owner may only read is read.
    remap_test::writeFile(file, "\xEF\xBB\xBF" + sampleText);
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(readObjectMap(read), ObjectMapFile::read);
    EXPECT_EQ(read.getLists()[0]->getSourceName(), "Site & <Co>");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);

    // A FIFO holds no map, and is read without waiting for a writer; without a reader it is not
    // written, and the user is told, without waiting for one.
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(readObjectMap(read), ObjectMapFile::unreadable);
    std::size_t alerts = sim::alerts().size();
    EXPECT_FALSE(writeObjectMap(map));
    ASSERT_EQ(sim::alerts().size(), alerts + 1);
    EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be written.");
    EXPECT_TRUE(fs::is_fifo(file));
    fs::remove(file);
    EXPECT_TRUE(fs::is_empty(file.parent_path())) << "no temporary file left";
}

// What the file's open and read answer decides what was found, never a look after them: a map
// whose open answers "not found" while it stands there (its folder gone at that instant, say) is
// absent, and only content read and found no whole map is unreadable.
TEST_F(ObjectMapFileTest, WhatTheOpenAndTheReadAnsweredIsWhatIsFound) {
    RemappingAddon remapping;
    addon = &remapping;
    struct Row {
        const char* name;
        const char* text;
        const char* call; // failing once as the file is read, or null
        GSErrCode code;
        mode_t mode;
        ObjectMapFile found;
        const char* told; // the reason told on the console, or null for nothing
    };
    const Row rows[] = {
        {"a map", sampleText.c_str(), nullptr, NoError, 0600, ObjectMapFile::read, nullptr},
        {"its open answers not found", sampleText.c_str(), sim::fileOpenCall, ErrNotFound, 0600,
         ObjectMapFile::absent, nullptr},
        {"its open is refused", sampleText.c_str(), sim::fileOpenCall, ErrPermission, 0600,
         ObjectMapFile::refused, "Permission denied"},
        {"its open fails", sampleText.c_str(), sim::fileOpenCall, ErrIO, 0600, ObjectMapFile::failed,
         "Input/output error"},
        {"its read fails", sampleText.c_str(), sim::fileReadCall, ErrIO, 0600, ObjectMapFile::failed,
         "Input/output error"},
        {"the player may not read it", sampleText.c_str(), nullptr, NoError, 0200, ObjectMapFile::refused,
         "its permissions do not let this user read it"},
        {"empty", "", nullptr, NoError, 0600, ObjectMapFile::unreadable, nullptr},
        {"no whole map", "<objectMap>", nullptr, NoError, 0600, ObjectMapFile::unreadable, nullptr},
        {"another document", "<remappingPrefs/>", nullptr, NoError, 0600, ObjectMapFile::unreadable, nullptr},
    };
    fs::create_directories(folder);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        remap_test::writeFile(file, row.text);
        fs::permissions(file, fs::perms(row.mode));
        if (row.call != nullptr) {
            sim::failCall(row.call, row.code);
        }
        const std::string before = sim::consoleText();
        ObjectMap map = sampleMap();
        EXPECT_EQ(readObjectMap(map), row.found);
        sim::clearFaults();
        EXPECT_EQ(sim::consoleText(),
                  before + (row.told != nullptr ? "The object map could not be read from Preferences/Library "
                                                  "Part Remapping/Object Map.xml: " +
                                                      std::string(row.told) + ".\n"
                                                : ""));
        if (row.found == ObjectMapFile::absent || row.found == ObjectMapFile::refused) {
            EXPECT_EQ(remap_test::xmlOf(map), sampleText) << "the map is left as it was";
        }
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(remap_test::readFile(file), row.text) << "the file is kept";
    }
}

// A yes to the question replaces the file read alone: another put at its name, or that file changed,
// between the question and the write, is kept, and the command stops.
TEST_F(ObjectMapFileTest, AYesReplacesOnlyTheFileThatWasRead) {
    using Change = void (*)(const fs::path& file);
    struct Row {
        const char* name;
        Change meanwhile; // as the write looks for the folder again, after the question
        bool replaced;
        const char* after; // the file's content afterwards, where not replaced
    };
    const Row rows[] = {
        {"the file read", [](const fs::path&) {}, true, nullptr},
        {"the player's map put in its place",
         [](const fs::path& file) {
             remap_test::writeFile(file.string() + ".new", sampleText);
             fs::rename(file.string() + ".new", file);
         },
         false, sampleText.c_str()},
        {"the file read mended in place",
         [](const fs::path& file) { remap_test::writeFile(file, "<objectMap/>"); }, false, "<objectMap/>"},
        {"the file read removed", [](const fs::path& file) { fs::remove(file); }, false, nullptr},
    };
    class Meanwhile : public RemappingAddon {
    public:
        Meanwhile(const fs::path& file, Change step) : m_file(file), m_step(step) {}
        Directory* getUserPrefsDirectory() const override {
            if (++m_looks == 2) {
                m_step(m_file);
            }
            return RemappingAddon::getUserPrefsDirectory();
        }

    private:
        fs::path m_file;
        Change m_step;
        mutable int m_looks = 0;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::create_directories(folder);
        remap_test::writeFile(file, "<objectMap>");
        Meanwhile remapping(file, row.meanwhile);
        addon = &remapping;
        const std::size_t alerts = sim::alerts().size();
        const std::string before = sim::consoleText();
        sim::queueAlertAnswer(1);
        ObjectMapTransaction transaction(ObjectMap::GSM);
        EXPECT_EQ(transaction.loadObjectMap(), row.replaced);
        ASSERT_GT(sim::alerts().size(), alerts);
        EXPECT_EQ(sim::alerts()[alerts].largeText,
                  "The object map could not be read. Replace it with an empty one?");
        addon = nullptr;
        if (row.replaced) {
            EXPECT_EQ(sim::alerts().size(), alerts + 1);
            EXPECT_EQ(sim::consoleText(), before);
            ObjectMap read;
            addon = &remapping;
            EXPECT_EQ(readObjectMap(read), ObjectMapFile::read);
            addon = nullptr;
            continue;
        }
        ASSERT_EQ(sim::alerts().size(), alerts + 3);
        EXPECT_EQ(sim::alerts()[alerts + 1].largeText, "The object map could not be written.");
        EXPECT_EQ(sim::alerts()[alerts + 2].largeText,
                  "The object map could not be read, so remapping stopped.");
        EXPECT_EQ(sim::consoleText(),
                  before +
                      "The object map could not be written to Preferences/Library Part Remapping/Object "
                      "Map.xml: " +
                      make_error_code(fileio::FileError::notAsRead).message() + ".\n");
        EXPECT_EQ(fs::exists(file), row.after != nullptr);
        if (row.after != nullptr) {
            EXPECT_EQ(remap_test::readFile(file), row.after);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                  row.after != nullptr ? 1 : 0)
            << "nothing left beside it";
    }
}

// Another user's file at the map's name, in the player's folder left open to all, is no map of the
// player's to offer to replace: it is told, and the command stops unasked.
TEST_F(ObjectMapFileTest, AnotherUsersFileAtTheMapsNameIsToldAndNotOffered) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's file needs root, to give one away";
    }
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::all);
    remap_test::writeFile(file, "theirs");
    ASSERT_EQ(::chown(file.c_str(), 4242, 4242), 0);
    RemappingAddon remapping;
    addon = &remapping;
    const std::size_t alerts = sim::alerts().size();
    const std::string before = sim::consoleText();
    ObjectMapTransaction transaction(ObjectMap::GSM);
    EXPECT_FALSE(transaction.loadObjectMap());
    ASSERT_EQ(sim::alerts().size(), alerts + 1) << "no question asked";
    EXPECT_EQ(sim::alerts().back().largeText, "The object map could not be read, so remapping stopped.");
    EXPECT_EQ(sim::consoleText(), before +
                                      "The object map could not be read from Preferences/Library Part "
                                      "Remapping/Object Map.xml: " +
                                      make_error_code(fileio::FileError::notOwned).message() + ".\n");
    EXPECT_EQ(remap_test::readFile(file), "theirs");
    fs::remove_all(folder);
}
