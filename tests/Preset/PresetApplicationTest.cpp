#include "Preset/Preset.h"
#include "Preset/PresetFilter.h"
#include "Preset/ZelvaneLibrary.h"

#include "PresetTypesTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zelvane;
using namespace testing_preset;

namespace {

// A wall definition over two instances (rows 0 and 1) of an element with the cells "menu",
// "name", "echo", "key", "status", the pen in "pen" with its flag in "penFlag", and the inside
// finish's pen in "finishPen" through a finish definition keyed by "finishKey".
class ApplicationTest : public PresetTypesTest {
protected:
    void SetUp() override {
        PresetTypesTest::SetUp();
        prepare();
    }
    // A fresh element, database and library.
    void prepare() {
        library.getPresets().clear();
        element.deleteAllParameters();
        database.clear();
        wall = makePreset("wall", "menu", "key");
        auto* pen = new PresetSetting("pen", "pen");
        pen->getFlags().setName("penFlag");
        wall->getSettingList().push_back(pen);
        wall->getSettingList().push_back(new PresetSetting("inside", "finishKey"));
        wall->getIndexRange() = IndexRange(0, 2);
        finish = makePreset("finish", "finishMenu", "finishKey");
        finish->getSettingList().push_back(new PresetSetting("pen", "finishPen"));
        finish->getIndexRange() = IndexRange(0, 2);
        library.getPresets().push_back(wall);
        library.getPresets().push_back(finish);

        for (char const* name :
             {"name", "echo", "key", "menu", "finishKey", "finishName", "finishEcho", "finishMenu"}) {
            element.addParameter(textArray(name, 2));
        }
        for (char const* name : {"status", "pen", "penFlag", "finishPen", "finishStatus"}) {
            element.addParameter(integerArray(name, 2));
        }
    }

    static Preset* makePreset(char const* type, char const* menu, char const* key) {
        auto* preset = new Preset(type, menu);
        std::string prefix = std::string(type) == "finish" ? "finish" : "";
        auto name = [&](char const* cell) {
            if (prefix.empty()) {
                return String(cell);
            }
            std::string text = prefix + cell;
            text[prefix.size()] = char(std::toupper(text[prefix.size()]));
            return String(text.c_str());
        };
        preset->getNameParameter().setName(name("name"));
        preset->getEchoParameter().setName(name("echo"));
        preset->getKeyParameter().setName(key);
        preset->getStatusParameter().setName(name("status"));
        return preset;
    }

    String text(char const* name, std::size_t row = 0) {
        return dynamic_cast<StringParameter*>(element.getParameter(String(name)))->getValue(row, 0);
    }
    short number(char const* name, std::size_t row = 0) {
        return dynamic_cast<IntegerParameter*>(element.getParameter(String(name)))->getValue(row, 0);
    }
    void setText(char const* name, char const* value, std::size_t row = 0) {
        dynamic_cast<StringParameter*>(element.getParameter(String(name)))->setValue(String(value), row, 0);
    }
    void setNumber(char const* name, short value, std::size_t row = 0) {
        dynamic_cast<IntegerParameter*>(element.getParameter(String(name)))->setValue(value, row, 0);
    }
    // A stored wall of that name and pen.
    Guid storeWall(char const* name, int pen, unsigned int n) {
        PresetDatabase::setDefaultTemplate("wall", true);
        auto made = database.createRecord(Guid(), name, key(n));
        made.second->setSetting("pen", Int32Setting(pen), 0);
        return made.first;
    }
    bool apply() { return wall->applyTo(element, database, &library); }

    ZelvaneLibrary library;
    Preset* wall = nullptr;
    Preset* finish = nullptr;
    ParameterList element;
    PresetDatabase database;
};

} // namespace

TEST_F(ApplicationTest, StatusCodesDecideWhatHappens) {
    struct Case {
        short status;
        bool stored; // a wall record exists
        short after;
        short pen;
        bool changed;
    };
    Case const cases[] = {
        {0, true, 0, 7, true},  {4, true, 0, 7, true},   {0, false, 1, 0, true},  {1, true, 1, 0, true},
        {3, true, 3, 0, true},  {11, true, 11, 0, true}, {-1, true, -1, 0, true}, {5, false, 5, 0, true},
        {2, false, 0, 0, true}, {8, true, 9, 0, true},
    };
    for (Case const& c : cases) {
        prepare();
        if (c.stored) {
            storeWall("Brick", 7, 1);
            database.setDefaultRecord(key(1));
        }
        setNumber("status", c.status);
        setNumber("status", 1, 1);
        EXPECT_EQ(apply(), c.changed) << c.status;
        EXPECT_EQ(number("status"), c.after) << c.status;
        EXPECT_EQ(number("pen"), c.pen) << c.status;
        EXPECT_EQ(number("status", 1), 1) << "each instance of the range acts on its own code";
    }
}

TEST_F(ApplicationTest, RestoreFindsTheRecordByTypedNameKeyOrDefault) {
    storeWall("Brick", 7, 1);
    storeWall("Stone", 9, 2);
    PresetDatabase::setDefaultTemplate("finish", true);
    database.createRecord(Guid(), "Plaster", key(3));
    database.setDefaultRecord(key(2));
    struct Case {
        char const* name;
        char const* echo;
        std::string key;
        short pen;
        char const* why;
    };
    Case const cases[] = {
        {"Brick", "", keyText(2), 7, "a typed name wins"},
        {"Brick", "Brick", keyText(2), 9, "a name equal to the echo is not looked up"},
        {"Plaster", "", keyText(1), 7, "a name of another type falls back to the key"},
        {"", "", "", 9, "no key: the default"},
    };
    for (Case const& c : cases) {
        setText("name", c.name);
        setText("echo", c.echo);
        setText("key", c.key.c_str());
        setNumber("status", 0);
        setNumber("pen", 0);
        EXPECT_TRUE(wall->restore(element, 0, database, &library)) << c.why;
        EXPECT_EQ(number("pen"), c.pen) << c.why;
        EXPECT_EQ(text("echo"), text("name")) << c.why;
        EXPECT_EQ(Guid(text("key")), c.pen == 7 ? key(1) : key(2)) << c.why;
    }
    EXPECT_FALSE(wall->restore(element, 0, database, &library)) << "nothing changes the second time";
    setText("key", keyText(3).c_str());
    EXPECT_TRUE(wall->restore(element, 0, database, &library));
    EXPECT_EQ(number("status"), 1) << "a key naming a record of another type unlocks";
    setNumber("status", 0);

    database.setDeprecated(key(2), true);
    setText("name", "");
    setText("echo", "");
    setText("key", keyText(2).c_str());
    EXPECT_TRUE(wall->restore(element, 0, database, &library));
    EXPECT_EQ(number("status"), 1) << "a deprecated record is never restored";
}

TEST_F(ApplicationTest, ExtractCreatesAndRenamesRecords) {
    setNumber("status", 2);
    setText("name", "Mine");
    setNumber("pen", 5);
    setNumber("penFlag", 1, 1);
    EXPECT_TRUE(apply());
    EXPECT_EQ(number("status"), 0);
    Guid made(text("key"));
    auto record = database.findRecord(made, false);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->getName(), "Mine");
    EXPECT_EQ(record->getTypeName(), "wall");
    EXPECT_EQ(text("echo"), "Mine");
    std::unique_ptr<Setting> pen(record->getSetting("pen", 0));
    int value = 0;
    pen->getValue(value);
    EXPECT_EQ(value, 5);

    // Renaming to a name held by another wall gives the next free variant.
    storeWall("Other", 1, 9);
    setNumber("status", 2);
    setText("name", "Other");
    apply();
    EXPECT_EQ(record->getName(), "Other1");
    EXPECT_EQ(text("name"), "Other1");

    // A placeholder gives its name up and keeps its null edit time.
    auto placeholder = database.getRecord(key(20), true);
    setNumber("status", 2);
    setText("name", "Missing record");
    apply();
    EXPECT_EQ(record->getName(), "Missing record");
    EXPECT_EQ(placeholder->getName(), "Missing record1");
    EXPECT_TRUE(placeholder->getEditTime().isNull());

    // An empty name with a record without a name: the default name of a new record.
    record->setName("");
    setText("name", "");
    setNumber("status", 2);
    apply();
    EXPECT_EQ(record->getName(), "New record");

    // A type without a template extracts nothing.
    Preset door("door", "menu");
    door.getNameParameter().setName("name");
    door.getEchoParameter().setName("echo");
    door.getKeyParameter().setName("key");
    setText("key", "");
    std::size_t before = database.size();
    door.extract(element, 0, database, &library);
    EXPECT_EQ(database.size(), before);
    EXPECT_EQ(text("key"), "");
}

TEST_F(ApplicationTest, CustomisingClearsThenFollowsATypedName) {
    storeWall("Brick", 7, 1);
    storeWall("Stone", 9, 2);
    setText("name", "Stone");
    setText("echo", "Stone");
    setText("key", keyText(2).c_str());
    setNumber("status", 8);
    EXPECT_TRUE(apply());
    EXPECT_EQ(number("status"), 9);
    EXPECT_EQ(text("name"), "");
    EXPECT_EQ(text("echo"), "");
    EXPECT_EQ(text("key"), "");
    EXPECT_EQ(database.getDefault(), key(2)) << "the customised record becomes the default, not the first";

    setText("name", "Brick");
    EXPECT_TRUE(apply());
    EXPECT_EQ(number("status"), 0);
    EXPECT_EQ(number("pen"), 7);
    EXPECT_EQ(text("key"), keyText(1).c_str());
}

TEST_F(ApplicationTest, ChildPresetsAreRestoredLinkedOrEmbeddedAndCyclesEnd) {
    Guid brick = storeWall("Brick", 7, 1);
    auto record = database.findRecord(brick, false);
    record->getChildRecord("inside")->setSetting("pen", Int32Setting(4), 0);
    EXPECT_TRUE(wall->restoreRecord(brick, *record, element, 0, database, &library));
    EXPECT_EQ(number("finishPen"), 4) << "the embedded child";
    EXPECT_EQ(text("finishKey"), keyText(0).c_str() == std::string() ? "" : text("finishKey"));

    PresetDatabase::setDefaultTemplate("finish", true);
    auto stored = database.createRecord(Guid(), "Plaster", key(5));
    stored.second->setSetting("pen", Int32Setting(6), 0);
    record->setSetting("inside", IDSetting(key(5)), 0);
    EXPECT_TRUE(wall->restoreRecord(brick, *record, element, 0, database, &library));
    EXPECT_EQ(number("finishPen"), 6) << "the linked record";
    EXPECT_EQ(Guid(text("finishKey")), key(5));

    // A slot naming its own record ends.
    record->setSetting("inside", IDSetting(brick), 0);
    finish->getSettingList().push_back(new PresetSetting("inside", "finishKey"));
    library.getPresets().push_back(makePreset("wall", "menu", "finishKey"));
    wall->restoreRecord(brick, *record, element, 0, database, &library);
    wall->extractRecord(*record, element, 0, database, &library);
    EXPECT_TRUE(wall->isParameterInHierarchy("pen", *record, database, &library));
    EXPECT_FALSE(wall->isParameterInHierarchy("nothing", *record, database, &library));
}

TEST_F(ApplicationTest, FlagCellsMirrorIgnoredFields) {
    storeWall("Brick", 7, 1);
    database.findRecord(key(1), false)->getField("pen")->setIgnored(true);
    setText("key", keyText(1).c_str());
    setNumber("pen", 2);
    EXPECT_TRUE(apply());
    EXPECT_EQ(number("pen"), 2) << "an ignored field leaves its parameter alone";
    EXPECT_EQ(number("penFlag"), 1);
}

TEST_F(ApplicationTest, KeyFiltersRestrictTheMenu) {
    storeWall("Brick", 7, 1);
    storeWall("Stone", 9, 2);
    auto* filter = new PresetFilter("wall");
    filter->setKeyFilterField("links");
    filter->getKeyParameter().setName("key");
    wall->setFilter(filter);
    database.findRecord(key(1), false)->setSetting("links", IDSetting(key(2)), 0);
    setText("key", keyText(1).c_str());
    setNumber("status", 1);
    EXPECT_TRUE(apply());
    ASSERT_EQ(dynamic_cast<StringParameter*>(element.getParameter(String("menu")))->getRowCount(), 1u);
    EXPECT_EQ(text("menu"), "Stone");

    setText("key", "");
    EXPECT_TRUE(apply()) << "without a key record every wall is listed";
    EXPECT_EQ(text("menu", 1), "Stone");
}

TEST_F(ApplicationTest, LibraryAppliesDefinitionsBySubtypeAndKey) {
    storeWall("Brick", 7, 1);
    wall->getSubtypes().push_back(3);
    library.applyPresetsTo(element, 4, database);
    EXPECT_EQ(number("pen"), 0) << "the wall holds for subtype 3 only";
    EXPECT_TRUE(library.applyPresetsTo(element, 3, database));
    EXPECT_EQ(number("pen"), 7);
    EXPECT_EQ(library.findPresetByKey("wall", "key"), wall);
    library.getPresets().push_back(makePreset("wall", "menu", "key"));
    EXPECT_EQ(library.findPresetByKey("wall", "key"), wall) << "the first wins";
    EXPECT_EQ(library.findPresetByKey("finish", "key"), nullptr);
}

TEST_F(ApplicationTest, RowsThatWrapAreOutOfRange) {
    wall->getStatusParameter().setRow(~0ull);
    wall->getIndexRange() = IndexRange(1, 2);
    setNumber("status", 0);
    apply();
    EXPECT_EQ(number("status"), 0) << "row + i wraps onto row 0: out of range";
    IndexRange range(~0ull, 5);
    EXPECT_TRUE(range.holds(0));
    EXPECT_FALSE(range.holds(1));
}

namespace {

// Wall names are unique among walls only, so a finish and a wall may share one.
class TypedNameTest : public ApplicationTest {
protected:
    TypedNameTest() { wallRule = PresetDatabase::uniqueInType; }
};

} // namespace

TEST_F(TypedNameTest, ANameIsLookedUpAmongTheRecordsOfThePresetsType) {
    struct Case {
        short status;
        char const* why;
    };
    for (Case const& c :
         {Case{0, "a name picked from the menu"}, Case{9, "a name typed while customising"}}) {
        prepare();
        PresetDatabase::setDefaultTemplate("finish", true);
        database.createRecord(Guid(), "Oak", key(1));
        storeWall("Oak", 7, 2);
        storeWall("Pine", 9, 3);
        ASSERT_EQ(database.findRecord(key(2), false)->getName(), "Oak");
        setText("name", "Oak");
        setText("echo", c.status == 0 ? "Pine" : "");
        setText("key", c.status == 0 ? keyText(3).c_str() : "");
        setNumber("status", c.status);
        setNumber("status", 1, 1);
        setNumber("pen", 9);
        EXPECT_TRUE(apply()) << c.why;
        EXPECT_EQ(number("pen"), 7) << c.why;
        EXPECT_EQ(number("status"), 0) << c.why;
        EXPECT_EQ(text("name"), "Oak") << c.why;
        EXPECT_EQ(Guid(text("key")), key(2)) << c.why;
    }
}
