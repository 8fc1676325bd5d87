#include "ACAPI/ElementTable.hpp"
#include "ACAPI/Database.hpp"
#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementRequests.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "ACAPI/Output.hpp"
#include "ACAPI/ProjectInfo.hpp"
#include "ACAPI/Selection.hpp"
#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/Attributes.h"
#include "sim/Databases.h"
#include "sim/ElementRequests.h"
#include "sim/ElementTable.h"
#include "sim/Memory.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

API_Element record(API_ElemTypeID type, short floor = 0) {
    API_Element element;
    element.header.typeID = type;
    element.header.floorInd = floor;
    return element;
}

std::vector<GS::Guid> list(API_ElemTypeID type, API_ElemFilterFlags flags = 0,
                           const GS::Guid& renovation = {}) {
    GS::Array<API_Guid> guids;
    EXPECT_EQ(ACAPI_Element_GetElemList(type, &guids, flags, 0, renovation), NoError);
    return std::vector<GS::Guid>(guids.begin(), guids.end());
}

class ElementTableTest : public ::testing::Test {
protected:
    void SetUp() override { sim::openProject(); }
};

} // namespace

TEST_F(ElementTableTest, ListsTheCurrentDatabaseByTypeInOrderMade) {
    GS::Guid wall = sim::addElement(record(API_WallID));
    GS::Guid object = sim::addElement(record(API_ObjectID));
    GS::Guid section;
    section.Generate();
    GS::Guid marker = sim::addElement(record(API_ObjectID), section);

    EXPECT_EQ(list(0), (std::vector<GS::Guid>{wall, object}));
    EXPECT_EQ(list(API_ObjectID), (std::vector<GS::Guid>{object}));
    sim::setCurrentDatabase(APIWind_3DModelID);
    EXPECT_EQ(list(0), (std::vector<GS::Guid>{wall, object})); // the 3D model shares the floor plan's
    sim::setCurrentDatabase(APIWind_SectionID, section);
    EXPECT_EQ(list(0), (std::vector<GS::Guid>{marker}));

    GS::Array<API_Guid> guids;
    EXPECT_EQ(ACAPI_Element_GetElemList(0, &guids, 0x8000), APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Element_GetElemList(0, nullptr), APIERR_BADPARS);
    sim::failCall("ACAPI_Element_GetElemList", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_Element_GetElemList(0, &guids), APIERR_GENERAL);
    sim::closeProject();
    EXPECT_EQ(ACAPI_Element_GetElemList(0, &guids), APIERR_NOPLAN);
}

// Long lists come in the order made too, whether their elements were made one after another
// (some since removed) or among many others.
TEST_F(ElementTableTest, ListsManyElementsInOrderMade) {
    std::vector<GS::Guid> objects, lamps;
    for (int i = 0; i < 300; ++i) {
        GS::Guid object = sim::addElement(record(API_ObjectID));
        if (i % 3 == 1) {
            sim::removeElement(object);
        } else {
            objects.push_back(object);
        }
    }
    for (int i = 0; i < 100; ++i) {
        lamps.push_back(sim::addElement(record(API_LampID)));
        for (int k = 0; k < 5; ++k) {
            sim::addElement(record(API_WallID));
        }
    }
    EXPECT_EQ(list(API_ObjectID), objects) << "made one after another";
    EXPECT_EQ(list(API_LampID), lamps) << "made among others";
}

// The list of all elements is kept as they are made and made again after an element goes: it
// holds each element once, in the order made, through removals, later additions and undoing.
TEST_F(ElementTableTest, ListsHoldEachElementOnceThroughRemovalsAndUndoing) {
    std::vector<GS::Guid> made;
    for (int i = 0; i < 40; ++i) {
        made.push_back(sim::addElement(record(i % 4 == 0 ? API_WallID : API_ObjectID)));
    }
    EXPECT_EQ(list(0), made) << "made";
    sim::removeElement(made[3]);
    sim::removeElement(made[0]);
    made.erase(made.begin() + 3);
    made.erase(made.begin());
    EXPECT_EQ(list(0), made) << "two removed";
    for (int i = 0; i < 5; ++i) {
        made.push_back(sim::addElement(record(API_LampID)));
    }
    EXPECT_EQ(list(0), made) << "more made after the list was made again";
    sim::removeElement(made.back());
    made.pop_back();
    made.push_back(sim::addElement(record(API_LampID)));
    EXPECT_EQ(list(0), made) << "removed before the list was asked for again";

    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(&mask.header.layer, 0xFF, sizeof mask.header.layer);
    EXPECT_EQ(ACAPI_CallUndoableCommand("Failed",
                                        [&] {
                                            API_Element changed = sim::element(made[1]);
                                            changed.header.layer = 3;
                                            ACAPI_Element_Change(&changed, &mask, nullptr, 0, true);
                                            for (std::size_t i : {std::size_t(2), std::size_t(7)}) {
                                                API_Elem_Head head = sim::element(made[i]).header;
                                                ACAPI_Element_Delete(&head, 1);
                                            }
                                            API_Element lamp = record(API_LampID);
                                            ACAPI_Element_Create(&lamp, nullptr);
                                            return APIERR_CANCEL;
                                        }),
              APIERR_CANCEL);
    EXPECT_EQ(list(0), made) << "a failed command taken back";
    made.push_back(sim::addElement(record(API_WallID)));
    EXPECT_EQ(list(0), made) << "made after the command";
    EXPECT_EQ(list(API_LampID), std::vector<GS::Guid>(made.end() - 6, made.end() - 1));
}

TEST_F(ElementTableTest, ListsOfATypeFollowEveryChange) {
    const API_ElemTypeID types[] = {API_WallID, API_ObjectID, API_LampID, API_DoorID};
    // Each type's list is the whole list's elements of that type, in the same order.
    auto check = [&](const char* step) {
        std::vector<GS::Guid> all = list(0);
        for (API_ElemTypeID type : types) {
            std::vector<GS::Guid> ofType;
            for (const GS::Guid& guid : all) {
                if (sim::element(guid).header.typeID == type) {
                    ofType.push_back(guid);
                }
            }
            EXPECT_EQ(list(type), ofType) << step << ", type " << type;
        }
    };
    GS::Guid wall = sim::addElement(record(API_WallID));
    GS::Guid first = sim::addElement(record(API_ObjectID));
    GS::Guid second = sim::addElement(record(API_ObjectID));
    check("added");
    EXPECT_EQ(list(API_ObjectID).size(), 2u);
    EXPECT_TRUE(list(API_LampID).empty());

    ASSERT_EQ(ACAPI_CallUndoableCommand("Make",
                                        [&] {
                                            API_Element lamp = record(API_LampID);
                                            ACAPI_Element_Create(&lamp, nullptr);
                                            API_Elem_Head head = sim::element(first).header;
                                            return ACAPI_Element_Delete(&head, 1);
                                        }),
              NoError);
    check("made and deleted");
    EXPECT_EQ(list(API_LampID).size(), 1u);

    ASSERT_EQ(ACAPI_CallUndoableCommand("Edit",
                                        [&] {
                                            API_EditPars pars{};
                                            pars.typeID = APIEdit_Drag;
                                            pars.withDelete = false; // a copy
                                            API_Neig neig;
                                            neig.guid = second;
                                            ACAPI_Element_Edit(&neig, 1, pars);
                                            sim::setEditRenewsGuid(true);
                                            pars.withDelete = true; // moved under a new GUID
                                            neig.guid = wall;
                                            return ACAPI_Element_Edit(&neig, 1, pars);
                                        }),
              NoError);
    check("copied and moved");
    EXPECT_EQ(list(API_ObjectID).size(), 2u);
    EXPECT_TRUE(sim::undoLastCommand());
    check("undone");
    EXPECT_EQ(list(API_ObjectID), (std::vector<GS::Guid>{second}));
    EXPECT_EQ(list(API_WallID), (std::vector<GS::Guid>{wall}));

    EXPECT_EQ(ACAPI_CallUndoableCommand("Failed",
                                        [&] {
                                            for (const GS::Guid& guid : list(0)) {
                                                API_Elem_Head head = sim::element(guid).header;
                                                ACAPI_Element_Delete(&head, 1);
                                            }
                                            API_Element door = record(API_DoorID);
                                            ACAPI_Element_Create(&door, nullptr);
                                            return APIERR_CANCEL;
                                        }),
              APIERR_CANCEL);
    check("taken back");
    EXPECT_TRUE(list(API_DoorID).empty());
    EXPECT_EQ(list(0).size(), 3u);

    sim::closeProject();
    sim::openProject();
    EXPECT_TRUE(list(API_WallID).empty());
    sim::addElement(record(API_DoorID));
    check("another project");
    EXPECT_EQ(list(API_DoorID).size(), 1u);
}

TEST_F(ElementTableTest, EachFilterFlagIsItsOwnTest) {
    sim::setTeamwork(true, 5, {}, true);
    sim::setCurrentStorey(1);
    GS::Guid renovation;
    renovation.Generate();
    sim::setRenovationFilterHides(renovation, {2});

    API_Element plain = record(API_WallID, 1);
    plain.header.userId = 5;
    API_Element locked = plain;
    locked.header.locked = true;
    API_Element others = plain;
    others.header.userId = 7;
    API_Element grouped = plain;
    grouped.header.groupGuid.Generate();
    API_Element hotlinked = plain;
    hotlinked.header.hotlinkGuid.Generate();
    API_Element otherFloor = plain;
    otherFloor.header.floorInd = 0;
    API_Element demolished = plain;
    demolished.header.renovationStatus = 2;
    GS::Guid p = sim::addElement(plain), l = sim::addElement(locked), o = sim::addElement(others),
             g = sim::addElement(grouped), h = sim::addElement(hotlinked), f = sim::addElement(otherFloor),
             d = sim::addElement(demolished);

    struct Case {
        API_ElemFilterFlags flags;
        std::vector<GS::Guid> expected;
    };
    const Case cases[] = {
        {0, {p, l, o, g, h, f, d}},
        {APIFilt_IsEditable, {p, g, f, d}},
        {APIFilt_OnActFloor, {p, l, o, g, h, d}},
        {APIFilt_InMyWorkspace, {p, l, g, h, f, d}},
        {APIFilt_IsIndependent, {p, l, o, f, d}},
        {APIFilt_IsVisibleByRenovation, {p, l, o, g, h, f}},
        {APIFilt_IsEditable | APIFilt_IsIndependent, {p, f, d}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list(API_WallID, c.flags, renovation), c.expected) << "flags " << c.flags;
        for (const GS::Guid& guid : {p, l, o, g, h, f, d}) {
            bool listed = std::find(c.expected.begin(), c.expected.end(), guid) != c.expected.end();
            EXPECT_EQ(ACAPI_Element_Filter(guid, c.flags, 0, renovation), listed) << "flags " << c.flags;
        }
    }
    // Another renovation filter hides nothing.
    EXPECT_EQ(list(API_WallID, APIFilt_IsVisibleByRenovation).size(), 7u);
    EXPECT_FALSE(ACAPI_Element_Filter(GS::Guid(), 0));
}

TEST_F(ElementTableTest, GetChangeCreateDelete) {
    API_Element wall = record(API_WallID);
    wall.header.layer = 3;
    GS::Guid guid = sim::addElement(wall);

    API_Element got;
    got.header.guid = guid;
    ASSERT_EQ(ACAPI_Element_Get(&got), NoError);
    EXPECT_EQ(got.header.layer, 3);
    got.header.typeID = API_DoorID;
    EXPECT_EQ(ACAPI_Element_Get(&got), APIERR_BADID); // another type

    // Only the marked bytes change; type, GUID and owner never do.
    API_Element change = sim::element(guid);
    change.header.layer = 9;
    change.header.floorInd = 4;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(&mask.header.layer, 0xFF, sizeof mask.header.layer);
    ASSERT_EQ(ACAPI_Element_Change(&change, &mask, nullptr, 0, true), NoError);
    EXPECT_EQ(sim::element(guid).header.layer, 9);
    EXPECT_EQ(sim::element(guid).header.floorInd, 0);
    EXPECT_EQ(change.header.floorInd, 0); // the record is given back as stored
    EXPECT_EQ(sim::element(guid).header.modiStamp, 1u);

    API_Element made = record(API_ObjectID);
    ASSERT_EQ(ACAPI_Element_Create(&made, nullptr), NoError);
    EXPECT_TRUE(sim::hasElement(made.header.guid));
    EXPECT_EQ(list(0), (std::vector<GS::Guid>{guid, made.header.guid}));

    API_Elem_Head heads[2] = {sim::element(guid).header, made.header};
    heads[1].guid.Generate(); // none such: nothing is deleted
    EXPECT_EQ(ACAPI_Element_Delete(heads, 2), APIERR_BADID);
    EXPECT_EQ(sim::elementCount(), 2u);
    heads[1] = made.header;
    EXPECT_EQ(ACAPI_Element_Delete(heads, 2), NoError);
    EXPECT_EQ(sim::elementCount(), 0u);

    sim::failCall("ACAPI_Element_Create", APIERR_MEMFULL);
    EXPECT_EQ(ACAPI_Element_Create(&made, nullptr), APIERR_MEMFULL);
    EXPECT_EQ(sim::elementCount(), 0u);
}

// Each read below follows a read of the same GUID, which the table answers from the element it
// found last: whatever took that element's place, or took it away, is what is read.
TEST_F(ElementTableTest, AReadAfterAnotherOfTheSameElementSeesWhatBecameOfIt) {
    auto layerOf = [](const GS::Guid& guid) {
        API_Element got;
        got.header.guid = guid;
        return ACAPI_Element_Get(&got) == NoError ? int(got.header.layer) : -1;
    };
    API_Element first = record(API_ObjectID);
    first.header.layer = 2;
    GS::Guid guid = sim::addElement(first);
    ASSERT_EQ(layerOf(guid), 2);

    API_Elem_Head head = sim::element(guid).header;
    ASSERT_EQ(ACAPI_Element_Delete(&head, 1), NoError);
    EXPECT_EQ(layerOf(guid), -1) << "deleted";
    EXPECT_FALSE(sim::hasElement(guid));

    API_Element again = first;
    again.header.guid = guid;
    again.header.layer = 5;
    sim::addElement(again);
    EXPECT_EQ(layerOf(guid), 5) << "made again under its GUID";

    API_EditPars pars{};
    pars.typeID = APIEdit_Drag;
    pars.withDelete = true; // taken out and put back under the same GUID
    API_Neig neig;
    neig.guid = guid;
    ASSERT_EQ(ACAPI_Element_Edit(&neig, 1, pars), NoError);
    ASSERT_EQ(neig.guid, guid);
    EXPECT_EQ(layerOf(guid), 5);
    EXPECT_EQ(sim::element(guid).header.modiStamp, 1u) << "dragged";

    // Many more elements, so that the table grows, and the one read last is still the one found.
    for (int i = 0; i < 2000; ++i) {
        sim::addElement(record(API_WallID));
    }
    EXPECT_EQ(layerOf(guid), 5) << "after the table grew";

    sim::clearProject();
    sim::openProject();
    EXPECT_EQ(layerOf(guid), -1) << "after the project closed";
}

TEST_F(ElementTableTest, AChangeTakesEveryMarkedByteAndNoOther) {
    // Masks marking whole words, bytes here and there in a word, or none, at every offset.
    struct Case {
        const char* label;
        bool (*marked)(std::size_t);
    };
    const Case cases[] = {
        {"none", [](std::size_t) { return false; }},
        {"all", [](std::size_t) { return true; }},
        {"every other byte", [](std::size_t i) { return i % 2 == 0; }},
        {"the last byte of each eight", [](std::size_t i) { return i % 8 == 7; }},
        {"every third byte", [](std::size_t i) { return i % 3 == 1; }},
        {"every other eight", [](std::size_t i) { return i / 8 % 2 == 0; }},
        {"runs of five", [](std::size_t i) { return i / 5 % 2 == 1; }},
        {"two whole words, then part of one", [](std::size_t i) { return i / 8 % 3 != 2 || i % 8 < 3; }},
        {"scattered", [](std::size_t i) { return (i * 2654435761u) % 7 < 3; }},
        {"a word in six", [](std::size_t i) { return i / 8 % 6 == 0; }},
        {"a byte in ninety-seven", [](std::size_t i) { return i % 97 == 0; }},
        {"unmarked runs of one to nine words",
         [](std::size_t i) { return i / 8 % 10 == 0 || i / 8 % 11 == 0; }},
        {"the last three bytes only", [](std::size_t i) { return i + 3 >= sizeof(API_Element); }},
        {"whole words, a byte in sixty-one left out", [](std::size_t i) { return i % 61 != 0; }},
        {"all but the last byte", [](std::size_t i) { return i + 1 < sizeof(API_Element); }},
        {"the last word only", [](std::size_t i) { return i / 8 == sizeof(API_Element) / 8 - 1; }},
    };
    const std::size_t body = sizeof(API_Elem_Head); // the header keeps its type, GUID and owner
    for (const Case& c : cases) {
        API_Element before = record(API_ObjectID);
        auto* kept = reinterpret_cast<unsigned char*>(&before);
        for (std::size_t i = body; i < sizeof before; ++i) {
            kept[i] = static_cast<unsigned char>(i % 251 + 1);
        }
        GS::Guid guid = sim::addElement(before);
        API_Element values = sim::element(guid);
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        auto* given = reinterpret_cast<unsigned char*>(&values);
        auto* marks = reinterpret_cast<unsigned char*>(&mask);
        for (std::size_t i = body; i < sizeof values; ++i) {
            given[i] = static_cast<unsigned char>(255 - i % 251);
            // Any byte other than 0 marks, the high bit set or not; every other sixteen bytes are
            // marked by 0xFF, as masks filled whole mark them.
            unsigned char mark =
                i / 16 % 2 == 0 ? 0xFF : static_cast<unsigned char>(i % 2 == 0 ? 0x80 : 0x01 + i % 127);
            marks[i] = c.marked(i) ? mark : 0;
        }
        ASSERT_EQ(ACAPI_Element_Change(&values, &mask, nullptr, 0, true), NoError) << c.label;
        const API_Element after = sim::element(guid);
        const auto* got = reinterpret_cast<const unsigned char*>(&after);
        std::size_t wrong = 0;
        for (std::size_t i = body; i < sizeof after; ++i) {
            unsigned char expected = c.marked(i) ? given[i] : kept[i];
            if (got[i] != expected) {
                ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0u) << c.label;
    }
}

TEST_F(ElementTableTest, AnotherMembersElementCannotBeChanged) {
    sim::setTeamwork(true, 5, {}, true);
    API_Element wall = record(API_WallID);
    wall.header.userId = 7;
    GS::Guid guid = sim::addElement(wall);
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
    API_Element change = sim::element(guid);
    EXPECT_EQ(ACAPI_Element_Change(&change, &mask, nullptr, 0, true), APIERR_NOTMINE);
    EXPECT_EQ(ACAPI_Element_ChangeParameters(&change.header, 1, &change, nullptr, &mask), APIERR_NOTMINE);
    EXPECT_EQ(ACAPI_Element_Delete(&change.header, 1), APIERR_NOTMINE);
    API_Element made = record(API_WallID);
    ASSERT_EQ(ACAPI_Element_Create(&made, nullptr), NoError);
    EXPECT_EQ(made.header.userId, 5);

    // Every read, and the record a change gives back, names who holds the element now.
    sim::setElementOwner(guid, 9);
    API_Element read = record(API_WallID);
    read.header.guid = guid;
    ASSERT_EQ(ACAPI_Element_Get(&read), NoError);
    EXPECT_EQ(read.header.userId, 9) << "read";
    API_Elem_Head head = read.header;
    head.userId = 0;
    ASSERT_EQ(ACAPI_Element_GetHeader(&head), NoError);
    EXPECT_EQ(head.userId, 9) << "header";
    API_Element anywhere = record(API_WallID);
    anywhere.header.guid = guid;
    ASSERT_EQ(ACAPI_Database(APIDb_GetElementFromAnywhereID, &anywhere), NoError);
    EXPECT_EQ(anywhere.header.userId, 9) << "from anywhere";
    sim::setElementOwner(made.header.guid, 5);
    API_Element mine = made;
    mine.header.userId = 0;
    ASSERT_EQ(ACAPI_Element_Change(&mine, &mask, nullptr, 0, true), NoError);
    EXPECT_EQ(mine.header.userId, 5) << "changed";
}

TEST_F(ElementTableTest, EditsMoveOrCopyAndMayRenewTheGuid) {
    GS::Guid guid = sim::addElement(record(API_ObjectID));
    API_EditPars pars{};
    pars.typeID = APIEdit_Drag;
    pars.withDelete = true;
    API_Neig neig;
    neig.guid = guid;
    ASSERT_EQ(ACAPI_Element_Edit(&neig, 1, pars), NoError);
    EXPECT_EQ(neig.guid, guid);
    EXPECT_EQ(sim::editsOf(guid).size(), 1u);

    sim::setEditRenewsGuid(true);
    ASSERT_EQ(ACAPI_Element_Edit(&neig, 1, pars), NoError);
    EXPECT_NE(neig.guid, guid);
    EXPECT_FALSE(sim::hasElement(guid));
    EXPECT_EQ(sim::editsOf(neig.guid).size(), 2u);

    pars.withDelete = false; // a copy
    GS::Guid moved = neig.guid;
    ASSERT_EQ(ACAPI_Element_Edit(&neig, 1, pars), NoError);
    EXPECT_TRUE(sim::hasElement(moved));
    EXPECT_NE(neig.guid, moved);
    EXPECT_EQ(sim::elementCount(), 2u);

    neig.guid.Generate();
    EXPECT_EQ(ACAPI_Element_Edit(&neig, 1, pars), APIERR_BADID);
}

TEST_F(ElementTableTest, UserDataOfElementsAndToolDefaults) {
    GS::Guid guid = sim::addElement(record(API_ObjectID));
    API_Elem_Head head = sim::element(guid).header;
    API_ElementUserData data;
    EXPECT_EQ(ACAPI_Element_GetUserData(&head, &data), APIERR_NOUSERDATA);
    EXPECT_EQ(data.dataHdl, nullptr);
    EXPECT_EQ(ACAPI_Element_DeleteUserData(&head), APIERR_NOUSERDATA);

    data.dataVersion = 3;
    data.platformSign = 0x5757;
    data.flags = 12;
    data.dataHdl = BMAllocateHandle(4, 0, 0);
    std::memcpy(*data.dataHdl, "abcd", 4);
    ASSERT_EQ(ACAPI_Element_SetUserData(&head, &data), NoError);
    BMKillHandle(&data.dataHdl);
    sim::UserDataRecord stored = sim::userData(guid);
    EXPECT_EQ(std::string(stored.bytes.begin(), stored.bytes.end()), "abcd");

    API_ElementUserData read;
    ASSERT_EQ(ACAPI_Element_GetUserData(&head, &read), NoError);
    EXPECT_EQ(read.dataVersion, 3);
    EXPECT_EQ(read.platformSign, 0x5757);
    ASSERT_NE(read.dataHdl, nullptr);
    EXPECT_EQ(BMGetHandleSize(read.dataHdl), 4);
    BMKillHandle(&read.dataHdl);

    sim::failNextAllocations(1);
    EXPECT_EQ(ACAPI_Element_GetUserData(&head, &read), APIERR_MEMFULL);
    EXPECT_EQ(ACAPI_Element_DeleteUserData(&head), NoError);
    EXPECT_FALSE(sim::hasUserData(guid));

    API_Elem_Head tool; // no GUID: the defaults of objects of variation 'ABCD'
    tool.typeID = API_ObjectID;
    tool.variationID = MakeGSType("ABCD");
    ASSERT_EQ(ACAPI_Element_SetUserData(&tool, &data), NoError);
    EXPECT_TRUE(sim::hasDefaultUserData(API_ObjectID, tool.variationID));
    EXPECT_FALSE(sim::hasDefaultUserData(API_ObjectID, 0));
}

TEST_F(ElementTableTest, LinksObserversAndDefaults) {
    GS::Guid a = sim::addElement(record(API_WallID)), b = sim::addElement(record(API_DoorID));
    EXPECT_EQ(ACAPI_Element_Link(a, b, 3), NoError);
    EXPECT_EQ(ACAPI_Element_Link(a, a, 3), APIERR_BADID);
    GS::Array<API_Guid> to;
    ASSERT_EQ(ACAPI_Element_GetLinks(a, &to), NoError);
    ASSERT_EQ(to.GetSize(), 1u);
    EXPECT_EQ(to[0], b);
    GSFlags flags = 0;
    EXPECT_EQ(ACAPI_Element_GetLinkFlags(a, b, &flags), NoError);
    EXPECT_EQ(flags, 3u);
    EXPECT_EQ(ACAPI_Element_Unlink(a, b), NoError);
    EXPECT_EQ(ACAPI_Element_Unlink(a, b), APIERR_BADID);

    API_Elem_Head head = sim::element(a).header;
    EXPECT_EQ(ACAPI_Element_AttachObserver(&head, 0), NoError);
    EXPECT_TRUE(sim::isObserved(a));
    EXPECT_EQ(ACAPI_Element_DetachObserver(&head), NoError);
    EXPECT_EQ(ACAPI_Element_DetachObserver(&head), APIERR_BADID);

    API_Element defaults = record(API_ObjectID);
    defaults.header.layer = 4;
    sim::setDefaults(defaults);
    API_Element asked = record(API_ObjectID);
    ASSERT_EQ(ACAPI_Element_GetDefaults(&asked, nullptr), NoError);
    EXPECT_EQ(asked.header.layer, 4);
    asked = record(API_LampID);
    ASSERT_EQ(ACAPI_Element_GetDefaults(&asked, nullptr), NoError);
    EXPECT_EQ(asked.header.layer, 0);
    EXPECT_EQ(asked.header.typeID, API_LampID);
}

TEST_F(ElementTableTest, SelectionAddsRemovesAndForgetsDeletedElements) {
    GS::Guid a = sim::addElement(record(API_WallID)), b = sim::addElement(record(API_DoorID));
    API_Neig neigs[2];
    neigs[0].guid = a;
    neigs[1].guid = b;
    ASSERT_EQ(ACAPI_Element_Select(neigs, 2, true), NoError);
    ASSERT_EQ(ACAPI_Element_Select(neigs, 1, true), NoError); // already selected
    API_SelectionInfo info;
    API_Neig** handle = nullptr;
    ASSERT_EQ(ACAPI_Selection_Get(&info, &handle, false), NoError);
    EXPECT_EQ(info.typeID, API_SelElems);
    EXPECT_EQ(info.sel_nElem, 2);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ((*handle)[1].guid, b);
    GSHandle raw = reinterpret_cast<GSHandle>(handle);
    BMKillHandle(&raw);

    ASSERT_EQ(ACAPI_Element_Select(neigs, 1, false), NoError);
    EXPECT_EQ(sim::selection().size(), 1u);
    API_Elem_Head head = sim::element(b).header;
    ASSERT_EQ(ACAPI_Element_Delete(&head, 1), NoError);
    ASSERT_EQ(ACAPI_Selection_Get(&info, &handle, false), NoError);
    EXPECT_EQ(info.typeID, API_SelEmpty);
    EXPECT_EQ(handle, nullptr);

    neigs[1].guid.Generate();
    EXPECT_EQ(ACAPI_Element_Select(neigs, 2, true), APIERR_BADID);
    EXPECT_TRUE(sim::selection().empty());

    sim::setSelection({neigs[0]}, API_MarqueeRotBox);
    ASSERT_EQ(ACAPI_Selection_Get(&info, nullptr, false), NoError);
    EXPECT_EQ(info.typeID, API_MarqueeRotBox);
    ASSERT_EQ(ACAPI_Element_Select(nullptr, 0, false), NoError);
    EXPECT_EQ(sim::selectionType(), API_SelEmpty);
}

TEST_F(ElementTableTest, ElementRequests) {
    GS::Guid guid = sim::addElement(record(API_ObjectID));
    sim::setElementInfo(guid, "W-1", "M/W-1");
    GS::UniString text;
    ASSERT_EQ(ACAPI_Database(APIDb_GetCompoundInfoStringID, &guid, &text), NoError);
    EXPECT_EQ(text.ToUTF8(), "M/W-1");
    API_Elem_Head head = sim::element(guid).header;
    EXPECT_EQ(ACAPI_Goodies(APIAny_RunGDLParScriptID, &head), NoError);
    EXPECT_EQ(sim::parameterScriptsRun().size(), 1u);
    GS::Guid wall = sim::addElement(record(API_WallID));
    head = sim::element(wall).header;
    EXPECT_EQ(ACAPI_Goodies(APIAny_RunGDLParScriptID, &head), APIERR_BADID);

    struct Case {
        Int32 neig;
        API_ElemTypeID type;
    };
    for (Case c :
         {Case{1, 1}, Case{4, 1}, Case{13, 6}, Case{55, 29}, Case{56, 29}, Case{0, 0}, Case{99, 0}}) {
        API_ElemTypeID type = -1;
        GSErrCode err = ACAPI_Goodies(APIAny_NeigIDToElemTypeID, &c.neig, &type);
        EXPECT_EQ(err == NoError ? type : 0, c.type) << c.neig;
    }

    GS::Array<API_ElemHighlight> table;
    table.Push(API_ElemHighlight{guid, API_RGBAColor()});
    EXPECT_EQ(ACAPI_Interface(APIIo_HighlightElementsID, &table, nullptr), NoError);
    EXPECT_EQ(sim::highlights().size(), 1u);
    EXPECT_EQ(ACAPI_Interface(APIIo_HighlightElementsID, nullptr, nullptr), NoError);
    EXPECT_TRUE(sim::highlights().empty());
}

TEST_F(ElementTableTest, MemosAreKeptPerElementByMaskAndGivenBackAsNewHandles) {
    API_ElementMemo memo;
    memo.coords = reinterpret_cast<API_Coord**>(BMAllocateHandle(2 * sizeof(API_Coord), 0, 0));
    (*memo.coords)[0] = API_Coord{1.0, 2.0};
    (*memo.coords)[1] = API_Coord{3.0, 4.0};
    memo.params = reinterpret_cast<API_AddParType**>(BMAllocateHandle(sizeof(API_AddParType), 0, 0));
    std::memset(static_cast<void*>(*memo.params), 0, sizeof(API_AddParType));
    (*memo.params)[0].typeMod = API_ParArray;
    (*memo.params)[0].value.array = BMAllocateHandle(3, 0, 0);
    std::memcpy(*(*memo.params)[0].value.array, "arr", 3);
    memo.elemInfoString = new GS::UniString("L-1");

    API_Element made = record(API_ObjectID);
    ASSERT_EQ(ACAPI_Element_Create(&made, &memo), NoError);
    ACAPI_DisposeElemMemoHdls(&memo);
    EXPECT_EQ(sim::elementInfo(made.header.guid), "L-1");

    API_ElementMemo read;
    ASSERT_EQ(ACAPI_Element_GetMemo(made.header.guid, &read, APIMemoMask_Polygon), NoError);
    ASSERT_NE(read.coords, nullptr);
    EXPECT_EQ((*read.coords)[1].y, 4.0);
    EXPECT_EQ(read.params, nullptr); // not asked for
    ACAPI_DisposeElemMemoHdls(&read);
    ASSERT_EQ(ACAPI_Element_GetMemo(made.header.guid, &read, APIMemoMask_All), NoError);
    ASSERT_NE(read.params, nullptr);
    ASSERT_NE((*read.params)[0].value.array, nullptr);
    EXPECT_EQ(std::string(*(*read.params)[0].value.array, 3), "arr");

    // A change of the polygon part alone drops the coordinates and keeps the parameters.
    API_ElementMemo empty;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    API_Element change = sim::element(made.header.guid);
    ASSERT_EQ(ACAPI_Element_Change(&change, &mask, &empty, APIMemoMask_Polygon, true), NoError);
    ACAPI_DisposeElemMemoHdls(&read);
    ASSERT_EQ(ACAPI_Element_GetMemo(made.header.guid, &read, APIMemoMask_All), NoError);
    EXPECT_EQ(read.coords, nullptr);
    EXPECT_NE(read.params, nullptr);
    ACAPI_DisposeElemMemoHdls(&read);

    // A failed allocation leaves what was made for the caller to dispose.
    for (int skip = 0; skip < 2; ++skip) {
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        EXPECT_EQ(ACAPI_Element_GetMemo(made.header.guid, &read, APIMemoMask_All), APIERR_MEMFULL);
        ACAPI_DisposeElemMemoHdls(&read);
    }
    sim::failNextAllocations(0);
    EXPECT_EQ(ACAPI_Element_GetMemo(GS::Guid(), &read, 0), APIERR_BADID);
}

TEST_F(ElementTableTest, LayerAndFloorPlanFlags) {
    sim::clearAttributes();
    API_AttributeIndex shown = sim::addAttribute(sim::makeAttribute(API_LayerID, "Shown"));
    API_AttributeIndex hidden = sim::addAttribute(sim::makeAttribute(API_LayerID, "Hidden", APILay_Hidden));
    API_Element onShown = record(API_ObjectID);
    onShown.header.layer = static_cast<short>(shown);
    API_Element onHidden = record(API_ObjectID);
    onHidden.header.layer = static_cast<short>(hidden);
    GS::Guid s = sim::addElement(onShown), h = sim::addElement(onHidden),
             n = sim::addElement(record(API_ObjectID));
    GS::Guid section;
    section.Generate();
    GS::Guid marker = sim::addElement(record(API_ObjectID), section);

    EXPECT_EQ(list(API_ObjectID, APIFilt_OnVisLayer), (std::vector<GS::Guid>{s, n}));
    EXPECT_EQ(list(API_ObjectID, APIFilt_FromFloorplan), (std::vector<GS::Guid>{s, h, n}));
    EXPECT_TRUE(ACAPI_Element_Filter(s, APIFilt_OnVisLayer | APIFilt_FromFloorplan));
    EXPECT_FALSE(ACAPI_Element_Filter(h, APIFilt_OnVisLayer));
    EXPECT_FALSE(ACAPI_Element_Filter(marker, APIFilt_FromFloorplan));
    EXPECT_TRUE(ACAPI_Element_Filter(marker, APIFilt_OnVisLayer));
    sim::setCurrentDatabase(APIWind_SectionID, section);
    EXPECT_TRUE(list(API_ObjectID, APIFilt_FromFloorplan).empty()); // the section's own elements
    EXPECT_EQ(list(API_ObjectID), (std::vector<GS::Guid>{marker}));
}
