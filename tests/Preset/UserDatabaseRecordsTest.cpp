#include "NoteDatabase.h"
#include "PresetFixture.h"
#include "support/FailingAllocation.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

TEST_F(PresetTest, RecordsAreMadeUnderUniqueNamesAndKeys) {
    NoteDatabase database;
    auto first = database.createRecord(Guid(), String(), Guid());
    EXPECT_TRUE(bool(first.first)) << "a new key";
    EXPECT_EQ(first.second->getName(), "New record");
    EXPECT_EQ(first.second->getEditTime().getUTCOffset(), 60);
    auto second = database.createRecord(Guid(), String(), Guid());
    EXPECT_NE(second.first, first.first);
    EXPECT_EQ(second.second->getName(), "New record1");

    auto named = database.createRecord(Guid(), "Memo", key(5));
    EXPECT_EQ(named.first, key(5));
    EXPECT_EQ(database.findRecord(key(5), false), named.second);
    named.second->m_text = "template text";

    auto copied = database.createRecord(key(5), "ignored", Guid());
    EXPECT_EQ(copied.second->getName(), "Memo1") << "named after its template";
    EXPECT_EQ(copied.second->m_text, "template text");
    copied.second->m_text = "changed";
    EXPECT_EQ(named.second->m_text, "template text") << "a copy, not the template itself";

    auto noTemplate = database.createRecord(key(99), "Plain", Guid());
    EXPECT_EQ(noTemplate.second->getName(), "Plain");
    EXPECT_TRUE(noTemplate.second->m_text.empty());
    EXPECT_EQ(database.size(), 5u);
}

TEST_F(PresetTest, RecordsAreDeprecatedAndDeleted) {
    NoteDatabase database;
    database.createRecord(Guid(), "A", key(1));
    EXPECT_TRUE(database.setDeprecated(key(1), true));
    EXPECT_TRUE(database.findRecord(key(1), false)->isDeprecated());
    EXPECT_EQ(database.findRecord(key(1), true), nullptr);
    EXPECT_FALSE(database.setDeprecated(key(2), true));
    EXPECT_FALSE(database.setDeprecated(Guid(), true));
    EXPECT_FALSE(database.deleteRecord(key(2)));
    EXPECT_TRUE(database.deleteRecord(key(1)));
    EXPECT_EQ(database.size(), 0u);
}

TEST_F(PresetTest, TheDefaultNamesACurrentRecord) {
    NoteDatabase database;
    database.createRecord(Guid(), "A", key(1));
    database.createRecord(Guid(), "B", key(2));
    database.createRecord(Guid(), "C", key(3));
    database.setDeprecated(key(1), true);
    struct Case {
        char const* label;
        Guid asked;
        Guid result;
    };
    std::vector<Case> const cases = {
        {"a current record", key(2), key(2)},
        {"a deprecated record is refused", key(1), key(2)},
        {"a missing record is refused", key(8), key(2)},
        {"the null key is refused", Guid(), key(2)},
        {"another current record", key(3), key(3)},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        database.setDefaultRecord(c.asked);
        EXPECT_EQ(database.getDefault(), c.result);
    }
    EXPECT_EQ(database.getDefaultRecord(), key(3));
    database.setDeprecated(key(3), true);
    EXPECT_EQ(database.getDefaultRecord(), key(2)) << "the first current record takes over";
    database.setDeprecated(key(2), true);
    EXPECT_EQ(database.getDefaultRecord(), Guid());

    EXPECT_EQ(database.findRecord(String("B"), Guid()), key(2));
    EXPECT_EQ(database.findRecord(String("B"), key(2)), Guid());
    EXPECT_EQ(database.findRecord(String("Z"), Guid()), Guid());
}

TEST_F(PresetTest, ClonesShareRecordsAndIndependentClonesDoNot) {
    NoteDatabase database;
    database.createRecord(Guid(), "keep A", key(1)).second->m_text = "a";
    database.createRecord(Guid(), "drop B", key(2));
    database.setDefaultRecord(key(1));

    std::unique_ptr<NoteDatabase> shared(dynamic_cast<NoteDatabase*>(database.clone()));
    EXPECT_EQ(shared->findRecord(key(1), false), database.findRecord(key(1), false));
    EXPECT_EQ(shared->getDefault(), key(1));

    std::unique_ptr<NoteDatabase> whole(dynamic_cast<NoteDatabase*>(database.cloneIndependent()));
    EXPECT_EQ(whole->size(), 2u);
    EXPECT_EQ(whole->getDefault(), key(1)) << "an equal database that shares nothing";

    std::unique_ptr<NoteDatabase> filtered(database.cloneIndependent(std::make_shared<PrefixFilter>("keep")));
    ASSERT_EQ(filtered->size(), 1u);
    EXPECT_EQ(filtered->getDefault(), Guid()) << "the default is not carried over";
    auto copy = filtered->findRecord(key(1), false);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, database.findRecord(key(1), false));
    EXPECT_TRUE(*copy == *database.findRecord(key(1), false));
    copy->m_text = "changed";
    copy->setName("Renamed");
    EXPECT_EQ(database.findRecord(key(1), false)->m_text, "a");
    EXPECT_EQ(database.findRecord(key(1), false)->getName(), "keep A");

    std::unique_ptr<Package> empty(database.cloneEmpty());
    EXPECT_EQ(dynamic_cast<NoteDatabase&>(*empty).size(), 0u);
    std::unique_ptr<Package> exported(database.getExport());
    EXPECT_EQ(dynamic_cast<NoteDatabase&>(*exported).size(), 2u);
    EXPECT_EQ(database.getID(), MakeGSType("NOTE"));

    database.clear();
    EXPECT_EQ(database.size(), 0u);
    EXPECT_EQ(database.getDefault(), Guid());
    EXPECT_EQ(shared->size(), 2u);
}

// Each C++ allocation of an independent copy and of a record made from a template fails in turn:
// every record is freed once (the sanitizers catch a second free) and the database keeps what it
// held.
TEST_F(PresetTest, AnExhaustedHeapWhileCopyingRecordsFreesEachOnce) {
    struct Case {
        const char* name;
        void (*copy)(NoteDatabase&);
    };
    for (const Case& c : {Case{"cloneIndependent",
                               [](NoteDatabase& d) { std::unique_ptr<Package> copy(d.cloneIndependent()); }},
                          Case{"createRecord from a template",
                               [](NoteDatabase& d) { d.createRecord(key(1), String(), key(3)); }}}) {
        int failures = 0;
        for (int step = 0;; ++step) {
            SCOPED_TRACE(std::string(c.name) + ", allocation " + std::to_string(step));
            NoteDatabase database;
            database.createRecord(Guid(), "A", key(1)).second->m_text = "a";
            database.createRecord(Guid(), "B", key(2));
            testing_support::failAllocationAfter(step);
            try {
                c.copy(database);
            } catch (std::bad_alloc const&) {
            }
            if (!testing_support::disarmAllocationFailure()) {
                break;
            }
            ++failures;
            ASSERT_NE(database.findRecord(key(1), false), nullptr);
            EXPECT_EQ(database.findRecord(key(1), false)->m_text, "a");
            EXPECT_NE(database.findRecord(key(2), false), nullptr);
        }
        EXPECT_GT(failures, 0) << c.name;
    }
}

TEST_F(PresetTest, NameListsAreInNameOrderWhateverTheKeys) {
    NoteDatabase database;
    database.createRecord(Guid(), "cherry", key(1));
    database.createRecord(Guid(), "Banana", key(2));
    database.createRecord(Guid(), "apple", key(3));
    database.createRecord(Guid(), "Apple", key(0x100));
    database.getRecordList().edit()[key(9)] = nullptr;
    auto list = database.getNameList();
    std::vector<std::string> names;
    for (auto const& pair : *list) {
        names.push_back(pair.second->getName().data());
    }
    std::vector<std::string> expected = {"apple", "Apple", "Banana", "cherry"};
    if (key(0x100) < key(3)) {
        std::swap(expected[0], expected[1]); // equal names keep key order
    }
    EXPECT_EQ(names, expected);

    EXPECT_TRUE(database.validate());
    EXPECT_EQ(database.size(), 4u) << "entries without a record are dropped";
}

TEST_F(PresetTest, ARecordRenamedAgainstItself) {
    NoteDatabase database;
    auto deprecated = database.createRecord(Guid(), "Alpha", key(1)).second;
    database.setDeprecated(key(1), true);
    database.getUniqueName(deprecated);
    EXPECT_EQ(deprecated->getName(), "Alpha1") << "the holder takes the generated name last";

    auto current = database.createRecord(Guid(), "Beta", key(2)).second;
    database.getUniqueName(current);
    EXPECT_EQ(current->getName(), "Beta1");

    auto fresh = std::make_shared<NoteRecord>("Gamma");
    database.getUniqueName(fresh);
    EXPECT_EQ(fresh->getName(), "Gamma");
}

} // namespace
