#include "Database/Project.h"
#include "Environment/Host.h"
#include "Preset/DeletedDatabase.h"

#include "Addon/TestAddon.h"
#include "Addon/TestPackages.h"
#include "NoteDatabase.h"
#include "PresetFixture.h"
#include "sim/Project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

std::string note(unsigned int n, char const* name, char const* text, bool cut = false) {
    return "<note key=\"" + keyText(n) + "\"" + (cut ? " cut=\"1\"" : "") + " edit=\"" + clockText +
           "\"><name>" + name + "</name><text>" + text + "</text></note>";
}

TEST_F(PresetTest, DatabasesAreWrittenExactlyAndReadBackEqual) {
    NoteDatabase empty;
    EXPECT_EQ(xmlOf(empty), "<noteDatabase><records/></noteDatabase>");

    NoteDatabase database;
    database.createRecord(Guid(), "Alpha", key(1)).second->m_text = "first";
    database.createRecord(Guid(), "Beta", key(2));
    database.setDeprecated(key(2), true);
    std::string records = "<records>" + note(1, "Alpha", "first") + note(2, "Beta", "", true) + "</records>";
    EXPECT_EQ(xmlOf(database), "<noteDatabase>" + records + "</noteDatabase>") << "no default, no element";

    database.setDefaultRecord(key(1));
    std::string xml = "<noteDatabase><default>" + keyText(1) + "</default>" + records + "</noteDatabase>";
    EXPECT_EQ(xmlOf(database), xml);

    NoteDatabase back;
    back.createRecord(Guid(), "Stale", key(7));
    ASSERT_TRUE(readXML(back, xml));
    EXPECT_EQ(back.size(), 2u) << "reading replaces what the database held";
    // What a later version added to a record comes back where it stood, in copies too.
    std::string later = "<note key=\"" + keyText(1) + "\" edit=\"" + clockText +
                        "\" l=\"1\"><name>Alpha</name><!-- c --><later>x</later><text>first</text></note>";
    ASSERT_TRUE(readXML(back, "<noteDatabase><records>" + later + "</records></noteDatabase>"));
    std::unique_ptr<Package> copy(back.cloneIndependent());
    EXPECT_EQ(xmlOf(*copy), "<noteDatabase><records>" + later + "</records></noteDatabase>");
    ASSERT_TRUE(readXML(back, xml));
    EXPECT_EQ(back.getDefault(), key(1));
    for (unsigned int n : {1u, 2u}) {
        auto mine = database.findRecord(key(n), false);
        auto read = back.findRecord(key(n), false);
        ASSERT_NE(read, nullptr);
        EXPECT_TRUE(*read == *mine);
        EXPECT_EQ(read->m_text, mine->m_text);
    }
    EXPECT_EQ(xmlOf(back), xml);
}

TEST_F(PresetTest, RecordsAreWrittenInKeyOrder) {
    std::vector<unsigned int> numbers = {5, 1, 0x30000, 3, 0x20};
    NoteDatabase database;
    for (unsigned int n : numbers) {
        database.createRecord(Guid(), String(std::to_string(n).c_str()), key(n));
    }
    std::sort(numbers.begin(), numbers.end(), [](unsigned int a, unsigned int b) { return key(a) < key(b); });
    std::string xml = xmlOf(database);
    std::size_t last = 0;
    for (unsigned int n : numbers) {
        std::size_t at = xml.find(keyText(n));
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, last);
        last = at;
    }
}

TEST_F(PresetTest, WhatNoRecordTakesIsKeptAndTheRestIsRead) {
    std::string const good = "<deletedRecord key=\"" + keyText(2) + "\"><name>Kept</name></deletedRecord>";
    struct Case {
        char const* label;
        std::string inside; // written back as it was
    };
    std::vector<Case> const cases = {
        {"an unknown element", "<presetRecord key=\"" + keyText(9) + "\"><name>X</name></presetRecord>"},
        {"an unknown empty element", "<somethingElse/>"},
        {"a record without key", "<deletedRecord><name>X</name></deletedRecord>"},
        {"a null key",
         "<deletedRecord key=\"00000000-0000-0000-0000-000000000000\"><name>X</name></deletedRecord>"},
        {"a key that is no GUID", "<deletedRecord key=\"door\"><name>X</name></deletedRecord>"},
        {"a repeated key", good},
        {"a record of another namespace",
         "<l:deletedRecord xmlns:l=\"urn:l\" key=\"" + keyText(3) + "\"><name>X</name></l:deletedRecord>"},
        {"a record in a default namespace",
         "<deletedRecord xmlns=\"urn:l\" key=\"" + keyText(4) + "\"><name>X</name></deletedRecord>"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        DeletedDatabase database;
        ASSERT_TRUE(readXML(database,
                            "<deletedDatabase><records>" + good + c.inside + "</records></deletedDatabase>"));
        ASSERT_EQ(database.size(), 1u);
        EXPECT_EQ(database.findRecord(key(2), false)->getName(), "Kept") << "the first record of a key stays";
        std::string written = xmlOf(database);
        EXPECT_NE(written.find("</deletedRecord>" + c.inside + "</records>"), std::string::npos) << written;
        DeletedDatabase again;
        ASSERT_TRUE(readXML(again, written));
        EXPECT_EQ(xmlOf(again), written);
    }
    DeletedDatabase database;
    ASSERT_TRUE(readXML(database, "<deletedDatabase><records><deletedRecord key=\"" + keyText(3) +
                                      "\"><name>New</name></deletedRecord>" + good +
                                      "</records></deletedDatabase>"));
    EXPECT_EQ(database.size(), 2u);
}

TEST_F(PresetTest, ModuleDataWithBadRecordsStillReadsEveryPackage) {
    using testing_addon::CountPrefs;
    testing_addon::TestAddon a;
    addon = &a;
    sim::openProject();
    a.addPreference(DeletedDatabase(), Addon::project);
    a.addPreference(CountPrefs(3), Addon::project);
    Project* project = host.getProject();
    ASSERT_NE(project, nullptr);

    std::string kept[] = {"<records><unknown/><deletedRecord key=\"" + keyText(1) + "\"",
                          "><name>A</name><later>x</later></deletedRecord>"};
    std::string data = "<countPrefs><count>21</count></countPrefs><deletedDatabase>" + kept[0] + kept[1] +
                       "<deletedRecord key=\"" + keyText(1) +
                       "\"><name>B</name></deletedRecord><deletedRecord><name>C</name></deletedRecord>"
                       "</records></deletedDatabase>";
    sim::ModuleDataRecord record;
    record.bytes.assign(data.begin(), data.end());
    record.version = 1;
    record.platformSign = 19789;
    sim::currentAddOn().moduleData[""] = record;
    a.readPrefs(Addon::project, false);

    auto* count = dynamic_cast<CountPrefs*>(project->getPreference(CountPrefs::ID));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->count, 21) << "the sibling package was read";
    auto* deleted = dynamic_cast<DeletedDatabase*>(project->getPreference(DeletedDatabase::ID.getFamily()));
    ASSERT_NE(deleted, nullptr);
    ASSERT_EQ(deleted->size(), 1u);
    EXPECT_EQ(deleted->findRecord(key(1), false)->getName(), "A");
    // Stored again, the data keeps what a later version added to the database and its records.
    ASSERT_TRUE(a.writePrefs(Addon::project));
    auto const& bytes = sim::currentAddOn().moduleData[""].bytes;
    std::string stored(bytes.begin(), bytes.end());
    EXPECT_NE(stored.find(kept[0]), std::string::npos) << stored;
    EXPECT_NE(stored.find(
                  kept[1] + "<deletedRecord key=\"" + keyText(1) +
                  "\"><name>B</name></deletedRecord><deletedRecord><name>C</name></deletedRecord></records>"),
              std::string::npos)
        << "records not taken come back after the others: " << stored;

    // The project outlives the test: leave it packages that hold nothing.
    project->setPreference(new DeletedDatabase, false);
    addon = nullptr;
    sim::closeProject();
}

} // namespace
