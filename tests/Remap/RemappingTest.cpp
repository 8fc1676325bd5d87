#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Window.h"
#include "Interface/ProgressWindow.h"
#include "Library/Library.h"
#include "Memo/ElementMemoStore.h"
#include "PlanRemapFixture.h"
#include "Remap/ObjectMapTransaction.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/RemapElements.h"
#include "Remap/RemappingPrefs.h"
#include "sim/Attributes.h"
#include "sim/Component3D.h"
#include "sim/Databases.h"
#include "sim/Dialogs.h"
#include "sim/ElementBounds.h"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Toolbox.h"

#include <cmath>
#include <map>
#include <new>
#include <string>
#include <vector>

using namespace zelvane;
using zelvane::remap::ObjectMap;
using zelvane::remap::ObjectMapTransaction;
using zelvane::remap::ObjectSpecification;

namespace {

constexpr double tolerance = 1e-4; // the host keeps bounds in single precision
const double pi = std::acos(-1.0);

struct PartSpec {
    const char* name;
    API_LibTypeID type = APILib_ObjectID;
    double a = 1.0;
    double b = 1.0;
    double z = 1.0; // 0: the part has no height parameter
    bool fixed = false;
    bool centred = false;
    bool missing = false;
    bool ownBox = false; // its box is its own a x b, whatever the element's A and B
};

// An object's placement and own sizes.
struct Placement {
    double x = 0.0;
    double y = 0.0;
    double angle = 0.0;
    bool mirrored = false;
    double a = 1.0;
    double b = 1.0;
    double z = 1.0;
    double level = 0.0;
};

std::map<std::string, double> lengthsOf(const GS::Guid& guid) {
    std::vector<sim::LibParameter> parameters = sim::memoParameters(guid);
    std::map<std::string, double> lengths;
    for (const sim::LibParameter& parameter : parameters) {
        lengths[parameter.record.name] = parameter.record.value.real;
    }
    return lengths;
}

// The element's box as the host measures it (its 3D body, else its set bounds).
API_Box3D boundsOf(const GS::Guid& guid) {
    API_Elem_Head head{};
    head.guid = guid;
    API_Box3D box{};
    EXPECT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &head, &box), NoError);
    return box;
}

void expectSameBox(const API_Box3D& expected, const API_Box3D& actual, const std::string& label) {
    EXPECT_NEAR(actual.xMin, expected.xMin, tolerance) << label;
    EXPECT_NEAR(actual.yMin, expected.yMin, tolerance) << label;
    EXPECT_NEAR(actual.xMax, expected.xMax, tolerance) << label;
    EXPECT_NEAR(actual.yMax, expected.yMax, tolerance) << label;
}

class RemappingTest : public remap_test::PlanRemapTest {
protected:
    void SetUp() override {
        PlanRemapTest::SetUp();
        objectMap.initialise();
    }

    // A fresh host with nothing collected and an empty object map.
    void restart() {
        sim::reset();
        sim::openProject();
        host.reset();
        ASSERT_TRUE(remap_test::loadAddonResources());
        elements.clear();
        objectMap.initialise();
    }

    static Int32 addPart(const PartSpec& spec) {
        sim::LibPartDef def;
        def.type = spec.type;
        def.name = spec.name;
        def.missing = spec.missing;
        def.a = spec.a;
        def.b = spec.b;
        def.details.fixSize = spec.fixed;
        def.parameters = {sim::scalarParameter(APIParT_Length, "A", spec.a),
                          sim::scalarParameter(APIParT_Length, "B", spec.b)};
        if (spec.z > 0.0) {
            def.parameters.push_back(sim::scalarParameter(APIParT_Length, "ZZYZX", spec.z));
        }
        Int32 index = sim::addLibPart(def);
        sim::setPartBoxCentred(index, spec.centred);
        sim::setPartBoxOwnSize(index, spec.ownBox);
        return index;
    }
    static void storeLengths(const GS::Guid& guid, double a, double b, double z) {
        std::vector<sim::LibParameter> parameters = {sim::scalarParameter(APIParT_Length, "A", a),
                                                     sim::scalarParameter(APIParT_Length, "B", b)};
        if (z > 0.0) {
            parameters.push_back(sim::scalarParameter(APIParT_Length, "ZZYZX", z));
        }
        ElementMemoStore store;
        ASSERT_EQ(sim::writeParameterRecords(parameters, store.params()), NoError);
        ASSERT_EQ(sim::storeMemo(guid, store.getTarget(), APIMemoMask_AddPars), NoError);
    }
    static GS::Guid placeObject(Int32 part, const Placement& at, API_ElemTypeID type = API_ObjectID) {
        const sim::LibPartDef* def = sim::libPart(part);
        bool fixed = def != nullptr && def->details.fixSize;
        API_Element record;
        record.header.typeID = type;
        API_ObjectType& object = type == API_LampID ? record.lamp : record.object;
        object.libInd = part;
        object.posX = at.x;
        object.posY = at.y;
        object.angle = at.angle;
        object.reflected = at.mirrored;
        object.level = at.level;
        object.fixedSize = fixed;
        object.xRatio = fixed || def == nullptr ? at.a : at.a / def->a;
        object.yRatio = fixed || def == nullptr ? at.b : at.b / def->b;
        GS::Guid guid = sim::addElement(record);
        storeLengths(guid, at.a, at.b, at.z);
        return guid;
    }
    static GS::Guid placeOpening(API_ElemTypeID type, Int32 part, double width, double height) {
        API_Element record;
        record.header.typeID = type;
        API_WindowType& opening = type == API_DoorID ? record.door : record.window;
        opening.openingBase.libInd = part;
        opening.openingBase.width = width;
        opening.openingBase.height = height;
        GS::Guid guid = sim::addElement(record);
        storeLengths(guid, 0.5, 0.1, 0.5);
        return guid;
    }

    // A rule in the default source of the kind, from the source name to the part.
    ObjectSpecification* map(ObjectMap::Type kind, API_LibTypeID type, const char* source, Int32 target,
                             API_LibTypeID targetType = 0) {
        String name = ObjectMap::defaultSourceName();
        ObjectSpecification* rule =
            objectMap.getSpecification(ObjectMap::Key(type, source), name, kind, true, false);
        EXPECT_NE(rule, nullptr);
        if (rule != nullptr && target != 0) {
            EXPECT_TRUE(
                rule->setMappedLink(ComponentLink(target, targetType != 0 ? targetType : type, nullptr)));
        }
        return rule;
    }
    void collect(API_LibTypeID type, const char* source, const GS::Guid& guid) {
        elements[ObjectMap::Key(type, source)].push_back(ElementLink(Guid(guid), plan));
    }
    std::size_t remap(ObjectMap::Type kind) {
        return remap::remapElements(kind, *plan, elements, objectMap, ObjectMap::defaultSourceName());
    }
    static std::string notice() {
        return sim::alerts().empty() ? std::string() : sim::alerts().back().largeText;
    }

    ObjectMap objectMap;
    ObjectMapTransaction::ElementMap elements;
};

} // namespace

TEST_F(RemappingTest, TheNoticeHasALineForEachCountThatIsNotZero) {
    struct Case {
        std::size_t changed, unmapped, unchanged;
        const char* text;
    } cases[] = {
        {0, 0, 0, "No elements of this kind were found."},
        {3, 0, 2, "3 elements were remapped.\n2 elements were not remapped.\n"},
        {0, 1, 0, "1 sources have no valid library part.\n"},
        {12, 4, 1,
         "12 elements were remapped.\n4 sources have no valid library part.\n1 elements were not "
         "remapped.\n"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(remap::remapNotice(c.changed, c.unmapped, c.unchanged).data(), c.text) << c.changed;
    }
}

TEST_F(RemappingTest, TheNewPartTakesTheOldBoxAsItsSizes) {
    struct Case {
        const char* label;
        bool fixedTarget;
        ObjectMap::Type kind;
        bool flatOld; // the old part has no body: the host answers a flat box
        double xRatio, yRatio, a, b, z;
    } cases[] = {
        // A scaled part's ratios are the sizes over its own sizes (2 x 0.5).
        {"scaled", false, ObjectMap::GSM, false, 0.6, 1.6, 1.2, 0.8, 0.9},
        {"fixed", true, ObjectMap::GSM, false, 1.2, 0.8, 1.2, 0.8, 0.9},
        // A DWG source never forces the height: the new part's own stays.
        {"DWG", false, ObjectMap::DWG, false, 0.6, 1.6, 1.2, 0.8, 2.5},
        {"flat box", false, ObjectMap::GSM, true, 0.6, 1.6, 1.2, 0.8, 2.5},
    };
    for (const Case& c : cases) {
        restart();
        Int32 old = addPart({"Old", APILib_ObjectID, 1.0, 1.0, c.flatOld ? 0.0 : 1.0});
        Int32 target = addPart({"New", APILib_ObjectID, 2.0, 0.5, 2.5, c.fixedTarget});
        GS::Guid guid = placeObject(old, {3.0, 4.0, 0.0, false, 1.2, 0.8, c.flatOld ? 0.0 : 0.9});
        if (c.flatOld) {
            sim::setElementBounds(guid, API_Box3D{3.0, 4.0, 0.0, 4.2, 4.8, 0.0});
        }
        map(c.kind, APILib_ObjectID, "Old", target);
        collect(APILib_ObjectID, "Old", guid);
        EXPECT_EQ(remap(c.kind), 1u) << c.label;

        API_Element record = sim::element(guid);
        EXPECT_EQ(record.object.libInd, target) << c.label;
        EXPECT_NEAR(record.object.xRatio, c.xRatio, tolerance) << c.label;
        EXPECT_NEAR(record.object.yRatio, c.yRatio, tolerance) << c.label;
        std::map<std::string, double> lengths = lengthsOf(guid);
        EXPECT_NEAR(lengths["A"], c.a, tolerance) << c.label;
        EXPECT_NEAR(lengths["B"], c.b, tolerance) << c.label;
        EXPECT_NEAR(lengths["ZZYZX"], c.z, tolerance) << c.label;
        EXPECT_NEAR(record.object.posX, 3.0, tolerance) << c.label;
        EXPECT_NEAR(record.object.posY, 4.0, tolerance) << c.label;
        EXPECT_EQ(notice(), "1 elements were remapped.\n") << c.label;
    }
}

TEST_F(RemappingTest, TheNewPartKeepsTheOldReferencePointRotationAndLevel) {
    struct Case {
        const char* label;
        bool oldCentred, newCentred;
        double angle;
        bool mirrored;
        std::size_t puts; // an object seen unrotated is not put unrotated first
    } cases[] = {
        {"corner to corner", false, false, 0.7, false, 3},
        {"corner to centred", false, true, 0.0, false, 2},
        {"corner to centred, rotated", false, true, 0.7, false, 3},
        {"corner to centred, rotated and mirrored", false, true, 2.1, true, 3},
        {"centred to corner, mirrored", true, false, -0.4, true, 3},
        // Mirrored, it is stored half a turn round when seen unrotated.
        {"corner to centred, mirrored", false, true, pi, true, 2},
    };
    for (const Case& c : cases) {
        restart();
        Int32 old = addPart({"Old", APILib_ObjectID, 1.0, 1.0, 1.0, false, c.oldCentred});
        Int32 target = addPart({"New", APILib_ObjectID, 1.0, 1.0, 1.0, false, c.newCentred});
        const double a = 1.2, b = 0.8;
        GS::Guid guid = placeObject(old, {3.0, 4.0, c.angle, c.mirrored, a, b, 0.9, 0.25});
        API_Box3D before = boundsOf(guid);
        map(ObjectMap::GSM, APILib_ObjectID, "Old", target);
        collect(APILib_ObjectID, "Old", guid);
        std::size_t changes = sim::callCount("ACAPI_Element_Change");
        EXPECT_EQ(remap(ObjectMap::GSM), 1u) << c.label;
        EXPECT_EQ(sim::callCount("ACAPI_Element_Change") - changes, c.puts) << c.label;

        API_Element record = sim::element(guid);
        EXPECT_EQ(record.object.libInd, target) << c.label;
        EXPECT_NEAR(std::remainder(record.object.angle - c.angle, 2 * pi), 0.0, tolerance) << c.label;
        EXPECT_EQ(record.object.reflected, c.mirrored) << c.label;
        EXPECT_NEAR(record.object.level, 0.25, tolerance) << c.label;
        // The hotspot moves by half the sizes along the part's own axes (mirrored: X turned round).
        double shift = c.newCentred == c.oldCentred ? 0.0 : (c.newCentred ? 1.0 : -1.0);
        double m = c.mirrored ? -1.0 : 1.0;
        double cs = std::cos(c.angle), sn = std::sin(c.angle);
        double dx = shift * (cs * m * a / 2 - sn * b / 2);
        double dy = shift * (sn * m * a / 2 + cs * b / 2);
        EXPECT_NEAR(record.object.posX, 3.0 + dx, tolerance) << c.label;
        EXPECT_NEAR(record.object.posY, 4.0 + dy, tolerance) << c.label;
        // Same sizes, same reference point: the new part covers the old one's ground.
        expectSameBox(before, boundsOf(guid), c.label);
    }
    std::size_t asked = sim::callCount("ACAPI_Environment");
    EXPECT_TRUE(host.isProjectOpen());
    EXPECT_GT(sim::callCount("ACAPI_Environment"), asked) << "the run's hold on the project ended with it";
}

// A new part drawn at its own size, twice as wide as the old box and deeper: the middle of its
// front edge lands where the old one's was, the shift turned by the object's rotation.
TEST_F(RemappingTest, ANewPartTwiceAsWideKeepsTheMiddleOfTheOldFrontEdge) {
    const struct {
        const char* label;
        double angle;
    } cases[] = {{"unrotated", 0.0}, {"rotated", 0.7}};
    for (const auto& c : cases) {
        restart();
        Int32 old = addPart({"Old", APILib_ObjectID, 1.0, 0.5});
        Int32 target = addPart({"New", APILib_ObjectID, 2.0, 0.8, 1.0, false, false, false, true});
        GS::Guid guid = placeObject(old, {3.0, 4.0, c.angle, false, 1.0, 0.5, 0.9});
        map(ObjectMap::GSM, APILib_ObjectID, "Old", target);
        collect(APILib_ObjectID, "Old", guid);
        EXPECT_EQ(remap(ObjectMap::GSM), 1u) << c.label;

        // The old front edge's middle lies 0.5 along the object's X from the hotspot, the new one's
        // 1.0: the hotspot moves back by 0.5.
        API_Element record = sim::element(guid);
        EXPECT_EQ(record.object.libInd, target) << c.label;
        EXPECT_NEAR(record.object.posX, 3.0 - 0.5 * std::cos(c.angle), tolerance) << c.label;
        EXPECT_NEAR(record.object.posY, 4.0 - 0.5 * std::sin(c.angle), tolerance) << c.label;
        EXPECT_NEAR(record.object.angle, c.angle, tolerance) << c.label;
        if (c.angle == 0.0) {
            API_Box3D box = boundsOf(guid);
            EXPECT_NEAR((box.xMin + box.xMax) / 2, 3.5, tolerance) << c.label;
            EXPECT_NEAR(box.yMin, 4.0, tolerance) << c.label;
            EXPECT_NEAR(box.xMax - box.xMin, 2.0, tolerance) << "the part's own width";
        }
    }
}

TEST_F(RemappingTest, ARepointWhoseDefaultsCannotBeFetchedLeavesTheObjectAsItWas) {
    Int32 old = addPart({"Old"});
    Int32 target = addPart({"New", APILib_ObjectID, 2.0, 0.5, 2.5});
    GS::Guid guid = placeObject(old, {3.0, 4.0, 0.7, false, 1.2, 0.8, 0.9});
    API_Element original = sim::element(guid);
    map(ObjectMap::GSM, APILib_ObjectID, "Old", target);
    collect(APILib_ObjectID, "Old", guid);
    sim::failCall("ACAPI_LibPart_GetParams", APIERR_GENERAL, -1);
    EXPECT_EQ(remap(ObjectMap::GSM), 0u);
    sim::clearFaults();

    API_Element record = sim::element(guid);
    EXPECT_EQ(record.object.libInd, old);
    EXPECT_NEAR(record.object.angle, original.object.angle, tolerance);
    EXPECT_NEAR(record.object.posX, 3.0, tolerance);
    EXPECT_NEAR(record.object.posY, 4.0, tolerance);
    EXPECT_NEAR(record.object.xRatio, original.object.xRatio, tolerance);
    std::map<std::string, double> lengths = lengthsOf(guid);
    EXPECT_NEAR(lengths["A"], 1.2, tolerance);
    EXPECT_NEAR(lengths["ZZYZX"], 0.9, tolerance);
    EXPECT_EQ(notice(), "1 elements were not remapped.\n");
}

// The puts of a loaded object's run: unrotated (unless it already is), remap, restore. When the
// host refuses the remap put, the element keeps its old part and its own values; only the remap
// put's failure counts.
TEST_F(RemappingTest, ARefusedRemapPutLeavesTheObjectAsItWas) {
    struct Case {
        const char* label;
        int skip; // successful puts before the failing one
        double angle;
    };
    const Case cases[] = {
        {"unrotating put refused", 0, 0.7},
        {"remap put refused", 1, 0.7},
        // Unrotated, the object's first put is the remap put.
        {"unrotated, remap put refused", 0, 0.0},
    };
    for (const Case& c : cases) {
        restart();
        Int32 old = addPart({"Old"});
        Int32 target = addPart({"New", APILib_ObjectID, 2.0, 0.5, 2.5});
        GS::Guid guid = placeObject(old, {3.0, 4.0, c.angle, false, 1.2, 0.8, 0.9});
        API_Element original = sim::element(guid);
        map(ObjectMap::GSM, APILib_ObjectID, "Old", target);
        collect(APILib_ObjectID, "Old", guid);
        sim::failCall("ACAPI_Element_Change", APIERR_GENERAL, 1, c.skip);
        EXPECT_EQ(remap(ObjectMap::GSM), 0u) << c.label;
        sim::clearFaults();

        API_Element record = sim::element(guid);
        std::map<std::string, double> lengths = lengthsOf(guid);
        EXPECT_EQ(record.object.libInd, old) << c.label;
        EXPECT_NEAR(record.object.xRatio, original.object.xRatio, tolerance) << c.label;
        EXPECT_NEAR(record.object.yRatio, original.object.yRatio, tolerance) << c.label;
        EXPECT_NEAR(lengths["A"], 1.2, tolerance) << c.label;
        EXPECT_NEAR(lengths["B"], 0.8, tolerance) << c.label;
        EXPECT_NEAR(lengths["ZZYZX"], 0.9, tolerance) << c.label;
        EXPECT_NEAR(record.object.angle, original.object.angle, tolerance) << c.label;
        EXPECT_NEAR(record.object.posX, 3.0, tolerance) << c.label;
        EXPECT_NEAR(record.object.posY, 4.0, tolerance) << c.label;
        EXPECT_EQ(notice(), "1 elements were not remapped.\n") << c.label;
    }
}

// Each put of the run in order: 'm' when it handed the host a memo (disposed after it), else '-'.
std::string putsWithMemo() {
    std::string puts;
    for (const sim::CallRecord& call : sim::calls()) {
        if (call.name == "ACAPI_Element_Change") {
            puts += '-';
        } else if (call.name == "ACAPI_DisposeElemMemoHdls" && !puts.empty()) {
            puts.back() = 'm';
        }
    }
    return puts;
}

// The remap put writes the new part's parameters; the restoring put after it writes the record
// alone, unless the remap failed and the old parameters go back.
TEST_F(RemappingTest, TheRestoringPutWritesParametersOnlyAfterAFailedRemap) {
    struct Case {
        const char* label;
        double angle;
        int refused; // the put the host refuses, -1 none
        const char* puts;
    } cases[] = {
        {"rotated", 0.7, -1, "mm-"},
        {"unrotated", 0.0, -1, "m-"},
        {"remap put refused", 0.0, 0, "mm"},
    };
    for (const Case& c : cases) {
        restart();
        Int32 old = addPart({"Old"});
        Int32 target = addPart({"New", APILib_ObjectID, 2.0, 0.5, 2.5});
        GS::Guid guid = placeObject(old, {3.0, 4.0, c.angle, false, 1.2, 0.8, 0.9});
        map(ObjectMap::GSM, APILib_ObjectID, "Old", target);
        collect(APILib_ObjectID, "Old", guid);
        if (c.refused >= 0) {
            sim::failCall("ACAPI_Element_Change", APIERR_GENERAL, 1, c.refused);
        }
        sim::clearCalls();
        EXPECT_EQ(remap(ObjectMap::GSM), c.refused < 0 ? 1u : 0u) << c.label;
        sim::clearFaults();
        EXPECT_EQ(putsWithMemo(), c.puts) << c.label;
        // Remapped or not, the object has the old box's sizes.
        EXPECT_EQ(sim::element(guid).object.libInd, c.refused < 0 ? target : old) << c.label;
        EXPECT_NEAR(lengthsOf(guid)["A"], 1.2, tolerance) << c.label;
        EXPECT_NEAR(sim::element(guid).object.xRatio, c.refused < 0 ? 0.6 : 1.2, tolerance) << c.label;
    }
}

TEST_F(RemappingTest, ARefusedTargetIsProcessedButNeverPut) {
    Int32 chair = addPart({"Chair"});
    Int32 panel = addPart({"Panel", APILib_DoorID});
    Int32 sash = addPart({"Sash", APILib_WindowID});
    struct Case {
        const char* label;
        API_ElemTypeID element;
        API_LibTypeID type;
        Int32 part, target;
        API_LibTypeID targetType;
        bool changed;
    } cases[] = {
        {"object to a door part", API_ObjectID, APILib_ObjectID, chair, panel, APILib_DoorID, false},
        {"door to a window part", API_DoorID, APILib_DoorID, panel, sash, APILib_WindowID, false},
        {"window to an object part", API_WindowID, APILib_WindowID, sash, chair, APILib_ObjectID, false},
        // A rule back to the element's own part still re-points it.
        {"object to its own part", API_ObjectID, APILib_ObjectID, chair, chair, APILib_ObjectID, true},
        {"door to its own part", API_DoorID, APILib_DoorID, panel, panel, APILib_DoorID, true},
    };
    for (const Case& c : cases) {
        elements.clear();
        objectMap.initialise();
        GS::Guid guid =
            c.element == API_ObjectID ? placeObject(c.part, {}) : placeOpening(c.element, c.part, 0.9, 2.1);
        map(ObjectMap::GSM, c.type, "Source", c.target, c.targetType);
        collect(c.type, "Source", guid);
        std::size_t changes = sim::callCount("ACAPI_Element_Change");
        EXPECT_EQ(remap(ObjectMap::GSM), c.changed ? 1u : 0u) << c.label;
        EXPECT_EQ(sim::callCount("ACAPI_Element_Change") > changes, c.changed) << c.label;
        EXPECT_EQ(notice(), c.changed ? "1 elements were remapped.\n" : "1 elements were not remapped.\n")
            << c.label;
    }
}

// Every object of a rule takes the one target part: its defaults are asked of the host once per
// rule, not once per object.
TEST_F(RemappingTest, TheTargetsDefaultsAreFetchedOncePerRule) {
    Int32 chair = addPart({"Chair"});
    Int32 table = addPart({"Table"});
    Int32 stool = addPart({"Stool", APILib_ObjectID, 0.5, 0.5});
    Int32 desk = addPart({"Desk", APILib_ObjectID, 1.6, 0.8});
    map(ObjectMap::GSM, APILib_ObjectID, "Chair", stool);
    map(ObjectMap::GSM, APILib_ObjectID, "Table", desk);
    std::vector<GS::Guid> chairs, tables;
    for (int i = 0; i < 3; ++i) {
        chairs.push_back(placeObject(chair, {double(i), 0.0}));
        collect(APILib_ObjectID, "Chair", chairs.back());
    }
    for (int i = 0; i < 2; ++i) {
        tables.push_back(placeObject(table, {double(i), 5.0}));
        collect(APILib_ObjectID, "Table", tables.back());
    }
    std::size_t fetched = sim::callCount("ACAPI_LibPart_GetParams");
    EXPECT_EQ(remap(ObjectMap::GSM), 5u);
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetParams") - fetched, 2u);
    for (const GS::Guid& guid : chairs) {
        EXPECT_EQ(sim::element(guid).object.libInd, stool);
        EXPECT_NEAR(lengthsOf(guid)["A"], 1.0, tolerance); // the old box's size
    }
    for (const GS::Guid& guid : tables) {
        EXPECT_EQ(sim::element(guid).object.libInd, desk);
    }
}

// Whether an object's old part is in the library is asked once a part, however many objects
// it has.
TEST_F(RemappingTest, TheLibraryIsAskedTheSameForOneObjectOfAPartAsForMany) {
    std::vector<std::size_t> lookups;
    for (int count : {1, 4}) {
        restart();
        Int32 chair = addPart({"Chair"});
        Int32 stool = addPart({"Stool", APILib_ObjectID, 0.5, 0.5});
        map(ObjectMap::GSM, APILib_ObjectID, "Chair", stool);
        std::vector<GS::Guid> chairs;
        for (int i = 0; i < count; ++i) {
            chairs.push_back(placeObject(chair, {double(i), 0.0}));
            collect(APILib_ObjectID, "Chair", chairs.back());
        }
        std::size_t asked = sim::callCount("ACAPI_LibPart_Get");
        EXPECT_EQ(remap(ObjectMap::GSM), std::size_t(count));
        lookups.push_back(sim::callCount("ACAPI_LibPart_Get") - asked);
        for (const GS::Guid& guid : chairs) {
            EXPECT_EQ(sim::element(guid).object.libInd, stool);
        }
    }
    EXPECT_EQ(lookups[1], lookups[0]);
}

TEST_F(RemappingTest, KeysCountByTheirRules) {
    Int32 chair = addPart({"Chair"});
    Int32 table = addPart({"Table"});
    GS::Guid first = placeObject(chair, {});
    GS::Guid second = placeObject(chair, {});
    GS::Guid third = placeObject(table, {});
    GS::Guid fourth = placeObject(table, {});
    // A rule whose target cannot be resolved counts its key once, whatever it holds.
    ObjectSpecification* lost = map(ObjectMap::GSM, APILib_ObjectID, "Chair", 0);
    lost->setMappedName(String("Nowhere"));
    collect(APILib_ObjectID, "Chair", first);
    collect(APILib_ObjectID, "Chair", second);
    // A rule of another source counts nothing.
    objectMap.addSource(String("Survey"), ObjectMap::GSM);
    String survey("Survey");
    ObjectSpecification* other = objectMap.getSpecification(ObjectMap::Key(APILib_ObjectID, "Table"), survey,
                                                            ObjectMap::GSM, true, false);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(other->setMappedLink(ComponentLink(chair, APILib_ObjectID, nullptr)));
    collect(APILib_ObjectID, "Table", third);
    // A key without any rule counts nothing either.
    collect(APILib_ObjectID, "Stool", fourth);

    EXPECT_EQ(remap(ObjectMap::GSM), 0u);
    EXPECT_EQ(notice(), "1 sources have no valid library part.\n");
    EXPECT_EQ(sim::element(third).object.libInd, table);
    EXPECT_EQ(sim::element(first).object.libInd, chair);
}

TEST_F(RemappingTest, ACancelKeepsWhatWasDoneAndReportsIt) {
    Int32 chair = addPart({"Chair"});
    Int32 stool = addPart({"Stool"});
    struct Case {
        int cancelAt; // the cancel query: one per key, then one per element
        std::size_t changed;
        const char* notice;
    } cases[] = {
        {1, 0, "No elements of this kind were found."},
        {3, 1, "1 elements were remapped.\n"},
        {0, 3, "3 elements were remapped.\n"},
    };
    for (const Case& c : cases) {
        elements.clear();
        objectMap.initialise();
        std::vector<GS::Guid> guids;
        for (int i = 0; i < 3; ++i) {
            guids.push_back(placeObject(chair, {}));
            collect(APILib_ObjectID, "Chair", guids.back());
        }
        map(ObjectMap::GSM, APILib_ObjectID, "Chair", stool);
        sim::cancelProgressAtQuery(c.cancelAt);
        EXPECT_EQ(remap(ObjectMap::GSM), c.changed) << c.cancelAt;
        EXPECT_EQ(notice(), c.notice) << c.cancelAt;
        EXPECT_FALSE(sim::isProgressWindowOpen());
        for (std::size_t i = 0; i < guids.size(); ++i) {
            EXPECT_EQ(sim::element(guids[i]).object.libInd, i < c.changed ? stool : chair) << c.cancelAt;
        }
    }
}

TEST_F(RemappingTest, PartsMissingFromTheLibraryKeepTheirOwnSizes) {
    Int32 lost = addPart({"Lost", APILib_ObjectID, 1.0, 1.0, 1.0, false, false, true});
    Int32 target = addPart({"New", APILib_ObjectID, 2.0, 0.5, 2.5});
    Int32 panel = addPart({"Panel", APILib_DoorID, 0.8, 0.2, 2.0});
    Int32 lostDoor = addPart({"Lost door", APILib_DoorID, 1.0, 1.0, 1.0, false, false, true});
    struct Case {
        ObjectMap::Type kind;
        double z;
    } cases[] = {{ObjectMap::missing, 0.9}, {ObjectMap::DWG, 2.5}};
    for (const Case& c : cases) {
        elements.clear();
        objectMap.initialise();
        GS::Guid object = placeObject(lost, {3.0, 4.0, 0.7, false, 1.2, 0.8, 0.9});
        GS::Guid door = placeOpening(API_DoorID, lostDoor, 0.95, 2.15);
        map(c.kind, APILib_ObjectID, "Lost", target);
        map(c.kind, APILib_DoorID, "Lost door", panel);
        collect(APILib_ObjectID, "Lost", object);
        collect(APILib_DoorID, "Lost door", door);
        EXPECT_EQ(remap(c.kind), 2u) << c.kind;

        API_Element record = sim::element(object);
        EXPECT_EQ(record.object.libInd, target);
        EXPECT_NEAR(record.object.xRatio, 0.6, tolerance);
        EXPECT_NEAR(record.object.angle, 0.7, tolerance);
        std::map<std::string, double> lengths = lengthsOf(object);
        EXPECT_NEAR(lengths["A"], 1.2, tolerance);
        EXPECT_NEAR(lengths["B"], 0.8, tolerance);
        EXPECT_NEAR(lengths["ZZYZX"], c.z, tolerance) << c.kind;
        // A door takes its opening's width and height as its new part's sizes.
        EXPECT_EQ(sim::element(door).door.openingBase.libInd, panel);
        lengths = lengthsOf(door);
        EXPECT_NEAR(lengths["A"], 0.95, tolerance);
        EXPECT_NEAR(lengths["ZZYZX"], 2.15, tolerance);
    }
}

TEST_F(RemappingTest, ElementsCollectedInASectionAreChangedOnTheFloorPlan) {
    Int32 chair = addPart({"Chair"});
    Int32 stool = addPart({"Stool"});
    GS::Guid guid = placeObject(chair, {2.0, 1.0});
    sim::DatabaseRecord section;
    section.type = APIWind_SectionID;
    section.name = "A-A";
    GS::Guid id = sim::addDatabase(section);
    sim::setCurrentDatabase(APIWind_SectionID, id);
    sim::setFrontWindow(APIWind_SectionID, id);
    host.reset();
    Drawing* view = host.getProject()->getActiveDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view, plan);
    API_Neig neig;
    neig.guid = guid;
    sim::setSelection({neig});
    ObjectMapTransaction transaction(ObjectMap::GSM);
    auto progress = ProgressWindow::create("collecting", 3);
    ASSERT_TRUE(transaction.collect(*view, *progress));
    progress.reset();
    ASSERT_EQ(transaction.getElementMap().size(), 1u);

    map(ObjectMap::GSM, APILib_ObjectID, "Chair", stool);
    std::size_t count = sim::elementCount();
    EXPECT_EQ(remap::remapElements(ObjectMap::GSM, *view, transaction.getElementMap(), objectMap,
                                   String("Default")),
              1u);
    EXPECT_EQ(sim::elementCount(), count) << "no copies";
    EXPECT_EQ(sim::element(guid).object.libInd, stool);
    EXPECT_EQ(sim::elementDatabase(guid), GS::Guid());
}

// Every host memory allocation of a run fails in turn: whatever was opened for the run (a locked layer, the
// minimal-data switch, the host's groups, the progress window) is put back.
TEST_F(RemappingTest, ARunEndingByAnExceptionPutsEverythingBack) {
    host.getProject()->setPreference(remap::RemappingPrefs(), false);
    int thrown = 0;
    for (int step = 0;; ++step) {
        ASSERT_LT(step, 100000) << "the run never finished";
        restart();
        Int32 chair = addPart({"Chair"});
        Int32 stool = addPart({"Stool", APILib_ObjectID, 1.0, 1.0, 1.0, false, true});
        API_AttributeIndex locked =
            sim::addAttribute(sim::makeAttribute(API_LayerID, "Locked", APILay_Locked));
        std::vector<GS::Guid> guids;
        for (int i = 0; i < 2; ++i) {
            API_Element record;
            record.header.typeID = API_ObjectID;
            record.header.layer = static_cast<short>(locked);
            record.object.libInd = chair;
            record.object.angle = 0.5;
            guids.push_back(sim::addElement(record));
            storeLengths(guids.back(), 1.0, 1.0, 1.0);
        }
        ObjectMapTransaction transaction(ObjectMap::GSM);
        ASSERT_TRUE(transaction.findTargets());
        {
            auto progress = ProgressWindow::create("collecting", 3);
            ASSERT_TRUE(transaction.collect(*plan, *progress));
        }
        objectMap.initialise();
        map(ObjectMap::GSM, APILib_ObjectID, "Chair", stool);
        transaction.getObjectMap() = objectMap;
        Element::m_isMinData = true;

        std::size_t allocations = sim::memoryStats().allocations;
        sim::failNextAllocations(1, ErrMemoryFull, step);
        bool threw = false;
        try {
            EXPECT_EQ(transaction.run(), NoError);
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        sim::failNextAllocations(0);
        // Fewer allocations than the failing one's place: the run was not reached by it.
        bool failed = threw || sim::memoryStats().allocations - allocations > std::size_t(step);
        thrown += threw ? 1 : 0;
        EXPECT_TRUE(Element::m_isMinData) << "allocation " << step;
        EXPECT_TRUE(sim::attribute(API_LayerID, locked)->layer.head.flags & APILay_Locked)
            << "allocation " << step;
        EXPECT_FALSE(sim::isGroupSuspended()) << "allocation " << step;
        EXPECT_FALSE(sim::isProgressWindowOpen()) << "allocation " << step;
        if (!failed) {
            for (const GS::Guid& guid : guids) {
                EXPECT_EQ(sim::element(guid).object.libInd, stool);
            }
            // The groups were switched off for the run and on again.
            EXPECT_EQ(sim::callCount("ACAPI_Element_Tool"), 2u);
            // A successful command ends by rebuilding the drawing; a failed one leaves it.
            int rebuilds = sim::rebuildCount();
            transaction.postProcess(false);
            EXPECT_EQ(sim::rebuildCount(), rebuilds);
            transaction.postProcess(true);
            EXPECT_EQ(sim::rebuildCount(), rebuilds + 1);
            break;
        }
    }
    EXPECT_GT(thrown, 10);
    host.getProject()->setPreference(remap_test::ForeignPrefs(), false);
}
