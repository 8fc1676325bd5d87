#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "ACAPI/ModuleData.hpp"
#include "ACAPI/Output.hpp"
#include "ACAPI/Selection.hpp"
#include "ACAPI/Toolbox.hpp"
#include "GSRoot/BM.hpp"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

API_Element object(double x) {
    API_Element element;
    element.header.typeID = API_ObjectID;
    element.object.posX = x;
    return element;
}

// The object's parameter "A", 0 without one.
double parameterA(const GS::Guid& guid) {
    std::vector<sim::LibParameter> parameters = sim::memoParameters(guid);
    for (const sim::LibParameter& parameter : parameters) {
        if (std::string(parameter.record.name) == "A") {
            return parameter.record.value.real;
        }
    }
    return 0.0;
}

void setA(const GS::Guid& guid, double a) {
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    ASSERT_EQ(sim::writeParameterRecords({sim::scalarParameter(APIParT_Length, "A", a)}, &memo.params),
              NoError);
    sim::storeMemo(guid, &memo, APIMemoMask_AddPars);
    ACAPI_DisposeElemMemoHdls(&memo);
}

class UndoJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        kept = sim::addElement(object(1.0));
        setA(kept, 0.5);
        gone = sim::addElement(object(2.0));
    }
    GS::Guid kept, gone;
};

} // namespace

TEST_F(UndoJournalTest, ElementChangesNeedACommandOnlyWhenTheHostAsksForOne) {
    struct Case {
        const char* name;
        std::function<GSErrCode(const GS::Guid&)> call;
    };
    const Case cases[] = {
        {"create",
         [](const GS::Guid&) {
             API_Element made = object(3.0);
             return ACAPI_Element_Create(&made, nullptr);
         }},
        {"change",
         [](const GS::Guid& guid) {
             API_Element changed = sim::element(guid);
             API_Element mask;
             std::memset(static_cast<void*>(&mask), 0, sizeof mask);
             changed.object.posX = 9.0;
             mask.object.posX = 1.0;
             return ACAPI_Element_Change(&changed, &mask, nullptr, 0, true);
         }},
        {"delete",
         [](const GS::Guid& guid) {
             API_Elem_Head head = sim::element(guid).header;
             return ACAPI_Element_Delete(&head, 1);
         }},
    };
    for (const Case& c : cases) {
        GS::Guid target = sim::addElement(object(1.0));
        GS::Guid other = sim::addElement(object(1.0));
        sim::requireUndoScope(true);
        std::size_t count = sim::elementCount();
        EXPECT_EQ(c.call(target), APIERR_NEEDSUNDOSCOPE) << c.name;
        EXPECT_EQ(sim::elementCount(), count) << c.name;
        EXPECT_EQ(sim::element(target).object.posX, 1.0) << c.name;
        // Tool defaults stay changeable.
        API_Element defaults = object(4.0);
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
        EXPECT_EQ(ACAPI_Element_ChangeDefaults(&defaults, nullptr, &mask), NoError) << c.name;
        // So do the selection and module data.
        API_Neig neig;
        neig.guid = target;
        EXPECT_EQ(ACAPI_Element_Select(&neig, 1, false), NoError) << c.name;
        API_ModulData data;
        data.dataVersion = 1;
        data.dataHdl = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
        EXPECT_EQ(ACAPI_ModulData_Store(&data, "undo"), NoError) << c.name;
        BMKillHandle(&data.dataHdl);
        GSErrCode inside = APIERR_GENERAL;
        EXPECT_EQ(ACAPI_CallUndoableCommand("Edit", [&] { return inside = c.call(target); }), NoError)
            << c.name;
        EXPECT_EQ(inside, NoError) << c.name;
        sim::requireUndoScope(false);
        EXPECT_EQ(c.call(other), NoError) << c.name << ": unit tests over the host leave the switch off";
    }
}

TEST_F(UndoJournalTest, UndoRevertsTheLastCommandsElementChangesOnce) {
    GS::Guid made;
    API_Element lockedObject = object(3.0);
    lockedObject.header.locked = true;
    GS::Guid locked = sim::addElement(lockedObject);
    GS::Guid free = sim::addElement(object(4.0));
    EXPECT_FALSE(sim::undoLastCommand()) << "no command yet";
    ASSERT_EQ(ACAPI_CallUndoableCommand(
                  "Remap",
                  [&] {
                      API_Element changed = sim::element(kept);
                      API_Element mask;
                      std::memset(static_cast<void*>(&mask), 0, sizeof mask);
                      changed.object.posX = 7.0;
                      mask.object.posX = 1.0;
                      setA(kept, 0.5); // the memo as the command found it
                      API_ElementMemo memo;
                      std::memset(static_cast<void*>(&memo), 0, sizeof memo);
                      sim::writeParameterRecords({sim::scalarParameter(APIParT_Length, "A", 2.5)},
                                                 &memo.params);
                      GSErrCode err = ACAPI_Element_Change(&changed, &mask, &memo, APIMemoMask_AddPars, true);
                      ACAPI_DisposeElemMemoHdls(&memo);
                      // Changed twice: undo goes back to before the first change.
                      changed.object.posX = 8.0;
                      ACAPI_Element_Change(&changed, &mask, nullptr, 0, true);
                      API_Elem_Head head = sim::element(gone).header;
                      ACAPI_Element_Delete(&head, 1);
                      API_Element fresh = object(5.0);
                      ACAPI_Element_Create(&fresh, nullptr);
                      made = fresh.header.guid;
                      // A locked element unlocked, changed and locked again; a free one locked.
                      API_Elem_Head heads[2] = {sim::element(locked).header, sim::element(free).header};
                      ACAPI_Element_Tool(heads, 1, APITool_Unlock);
                      API_Element moved = sim::element(locked);
                      moved.object.posX = 6.0;
                      ACAPI_Element_Change(&moved, &mask, nullptr, 0, true);
                      ACAPI_Element_Tool(heads, 2, APITool_Lock);
                      return err;
                  }),
              NoError);
    EXPECT_EQ(sim::element(kept).object.posX, 8.0);
    EXPECT_EQ(parameterA(kept), 2.5);
    EXPECT_FALSE(sim::hasElement(gone));
    EXPECT_TRUE(sim::hasElement(made));

    EXPECT_TRUE(sim::undoLastCommand());
    EXPECT_TRUE(sim::undoSteps().back().undone);
    EXPECT_EQ(sim::element(kept).object.posX, 1.0);
    EXPECT_EQ(parameterA(kept), 0.5);
    ASSERT_TRUE(sim::hasElement(gone));
    EXPECT_EQ(sim::element(gone).object.posX, 2.0);
    EXPECT_FALSE(sim::hasElement(made));
    EXPECT_TRUE(sim::element(locked).header.locked);
    EXPECT_EQ(sim::element(locked).object.posX, 3.0);
    EXPECT_FALSE(sim::element(free).header.locked);
    EXPECT_EQ(sim::elementsOf(GS::Guid()), (std::vector<GS::Guid>{kept, gone, locked, free}))
        << "the old order is back";
    EXPECT_FALSE(sim::undoLastCommand()) << "one command is kept, once";
}

TEST_F(UndoJournalTest, AFailedCommandIsTakenBackAndLeavesNothingToUndo) {
    ASSERT_EQ(ACAPI_CallUndoableCommand("Kept", [] { return NoError; }), NoError);
    EXPECT_EQ(ACAPI_CallUndoableCommand("Failed",
                                        [&] {
                                            API_Elem_Head head = sim::element(gone).header;
                                            ACAPI_Element_Delete(&head, 1);
                                            return APIERR_CANCEL;
                                        }),
              APIERR_CANCEL);
    EXPECT_TRUE(sim::hasElement(gone)) << "a failed command's changes are taken back";
    EXPECT_FALSE(sim::undoLastCommand());
    EXPECT_FALSE(sim::undoSteps().front().undone);
}

TEST_F(UndoJournalTest, UndoTakesBackOnlyTheLastCommandWhateverItTouchedAgain) {
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    mask.object.posX = 1.0;
    auto moveKept = [&](double x) {
        API_Element changed = sim::element(kept);
        changed.object.posX = x;
        return ACAPI_Element_Change(&changed, &mask, nullptr, 0, true);
    };
    // Its parameter A changed through the host, as the command's memo gives it.
    auto setKeptA = [&](double a) {
        API_Element changed = sim::element(kept);
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        sim::writeParameterRecords({sim::scalarParameter(APIParT_Length, "A", a)}, &memo.params);
        GSErrCode err = ACAPI_Element_Change(&changed, &mask, &memo, APIMemoMask_AddPars, true);
        ACAPI_DisposeElemMemoHdls(&memo);
        return err;
    };
    GS::Guid made, copy;
    ASSERT_EQ(ACAPI_CallUndoableCommand("First",
                                        [&] {
                                            setKeptA(1.5);
                                            return moveKept(7.0);
                                        }),
              NoError);
    ASSERT_EQ(ACAPI_CallUndoableCommand("Second",
                                        [&] {
                                            moveKept(8.0);
                                            setKeptA(3.5);
                                            setKeptA(1.5); // as it was: the kept block stays
                                            setKeptA(4.5);
                                            moveKept(9.0);
                                            // Made, then changed twice in the same command.
                                            API_Element fresh = object(5.0);
                                            ACAPI_Element_Create(&fresh, nullptr);
                                            made = fresh.header.guid;
                                            API_Element changed = sim::element(made);
                                            changed.object.posX = 6.0;
                                            ACAPI_Element_Change(&changed, &mask, nullptr, 0, true);
                                            // Copied by an edit, then changed.
                                            API_Neig neig;
                                            neig.guid = gone;
                                            API_EditPars pars{};
                                            pars.typeID = APIEdit_Drag;
                                            pars.withDelete = false;
                                            ACAPI_Element_Edit(&neig, 1, pars);
                                            copy = neig.guid;
                                            API_Element copied = sim::element(copy);
                                            copied.object.posX = 4.0;
                                            ACAPI_Element_Change(&copied, &mask, nullptr, 0, true);
                                            return moveKept(10.0);
                                        }),
              NoError);
    ASSERT_TRUE(sim::hasElement(made));
    ASSERT_TRUE(sim::hasElement(copy));
    ASSERT_NE(copy, gone);
    ASSERT_EQ(parameterA(kept), 4.5);

    EXPECT_TRUE(sim::undoLastCommand());
    EXPECT_EQ(sim::element(kept).object.posX, 7.0) << "the first command's change stays";
    EXPECT_EQ(parameterA(kept), 1.5) << "as is its memo";
    EXPECT_FALSE(sim::hasElement(made));
    EXPECT_FALSE(sim::hasElement(copy));
    EXPECT_EQ(sim::elementsOf(GS::Guid()), (std::vector<GS::Guid>{kept, gone}));
}

// A command that touches many elements, some more than once, some made or deleted by it, is
// taken back whole, each element as it was before the command.
TEST_F(UndoJournalTest, UndoTakesBackACommandThatTouchedManyElements) {
    std::vector<GS::Guid> placed;
    for (int i = 0; i < 100; ++i) {
        placed.push_back(sim::addElement(object(100.0 + i)));
        setA(placed.back(), 0.25 * i);
    }
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    mask.object.posX = 1.0;
    std::vector<GS::Guid> made;
    ASSERT_EQ(ACAPI_CallUndoableCommand(
                  "Many",
                  [&] {
                      for (int pass = 0; pass < 2; ++pass) {
                          for (std::size_t i = 0; i < placed.size(); ++i) {
                              if (i % 7 == 3) {
                                  continue;
                              }
                              API_Element changed = sim::element(placed[i]);
                              changed.object.posX = -1.0 - double(i) - pass;
                              API_ElementMemo memo;
                              std::memset(static_cast<void*>(&memo), 0, sizeof memo);
                              sim::writeParameterRecords({sim::scalarParameter(APIParT_Length, "A", 9.0)},
                                                         &memo.params);
                              ACAPI_Element_Change(&changed, &mask, &memo, APIMemoMask_AddPars, true);
                              ACAPI_DisposeElemMemoHdls(&memo);
                          }
                      }
                      for (int i = 0; i < 40; ++i) {
                          API_Element fresh = object(-50.0 - i);
                          ACAPI_Element_Create(&fresh, nullptr);
                          made.push_back(fresh.header.guid);
                      }
                      for (std::size_t i = 0; i < placed.size(); i += 7) {
                          API_Elem_Head head = sim::element(placed[i]).header;
                          ACAPI_Element_Delete(&head, 1);
                      }
                      return NoError;
                  }),
              NoError);
    ASSERT_FALSE(sim::hasElement(placed[0]));
    ASSERT_EQ(parameterA(placed[1]), 9.0);

    EXPECT_TRUE(sim::undoLastCommand());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        ASSERT_TRUE(sim::hasElement(placed[i])) << i;
        EXPECT_EQ(sim::element(placed[i]).object.posX, 100.0 + double(i)) << i;
        EXPECT_EQ(parameterA(placed[i]), 0.25 * double(i)) << i;
    }
    for (const GS::Guid& guid : made) {
        EXPECT_FALSE(sim::hasElement(guid));
    }
}

// Each element finds its memo by a hint kept with it: the hint follows the memo through copies,
// moves under new GUIDs, deletion and undoing, and never answers another element's memo.
TEST_F(UndoJournalTest, MemosFollowTheirElementsThroughCopiesMovesAndUndoing) {
    auto edit = [](const GS::Guid& guid, bool withDelete) {
        API_EditPars pars{};
        pars.typeID = APIEdit_Drag;
        pars.withDelete = withDelete;
        API_Neig neig;
        neig.guid = guid;
        EXPECT_EQ(ACAPI_CallUndoableCommand("Edit", [&] { return ACAPI_Element_Edit(&neig, 1, pars); }),
                  NoError);
        return GS::Guid(neig.guid);
    };
    EXPECT_EQ(parameterA(kept), 0.5);
    EXPECT_EQ(sim::memoSizes(kept).a, 0.5);

    GS::Guid copy = edit(kept, false);
    ASSERT_NE(copy, kept);
    EXPECT_EQ(parameterA(copy), 0.5) << "a copy's memo, copied";
    setA(copy, 0.75);
    EXPECT_EQ(parameterA(copy), 0.75);
    EXPECT_EQ(sim::memoSizes(copy).a, 0.75);
    EXPECT_EQ(parameterA(kept), 0.5) << "the original's memo is its own";

    sim::setEditRenewsGuid(true);
    GS::Guid moved = edit(copy, true);
    ASSERT_NE(moved, copy);
    EXPECT_EQ(parameterA(moved), 0.75) << "moved with its element";
    EXPECT_EQ(sim::memoSizes(copy).a, 0.0) << "no memo under the old GUID";
    EXPECT_TRUE(sim::undoLastCommand());
    EXPECT_EQ(parameterA(copy), 0.75) << "back under its old GUID";
    EXPECT_FALSE(sim::hasElement(moved));
    EXPECT_EQ(sim::memoSizes(moved).a, 0.0);

    ASSERT_EQ(ACAPI_CallUndoableCommand("Delete",
                                        [&] {
                                            API_Elem_Head head = sim::element(kept).header;
                                            return ACAPI_Element_Delete(&head, 1);
                                        }),
              NoError);
    EXPECT_EQ(sim::memoSizes(kept).a, 0.0) << "deleted";
    EXPECT_TRUE(sim::undoLastCommand());
    EXPECT_EQ(parameterA(kept), 0.5) << "deleted and taken back";
    setA(kept, 0.25);
    EXPECT_EQ(sim::memoSizes(kept).a, 0.25);
    EXPECT_EQ(parameterA(copy), 0.75);
    EXPECT_EQ(parameterA(edit(kept, false)), 0.25) << "a copy takes the memo the element has now";

    // A project opened anew holds no memo for an element made again under an old GUID.
    sim::clearProject();
    sim::openProject();
    API_Element again = object(1.0);
    again.header.guid = kept;
    sim::addElement(again);
    EXPECT_EQ(parameterA(kept), 0.0);
    EXPECT_EQ(sim::memoSizes(kept).a, 0.0);
}
