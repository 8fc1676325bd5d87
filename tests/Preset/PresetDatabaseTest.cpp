#include "Addon/Addon.h"
#include "Addon/HostEvent.h"
#include "Preset/PresetEditor.h"

#include "Addon/TestAddon.h"
#include "PresetTypesTest.h"
#include "sim/Dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zelvane;
using namespace testing_preset;

namespace {

// A third type whose names may repeat.
class NoteRecord : public PresetRecord {
public:
    char const* getTag() const override { return "note"; }
    NoteRecord* clone() const override { return new NoteRecord(*this); }
};

} // namespace

TEST_F(PresetTypesTest, TemplatesAreRegisteredOncePerType) {
    auto* second = new WallRecord;
    PresetDatabase::addTemplate(second, "Other walls", "", PresetDatabase::notUnique);
    delete second; // refused: the caller keeps it
    EXPECT_EQ(PresetDatabase::getDisplayName("wall"), "Walls");
    EXPECT_EQ(PresetDatabase::getTemplateUniquenessFor("wall"), PresetDatabase::uniqueInDatabase);
    PresetDatabase::addTemplate(nullptr, "Nothing", "", PresetDatabase::notUnique);
    auto* unnamed = new NoteRecord;
    PresetDatabase::addTemplate(unnamed, "", "", PresetDatabase::notUnique);
    delete unnamed;
    EXPECT_EQ(PresetDatabase::getDisplayName("note"), "");
    EXPECT_EQ(PresetDatabase::getTypeForLegacyName("Walls"), "wall");

    PresetDatabase::Uniqueness rule = PresetDatabase::notUnique;
    std::unique_ptr<PresetRecord> finish(PresetDatabase::getTemplateFor("finish", &rule));
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->getTypeName(), "finish");
    EXPECT_EQ(rule, PresetDatabase::uniqueInType);
    EXPECT_EQ(PresetDatabase::getTemplateFor("door"), nullptr);
    EXPECT_EQ(PresetDatabase::getTemplateUniquenessFor("door"), PresetDatabase::notUnique);

    // The first type in name order is active until another is chosen.
    std::unique_ptr<PresetRecord> active(PresetDatabase::getDefaultTemplate());
    EXPECT_EQ(active->getTypeName(), "finish");
    EXPECT_EQ(std::unique_ptr<PresetRecord>(PresetDatabase::getTemplateFor(""))->getTypeName(), "finish");
    EXPECT_TRUE(PresetDatabase::setDefaultTemplate("Walls", false));
    EXPECT_EQ(std::unique_ptr<PresetRecord>(PresetDatabase::getDefaultTemplate(&rule))->getTypeName(),
              "wall");
    EXPECT_EQ(rule, PresetDatabase::uniqueInDatabase);
    EXPECT_FALSE(PresetDatabase::setDefaultTemplate("Doors", false));
    EXPECT_FALSE(PresetDatabase::setDefaultTemplate("door", true));
    EXPECT_FALSE(PresetDatabase::setDefaultTemplate("", true));
    EXPECT_EQ(PresetDatabase::getTemplateUniquenessFor(""), PresetDatabase::uniqueInDatabase);
    EXPECT_TRUE(PresetDatabase::setDefaultTemplate("finish", true));
    EXPECT_EQ(PresetDatabase::getTemplateUniquenessFor(""), PresetDatabase::uniqueInType);

    PresetDatabase::shutdownModule();
    EXPECT_EQ(PresetDatabase::getDefaultTemplate(), nullptr) << "nothing after shutdown";
    EXPECT_EQ(PresetDatabase::getTemplateFor("wall"), nullptr);
    EXPECT_EQ(PresetDatabase::getDisplayName("wall"), "");
    PresetDatabase empty;
    EXPECT_THROW(empty.createRecord(Guid(), "A", Guid()), std::bad_alloc);
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_TRUE(readXML(empty, "<presetDatabase><records><wall key=\"" + keyText(1) +
                                   "\"><name>A</name></wall></records></presetDatabase>"));
    EXPECT_EQ(empty.size(), 0u) << "no record is read while no type is registered";
}

TEST_F(PresetTypesTest, NamesFollowTheRuleOfTheirType) {
    PresetDatabase::addTemplate(new NoteRecord, "Notes", "", PresetDatabase::notUnique);
    struct Case {
        char const* type;
        char const* other;
        char const* expected;
    };
    // A record named "A" of `type` is made where a record "A" of `other` exists.
    Case const cases[] = {
        {"finish", "finish", "A1"}, {"finish", "wall", "A"}, {"wall", "finish", "A1"},
        {"wall", "wall", "A1"},     {"note", "note", "A"},   {"note", "wall", "A"},
    };
    for (Case const& c : cases) {
        PresetDatabase database;
        PresetDatabase::setDefaultTemplate(c.other, true);
        database.createRecord(Guid(), "A", key(1));
        PresetDatabase::setDefaultTemplate(c.type, true);
        auto made = database.createRecord(Guid(), "A", key(2));
        EXPECT_EQ(made.second->getTypeName(), c.type);
        EXPECT_EQ(made.second->getName(), c.expected) << c.type << " beside " << c.other;
    }

    // A deprecated holder gives its name up.
    PresetDatabase database;
    PresetDatabase::setDefaultTemplate("wall", true);
    database.createRecord(Guid(), "A", key(1));
    database.setDeprecated(key(1), true);
    EXPECT_EQ(database.createRecord(Guid(), "A", key(2)).second->getName(), "A");
    EXPECT_EQ(database.findRecord(key(1), false)->getName(), "A1");
    EXPECT_TRUE(database.isTypeFound("wall"));
    EXPECT_FALSE(database.isTypeFound("finish"));
}

TEST_F(PresetTypesTest, MergedRecordsAreNamedByTheirOwnType) {
    PresetDatabase database;
    PresetDatabase::setDefaultTemplate("finish", true);
    database.createRecord(Guid(), "A", key(1));
    PresetDatabase::setDefaultTemplate("wall", true);
    database.createRecord(Guid(), "B", key(2));

    // The active type is the wall's, whose names are unique in the database; the incoming finish
    // follows its own rule, unique in its type.
    PresetDatabase::RecordPtr finish(new FinishRecord);
    finish->setName("B");
    database.merge(PresetDatabase::Pair(key(3), finish));
    EXPECT_EQ(database.findRecord(key(3), false)->getName(), "B") << "a wall's name does not hold a finish's";
    PresetDatabase::RecordPtr other(new FinishRecord);
    other->setName("A");
    database.merge(PresetDatabase::Pair(key(4), other));
    EXPECT_EQ(database.findRecord(key(4), false)->getName(), "A1")
        << "the duplicate does not slip into its type";
    EXPECT_EQ(database.findRecord(key(4), false)->getTypeName(), "finish");

    std::string xml = xmlOf(database);
    PresetDatabase back;
    ASSERT_TRUE(readXML(back, xml));
    EXPECT_EQ(back.size(), 4u);
    EXPECT_EQ(xmlOf(back), xml);
}

TEST_F(PresetTypesTest, MenusListTheCurrentRecordsOfTheType) {
    PresetDatabase database;
    PresetDatabase::setDefaultTemplate("wall", true);
    // Keys in another order than the names, which the menu sorts.
    unsigned int n = 0;
    for (char const* name : {"c", "a", "b"}) {
        database.createRecord(Guid(), name, key(++n));
    }
    database.setDeprecated(database.findRecord("b", Guid()), true);
    PresetDatabase::setDefaultTemplate("finish", true);
    database.createRecord(Guid(), "z", Guid());

    std::unique_ptr<StringParameter> menu(textArray("menu", 1));
    EXPECT_TRUE(database.populate(*menu, "wall", nullptr));
    ASSERT_EQ(menu->getRowCount(), 2u);
    EXPECT_EQ(menu->getValue(0, 0), "a");
    EXPECT_EQ(menu->getValue(1, 0), "c");
    EXPECT_FALSE(database.populate(*menu, "wall", nullptr)) << "nothing changes the second time";

    EXPECT_TRUE(database.populate(*menu, "door", nullptr)) << "no record empties the menu";
    EXPECT_EQ(menu->getRowCount(), 1u);
    EXPECT_EQ(menu->getValue(0, 0), "");
    EXPECT_FALSE(database.populate(*menu, "door", nullptr)) << "a single empty entry stays";

    StringParameter scalar("menu", "", String("x"));
    EXPECT_FALSE(database.populate(scalar, "wall", nullptr));
}

TEST_F(PresetTest, TheFirstTemplateRegistersThePackageAndTheEditorOnce) {
    testing_addon::TestAddon* made = new testing_addon::TestAddon;
    addon = made;
    EXPECT_FALSE(made->isPreferenceRegistered(PresetDatabase::ID.getFamily(), Addon::project));
    PresetDatabase::addTemplate(new WallRecord, "Walls", "", PresetDatabase::uniqueInType);
    EXPECT_TRUE(made->isPreferenceRegistered(PresetDatabase::ID.getFamily(), Addon::project));
    PresetDatabase::addTemplate(new FinishRecord, "Finishes", "", PresetDatabase::uniqueInType);

    HostEvent event(PresetEditor::spec.getKind(), 0);
    std::size_t shown = sim::dialogs().size();
    EXPECT_TRUE(made->publishToSubscribers(event)) << "the editor takes its event";
    EXPECT_EQ(sim::dialogs().size(), shown) << "without a project nothing opens";
    PresetDatabase::shutdownModule();
    delete made;
    addon = nullptr;

    // Without an add-on only the type is registered.
    PresetDatabase::addTemplate(new WallRecord, "Walls", "", PresetDatabase::uniqueInType);
    EXPECT_NE(std::unique_ptr<PresetRecord>(PresetDatabase::getTemplateFor("wall")), nullptr);
    PresetDatabase::shutdownModule();
}
