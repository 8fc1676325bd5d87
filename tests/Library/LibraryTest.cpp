#include "Library/Library.h"
#include "Environment/Guid.h"
#include "sim/Library.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

const char* const doorID = "{11E85B84-8DD1-491B-A2FE-337454A91545}-{9CD857B9-18A7-4F56-80E4-3E80CF98C51C}";
const char* const windowID = "{4ABD0A6E-634B-4931-B3AA-9BEE01F35CDF}-{71F409AA-4D0A-4152-BF03-8E77782C8DD6}";

sim::LibPartDef part(API_LibTypeID type, const std::string& name, const std::string& ownID = "",
                     const std::string& parentID = "") {
    sim::LibPartDef def;
    def.type = type;
    def.name = name;
    def.ownID = ownID;
    def.parentID = parentID;
    return def;
}

std::string id(int n) {
    char text[80];
    std::snprintf(text, sizeof text, "{00000000-0000-0000-0000-%012d}-{00000000-0000-0000-0000-000000000001}",
                  n);
    return text;
}

} // namespace

TEST(LibraryTest, NameSearchesAndTheirOrder) {
    sim::addLibPart(part(APILib_ObjectID, "Chair", id(1)));
    sim::addLibPart(part(APILib_LampID, "Chair", id(2)));
    sim::LibPartDef onlyFile = part(APILib_ObjectID, "Table 01", id(3));
    onlyFile.fileName = "Table.gsm";
    sim::addLibPart(onlyFile);
    Library library(nullptr, 0);
    struct Case {
        const char* name;
        API_LibTypeID type;
        Int32 index;
        API_LibTypeID found;
        std::size_t searches;
    };
    const Case cases[] = {
        {"Chair", APILib_LampID, 2, APILib_LampID, 1},     // the typed search
        {"Chair", APILib_DoorID, 1, APILib_ObjectID, 2},   // falls back to any type
        {"Table", APILib_ObjectID, 3, APILib_ObjectID, 3}, // only the file name with ".gsm" fits
        {"Bench", APILib_ObjectID, 0, APILib_ObjectID, 3},
    };
    for (const Case& c : cases) {
        sim::clearCalls();
        API_LibTypeID type = c.type;
        EXPECT_EQ(library.getIndexByName(c.name, type), c.index) << c.name;
        EXPECT_EQ(type, c.found) << c.name;
        EXPECT_EQ(sim::callCount("ACAPI_LibPart_Search"), c.searches) << c.name;
    }
}

TEST(LibraryTest, SearchesFollowTheLibrarysChanges) {
    sim::addLibPart(part(APILib_ObjectID, "Chair", id(1)));
    Library library(nullptr, 0);
    API_LibTypeID type = APILib_ObjectID;
    ASSERT_EQ(library.getIndexByName("Chair", type), 1);

    // Added after a search: found, and the first part of a name stays the one found.
    sim::addLibPart(part(APILib_ObjectID, "Table", id(2)));
    sim::addLibPart(part(APILib_ObjectID, "Chair", id(3)));
    sim::addLibPart(part(APILib_ObjectID, "Gate", id(4), doorID));
    EXPECT_EQ(library.getIndexByName("Table", type), 2);
    EXPECT_EQ(library.getIndexByName("Chair", type), 1);
    EXPECT_EQ(library.getIndexByID(FamilyGuid(id(3).c_str()), type), 3);
    type = 0;
    EXPECT_EQ(library.getIndexByName("Gate", type), 4);
    EXPECT_EQ(type, APILib_DoorID) << "derived from the door subtype through its parent";

    // Changed through the host: found by the new names only.
    sim::libPart(1)->name = "Armchair";
    sim::libPart(2)->fileName = "Desk.gsm";
    sim::libPart(3)->ownID = id(5);
    sim::libPart(4)->parentID = "";
    struct Case {
        const char* name;
        Int32 index;
    };
    for (const Case& c : {Case{"Chair", 3}, Case{"Armchair", 1}, Case{"Table", 2}, Case{"Desk", 2}}) {
        type = APILib_ObjectID;
        EXPECT_EQ(library.getIndexByName(c.name, type), c.index) << c.name;
    }
    type = APILib_ObjectID;
    EXPECT_EQ(library.getIndexByID(FamilyGuid(id(3).c_str()), type), 0);
    EXPECT_EQ(library.getIndexByID(FamilyGuid(id(5).c_str()), type), 3);
    type = 0;
    EXPECT_EQ(library.getIndexByName("Gate", type), 4);
    EXPECT_EQ(type, APILib_ObjectID) << "no parent any more";

    sim::clearLibrary();
    EXPECT_EQ(library.getIndexByName("Armchair", type), 0);
    sim::addLibPart(part(APILib_ObjectID, "Armchair", id(6)));
    EXPECT_EQ(library.getIndexByName("Armchair", type), 1);
}

TEST(LibraryTest, LongNamesAreCutAndTerminated) {
    std::string longName(300, 'x');
    sim::addLibPart(part(APILib_ObjectID, std::string(255, 'x')));
    Library library(nullptr, 0);
    API_LibTypeID type = 0;
    EXPECT_EQ(library.getIndexByName(longName.c_str(), type), 1);
}

TEST(LibraryTest, IdSearchesAndSubtypes) {
    sim::addLibPart(part(APILib_ObjectID, "Plain", id(1)));
    sim::addLibPart(part(APILib_ObjectID, "Door-like", id(2)));
    sim::addLibPart(part(APILib_ObjectID, "Child A", id(3), id(1)));
    sim::addLibPart(part(APILib_ObjectID, "Child B", id(4), id(1)));
    sim::addLibPart(part(APILib_WindowID, "Window", windowID));
    sim::setSubtype(id(2), doorID);
    Library library(nullptr, 0);

    API_LibTypeID type = 0;
    EXPECT_EQ(library.getIndexByID(FamilyGuid(id(1).c_str()), type), 1);
    EXPECT_EQ(type, APILib_ObjectID);
    type = 0;
    EXPECT_EQ(library.getIndexByID(FamilyGuid(id(2).c_str()), type), 2);
    EXPECT_EQ(type, APILib_DoorID); // registered as an object, derived from the door subtype
    type = 0;
    EXPECT_EQ(library.getIndexByID(FamilyGuid(windowID), type), 5);
    EXPECT_EQ(type, APILib_WindowID);
    type = APILib_LampID;
    EXPECT_EQ(library.getIndexByID(FamilyGuid(id(1).c_str()), type), 0);
    EXPECT_EQ(type, APILib_LampID);
    type = 0;
    EXPECT_EQ(library.getIndexByID(FamilyGuid(), type), 0);

    type = 0;
    Int32 first = library.getIndexByParentID(FamilyGuid(id(1).c_str()), type, 0);
    Int32 second = library.getIndexByParentID(FamilyGuid(id(1).c_str()), type, first);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 4);
    EXPECT_EQ(library.getIndexByParentID(FamilyGuid(id(1).c_str()), type, second), 0);
}

TEST(LibraryTest, CountBuiltinsAndHostFailures) {
    sim::addLibPart(part(APILib_ObjectID, "A", id(1)));
    sim::addLibPart(part(APILib_LampID, "B", id(2)));
    sim::setBuiltinPart(19010, id(2));
    Library library(nullptr, 0);
    for (API_LibTypeID type : {0, 4, 5, 12}) {
        EXPECT_EQ(library.getCount(type), 2);
    }
    EXPECT_EQ(std::string(library.getBuiltinComponentID(19010).data()), id(2));
    EXPECT_EQ(library.getBuiltinComponentIndex(19010), 2);
    EXPECT_FALSE(library.getBuiltinComponentID(19011));
    EXPECT_EQ(library.getBuiltinComponentIndex(19011), 0);

    sim::failCall("ACAPI_LibPart_GetNum", APIERR_GENERAL);
    EXPECT_EQ(library.getCount(0), 0);
    sim::failCall("ACAPI_LibPart_Search", APIERR_GENERAL, 3);
    API_LibTypeID type = 0;
    EXPECT_EQ(library.getIndexByName("A", type), 0);
    EXPECT_EQ(library.getDescription(), "Library");
}

TEST(LibraryTest, FamilyRelations) {
    sim::addLibPart(part(APILib_ObjectID, "Parent", id(1)));
    sim::addLibPart(part(APILib_ObjectID, "Child", id(2), id(1)));
    sim::addLibPart(part(APILib_ObjectID, "Grandchild", id(3), id(2)));
    FamilyGuid parent(id(1).c_str()), child(id(2).c_str()), grandchild(id(3).c_str());
    EXPECT_TRUE(grandchild.isDerivedFrom(parent));
    EXPECT_TRUE(child.isDerivedFrom(child));
    EXPECT_FALSE(parent.isDerivedFrom(child));

    std::string otherVersion = id(1);
    otherVersion.replace(otherVersion.size() - 3, 2, "99");
    struct Case {
        std::string other;
        int result;
    };
    const Case cases[] = {{id(1), 1}, {id(2), 0}, {otherVersion, 2}, {"", 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(parent.compareTo(FamilyGuid(c.other.c_str())), c.result) << c.other;
    }
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL);
    EXPECT_EQ(parent.compareTo(parent), 4);
    EXPECT_FALSE(FamilyGuid());
    EXPECT_TRUE(FamilyGuid(Guid(String("{11E85B84-8DD1-491B-A2FE-337454A91545}"))));
}
