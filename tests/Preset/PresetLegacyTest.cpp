#include "Addon/Addon.h"
#include "Preset/Preset.h"
#include "Preset/ZelvaneLibrary.h"

#include "Addon/TestAddon.h"
#include "LegacyPresetWriter.h"
#include "PresetTypesTest.h"
#include "sim/Dialogs.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zelvane;
using namespace testing_preset;

namespace {

// An add-on whose library configuration routes "pen" and the legacy "oldPen" into the wall's pen,
// and the legacy array "oldLinks" into the wall's links from column 1.
class LegacyTest : public PresetTypesTest {
protected:
    void SetUp() override {
        PresetTypesTest::SetUp();
        made = new testing_addon::TestAddon;
        addon = made;
        auto* wall = new Preset("wall", "menu");
        wall->getKeyParameter().setName("key");
        auto* pen = new PresetSetting("pen", "pen");
        auto* old = new PresetParameter;
        old->setName("oldPen");
        pen->addLegacyParameter(old);
        wall->getSettingList().push_back(pen);
        auto* links = new PresetSetting("thickness", "thickness");
        auto* oldLinks = new PresetParameter;
        oldLinks->setName("oldThickness");
        oldLinks->setColumn(1);
        links->addLegacyParameter(oldLinks);
        wall->getSettingList().push_back(links);
        addon->getLibraryConfiguration().getPresets().push_back(wall);
    }
    void TearDown() override {
        PresetTypesTest::TearDown();
        delete made;
        addon = nullptr;
    }

    bool import(std::string const& bytes) {
        return database.importLegacyPresets(bytes.data(), static_cast<int>(bytes.size()));
    }
    int pen(unsigned int n) {
        auto record = database.findRecord(key(n), false);
        std::unique_ptr<Setting> setting(record != nullptr ? record->getSetting("pen", 0) : nullptr);
        int value = -999;
        if (setting != nullptr) {
            setting->getValue(value);
        }
        return value;
    }

    // A file of one "Walls" folder holding a nested folder with one wall (key 1, pen 5 through
    // "oldPen", thickness columns 1-6), and one "Doors" folder with a preset that is skipped.
    static std::string sample(bool bigEndian, int v) {
        LegacyPresetWriter out(bigEndian);
        out.header(v == 6 ? "build:6" : std::to_string(v), v, 2);
        out.folder("Walls", v, 1).folder("Nested", v, 0).int32(1).file("Brick", keyText(1), v);
        // A name that no definition takes does not stop the look-ups of later names.
        out.int32(3).text("unknownName").int32(1).real(2.5).text("oldPen").int32(0).int32(5);
        out.text("unknownName").int32(2).text("again");
        out.int32(1).text("oldThickness").int32(1).int32(2).int32(3);
        for (int k = 0; k < 6; ++k) {
            out.real(k + 0.5);
        }
        out.int32(0);
        out.folder("Doors", v, 0).int32(1).file("Door", keyText(2), v).int32(1).text("pen").int32(0).int32(9);
        out.int32(0);
        return out.bytes();
    }

    testing_addon::TestAddon* made = nullptr;
    PresetDatabase database;
};

} // namespace

TEST_F(LegacyTest, FilesOfEveryVersionAndByteOrderImport) {
    for (bool bigEndian : {false, true}) {
        for (int v = 1; v <= 6; ++v) {
            database.clear();
            ASSERT_TRUE(import(sample(bigEndian, v))) << v << (bigEndian ? " Mac" : " Win");
            ASSERT_EQ(database.size(), 1u) << "the door folder's type is not known";
            auto record = database.findRecord(key(1), false);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->getName(), "Brick");
            EXPECT_EQ(record->getTypeName(), "wall") << "nested folders import into the top folder's type";
            EXPECT_EQ(pen(1), 5);
            EXPECT_EQ(record->getColumnCount("thickness"), 7u) << "2 x 3 values from column 1";
            std::unique_ptr<Setting> last(record->getSetting("thickness", 6));
            double value = 0;
            last->getValue(value);
            EXPECT_DOUBLE_EQ(value, 5.5);
            EXPECT_FALSE(record->getEditTime() == Time()) << "a legacy record carries the import time";
        }
    }
}

TEST_F(LegacyTest, RenamesInvalidRecordsAndMergeByKey) {
    LegacyPresetWriter out(false);
    out.header("6", 6, 1).folder("Finishes", 6, 0).int32(2);
    out.file("Plaster", keyText(3), 6).int32(1).text("zelvLinePen").int32(0).int32(4).int32(0);
    out.file("Bad", keyText(4), 6).int32(0).int32(0);
    ASSERT_TRUE(import(out.bytes()));
    EXPECT_NE(database.findRecord(key(3), false), nullptr);
    EXPECT_NE(database.findRecord(key(4), false), nullptr);

    LegacyPresetWriter invalid(false);
    invalid.header("6", 6, 1).folder("Walls", 6, 0).int32(1);
    invalid.file("Broken", keyText(5), 6).int32(1).text("pen").int32(0).int32(-1).int32(0);
    ASSERT_TRUE(import(invalid.bytes()));
    EXPECT_EQ(database.findRecord(key(5), false), nullptr) << "an invalid record is skipped";

    // An older record of the key is replaced; a newer one stays.
    PresetDatabase::setDefaultTemplate("wall", true);
    auto present = database.createRecord(Guid(), "Old", key(1));
    Time past;
    past.setYear(2000);
    present.second->setEditTime(past);
    ASSERT_TRUE(import(sample(false, 6)));
    EXPECT_EQ(database.findRecord(key(1), false)->getName(), "Brick");
    database.findRecord(key(1), false)->setName("Kept");
    Time future;
    future.setYear(2100);
    database.findRecord(key(1), false)->setEditTime(future);
    ASSERT_TRUE(import(sample(false, 6)));
    EXPECT_EQ(database.findRecord(key(1), false)->getName(), "Kept");
}

TEST_F(LegacyTest, BadFilesFailCleanly) {
    std::string good = sample(true, 6);
    for (std::size_t size = 0; size < good.size(); ++size) {
        database.clear();
        EXPECT_FALSE(import(good.substr(0, size))) << "cut at " << size;
    }
    struct Case {
        char const* version;
        char const* platform;
        bool accepted;
    };
    for (Case const& c : {Case{"6", "Mtl", true}, Case{"x:y:6", "Win", false}, Case{"", "Win", false},
                          Case{"abc", "Win", false}, Case{"6", "Amiga", false}}) {
        LegacyPresetWriter out(false);
        out.text("ZelvanePresetFile").text(c.platform).text(c.version).flag(false).int32(0);
        EXPECT_EQ(import(out.bytes()), c.accepted) << c.version << " " << c.platform;
    }
    LegacyPresetWriter magic(false);
    magic.text("PresetFile").text("Win").text("6").flag(false).int32(0);
    EXPECT_FALSE(import(magic.bytes()));

    sim::failCall("TIGetTimeRecord", APIERR_GENERAL);
    EXPECT_FALSE(import(sample(false, 6)));
    sim::clearFaults();

    LegacyPresetWriter deep(false);
    deep.header("6", 6, 1);
    for (int k = 0; k < 100; ++k) {
        deep.folder("Walls", 6, 1);
    }
    EXPECT_FALSE(import(deep.bytes())) << "nesting is bounded";

    struct Counts {
        int folders;
        int values;
        int second;
    };
    for (Counts const& c :
         {Counts{-1, 0, 0}, Counts{1, -3, 1}, Counts{1, 0x7FFFFFFF, 0x7FFFFFFF}, Counts{1, 2, -1}}) {
        LegacyPresetWriter out(false);
        out.header("6", 6, c.folders);
        out.folder("Walls", 6, 0).int32(1).file("W", keyText(9), 6).int32(0).int32(1);
        out.text("oldThickness").int32(1).int32(c.values).int32(c.second).real(1.0);
        EXPECT_FALSE(import(out.bytes())) << c.folders << " " << c.values << " " << c.second;
    }
    EXPECT_EQ(database.findRecord(key(9), false), nullptr);
}

TEST_F(LegacyTest, CancellingBeforeTheFirstFolderChangesNothing) {
    sim::cancelProgressAtQuery(1);
    EXPECT_FALSE(import(sample(false, 6)));
    EXPECT_EQ(database.size(), 0u);
}
