#include "Preset/UserDatabaseCollection.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "Preset/DeletedDatabase.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLMapProxy.h"
#include "XML/XMLTypeProxy.h"

#include "NoteDatabase.h"
#include "PresetFixture.h"
#include "sim/Project.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

// A plain array binding: entries of no interest, a tag of its own.
class Shelf : public XMLArray {
public:
    char const* getTag() const override { return "shelf"; }
    std::size_t shippingSize() const override { return 0; }
    Shipping* getShipping(std::size_t, bool) override { return nullptr; }
    using XMLArray::addShipping;
    Shipping* addShipping(String const&, String const&) override { return nullptr; }
    void setDefault() override {}
};

// A leaf is no database binding.
class Label : public XMLTypeProxy<String> {
public:
    Label() : XMLTypeProxy<String>(m_text, "label") {}
    String m_text;
};

TEST_F(PresetTest, CollectionsHandOutProxiesByBindingKind) {
    NoteDatabase notes;
    UserDatabaseCollection collection;
    EXPECT_STREQ(collection.getTag(), "collection");
    EXPECT_EQ(xmlOf(collection), "<collection></collection>");
    collection.addPackage(new NoteDatabase::FilteredProxy(notes, {}), nullptr);
    collection.addPackage(new XMLMapProxy(notes.getRecordList(), "list"), nullptr);
    collection.addPackage(new Shelf, nullptr);
    collection.addPackage(new Label, nullptr);
    collection.addPackage(nullptr, nullptr);
    ASSERT_EQ(collection.shippingSize(), 4u);

    struct Case {
        std::size_t index;
        char const* tag;
        char const* kind;
    };
    for (Case const& c : std::vector<Case>{{0, "noteDatabase", "assembly"},
                                           {1, "list", "map"},
                                           {2, "shelf", "array"},
                                           {3, "label", "none"}}) {
        SCOPED_TRACE(c.tag);
        std::unique_ptr<Shipping> byIndex(collection.getShipping(c.index, false));
        std::unique_ptr<Shipping> byTag(collection.addShipping(String(c.tag), String()));
        for (Shipping* proxy : {byIndex.get(), byTag.get()}) {
            std::string kind = dynamic_cast<XMLAssemblyProxy*>(proxy) != nullptr ? "assembly"
                               : dynamic_cast<XMLMapProxy*>(proxy) != nullptr    ? "map"
                               : dynamic_cast<XMLArrayProxy*>(proxy) != nullptr  ? "array"
                                                                                 : "none";
            EXPECT_EQ(kind, c.kind);
            if (auto* named = dynamic_cast<XMLShipping*>(proxy)) {
                EXPECT_STREQ(named->getTag(), c.tag);
            }
        }
    }
    EXPECT_EQ(collection.getShipping(4, false), nullptr);
    EXPECT_EQ(collection.addShipping(String("unknown"), String()), nullptr);
    EXPECT_EQ(collection.getPackage(NoteDatabase::ID.getFamily()), nullptr);
    EXPECT_EQ(collection.releasePackage(NoteDatabase::ID.getFamily()), nullptr);
}

TEST_F(PresetTest, FilteredViewsWriteAcceptedRecordsAndMergeAcceptedOnes) {
    NoteDatabase database;
    database.createRecord(Guid(), "keep A", key(1));
    database.createRecord(Guid(), "drop B", key(2));
    database.setDefaultRecord(key(1));
    UserDatabaseCollection out;
    database.initialiseStorage(out, false, {std::make_shared<PrefixFilter>("keep"), nullptr});
    EXPECT_STREQ(out.getTag(), "notes");
    std::string xml = xmlOf(out);
    EXPECT_EQ(xml, "<notes><noteDatabase><default>" + keyText(1) + "</default><records><note key=\"" +
                       keyText(1) + "\" edit=\"" + clockText +
                       "\"><name>keep A</name><text></text></note></records>" + "</noteDatabase></notes>");
    EXPECT_EQ(out.getPackage(NoteDatabase::ID.getFamily()), &database);

    // Read into a database holding other records: accepted ones merge, refused ones vanish.
    NoteDatabase target;
    target.createRecord(Guid(), "keep A", key(5));
    target.createRecord(Guid(), "drop C", key(6));
    target.setDefaultRecord(key(6));
    UserDatabaseCollection in;
    target.initialiseStorage(in, false, {std::make_shared<PrefixFilter>("keep")});
    std::string file = "<notes><noteDatabase><records>"
                       "<note key=\"" +
                       keyText(1) + "\"><name>keep A</name></note><note key=\"" + keyText(2) +
                       "\"><name>drop B</name></note><stray/></records></noteDatabase></notes>";
    ASSERT_TRUE(readXML(in, file));
    EXPECT_EQ(target.size(), 3u);
    EXPECT_EQ(target.findRecord(key(1), false)->getName(), "keep A1");
    EXPECT_EQ(target.findRecord(key(2), false), nullptr);
    EXPECT_EQ(target.findRecord(key(6), false)->getName(), "drop C") << "records the view refuses stay";
    EXPECT_EQ(target.getDefault(), key(6)) << "a document without a default keeps the database's";
    EXPECT_EQ(in.releasePackage(NoteDatabase::ID.getFamily()), &target);
}

TEST_F(PresetTest, IndependentCopiesBelongToTheCollection) {
    int live = NoteDatabase::live;
    NoteDatabase database;
    database.createRecord(Guid(), "A", key(1));
    {
        UserDatabaseCollection collection;
        database.initialiseStorage(collection, true, {});
        EXPECT_EQ(NoteDatabase::live, live + 2);
        EXPECT_NE(collection.getPackage(NoteDatabase::ID.getFamily()), &database);
    }
    EXPECT_EQ(NoteDatabase::live, live + 1) << "the owned copy went with the collection";
    {
        UserDatabaseCollection collection;
        database.initialiseStorage(collection, false, {});
    }
    EXPECT_EQ(NoteDatabase::live, live + 1) << "a lent database stays";
    std::unique_ptr<Package> released;
    {
        UserDatabaseCollection collection;
        database.initialiseStorage(collection, true, {});
        database.initialiseStorage(collection, true, {}); // a second copy of the same code replaces the first
        EXPECT_EQ(NoteDatabase::live, live + 2);
        released.reset(collection.releasePackage(NoteDatabase::ID.getFamily()));
        ASSERT_NE(released, nullptr);
    }
    EXPECT_EQ(NoteDatabase::live, live + 2) << "a released package stays with the caller";
    EXPECT_EQ(dynamic_cast<NoteDatabase&>(*released).findRecord(key(1), false)->getName(), "A");
}

TEST_F(PresetTest, CollectionsHandTheirPackagesToTheOpenProject) {
    int live = NoteDatabase::live;
    NoteDatabase lent;
    lent.createRecord(Guid(), "lent", key(2));
    DeletedDatabase deleted;
    deleted.recordDeletion(key(1), 7);
    {
        UserDatabaseCollection collection;
        EXPECT_TRUE(collection.applyToProject()) << "nothing to hand on";
        deleted.initialiseStorage(collection, true, {});
        lent.initialiseStorage(collection, false, {});
        EXPECT_STREQ(collection.getTag(), "notes");
        EXPECT_FALSE(collection.applyToProject()) << "no project is open";
        EXPECT_NE(collection.getPackage(DeletedDatabase::ID.getFamily()), nullptr);
        EXPECT_NE(collection.getPackage(NoteDatabase::ID.getFamily()), nullptr);

        sim::openProject();
        Project* project = host.getProject();
        ASSERT_NE(project, nullptr);
        EXPECT_TRUE(deleted.mergeStorage(collection));
        EXPECT_EQ(collection.getPackage(DeletedDatabase::ID.getFamily()), nullptr);
        EXPECT_EQ(collection.getPackage(NoteDatabase::ID.getFamily()), nullptr);
        auto* stored =
            dynamic_cast<DeletedDatabase*>(project->getPreference(DeletedDatabase::ID.getFamily()));
        ASSERT_NE(stored, nullptr);
        EXPECT_NE(stored, &deleted);
        EXPECT_EQ(stored->findRecord(key(1), false)->getDatabaseID(), 7u);
        auto* notes = dynamic_cast<NoteDatabase*>(project->getPreference(NoteDatabase::ID.getFamily()));
        ASSERT_NE(notes, nullptr);
        EXPECT_NE(notes, &lent) << "the project keeps a copy of a lent database";
        EXPECT_EQ(notes->findRecord(key(2), false), lent.findRecord(key(2), false));
        project->setPreference(new DeletedDatabase, false);
        project->setPreference(new NoteDatabase, false);
    }
    sim::closeProject();
    EXPECT_EQ(NoteDatabase::live, live + 2) << "the lent database and the project's empty one";
}

} // namespace
