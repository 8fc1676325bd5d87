#include "Primitive/ShapeExtraction.h"

#include "Element/Wall.h"

#include "Primitive/PrimitiveArc.h"
#include "Primitive/PrimitiveDistortedHatch.h"
#include "Primitive/PrimitiveLine.h"
#include "Primitive/PrimitiveList.h"
#include "Primitive/PrimitivePoint.h"
#include "Primitive/PrimitiveText.h"
#include "sim/ElementTable.h"
#include "sim/Memory.h"
#include "sim/ShapePrims.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace zelvane {
namespace {

const double pi = 3.141592653589793;

API_Elem_Head elementWith(std::vector<sim::ShapeRecord> const& records) {
    API_Element element{};
    element.header.typeID = API_WallID;
    API_Elem_Head head{};
    head.guid = sim::addElement(element);
    sim::setShapeRecords(head.guid, records);
    return head;
}

sim::ShapeRecord control(API_PrimTypeID kind) {
    sim::ShapeRecord r;
    r.kind = kind;
    return r;
}

sim::ShapeRecord line(double x1, double y1, double x2, double y2) {
    sim::ShapeRecord r;
    r.kind = API_PrimLineID;
    r.head.pen = 2;
    r.line.c1 = API_Coord{x1, y1};
    r.line.c2 = API_Coord{x2, y2};
    r.line.ltypeInd = 4;
    return r;
}

sim::ShapeRecord polygon(std::vector<API_Coord> coords) {
    sim::ShapeRecord r;
    r.kind = API_PrimPolyID;
    r.head.pen = 3;
    r.coords.push_back(API_Coord{0, 0});
    for (API_Coord const& c : coords)
        r.coords.push_back(c);
    r.ends = {0, Int32(coords.size())};
    return r;
}

sim::ShapeRecord polyline(std::vector<API_Coord> coords, std::vector<API_PolyArc> arcs = {}) {
    sim::ShapeRecord r;
    r.kind = API_PrimPLineID;
    r.head.pen = 5;
    r.polyline.ltypeInd = 6;
    r.coords = coords;
    r.arcs = arcs;
    return r;
}

std::vector<std::string> kinds(PrimitiveList const& list) {
    std::vector<std::string> names;
    for (auto const& p : list) {
        Primitive const& ref = *p;
        if (typeid(ref) == typeid(PrimitivePoint))
            names.push_back("point");
        else if (typeid(ref) == typeid(PrimitiveLine))
            names.push_back(p->isHatchLine() ? "hatch line" : "line");
        else if (typeid(ref) == typeid(PrimitiveArc))
            names.push_back("arc");
        else if (typeid(ref) == typeid(PrimitiveText))
            names.push_back("text");
        else if (typeid(ref) == typeid(PrimitiveDistortedHatch))
            names.push_back("distorted");
        else if (typeid(ref) == typeid(PrimitiveHatch))
            names.push_back("hatch");
        else if (typeid(ref) == typeid(PrimitivePolygon))
            names.push_back(static_cast<PrimitivePolygon const&>(ref).isClosed() ? "polygon"
                                                                                 : "open polygon");
    }
    return names;
}

std::vector<API_Coord> square() {
    return {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
}

TEST(ShapeExtraction, RecordsBecomePrimitives) {
    sim::ShapeRecord hatchBegin = control(API_PrimCtrl_HatchBorderBegID);
    hatchBegin.hasHatch = true;
    hatchBegin.hatch.fillInd = 7;
    hatchBegin.hatch.fillPen = 8;
    sim::ShapeRecord distortedBegin = hatchBegin;
    distortedBegin.hatch.distorted = true;
    sim::ShapeRecord unknown = control(API_PrimTypeID(8));
    struct Row {
        char const* name;
        std::vector<sim::ShapeRecord> records;
        bool acceptHatching;
        std::vector<std::string> expected;
    };
    std::vector<Row> table = {
        {"hatch with lines dropped",
         {hatchBegin, polygon(square()), control(API_PrimCtrl_HatchBorderEndID),
          control(API_PrimCtrl_HatchLinesBegID), line(0, 0, 1, 1), control(API_PrimCtrl_HatchLinesEndID)},
         false,
         {"hatch"}},
        {"hatch with lines kept",
         {hatchBegin, polygon(square()), control(API_PrimCtrl_HatchBorderEndID),
          control(API_PrimCtrl_HatchLinesBegID), line(0, 0, 1, 1), control(API_PrimCtrl_HatchLinesEndID)},
         true,
         {"hatch", "hatch line"}},
        {"distorted hatch", {distortedBegin, polygon(square())}, false, {"distorted"}},
        {"polygon after the group closed",
         {hatchBegin, control(API_PrimCtrl_HatchBorderEndID), polygon(square())},
         false,
         {"polygon"}},
        {"group without a hatch record",
         {control(API_PrimCtrl_HatchBorderBegID), polygon(square())},
         false,
         {"polygon"}},
        {"two-vertex polygon", {polygon({{0, 0}, {1, 0}, {0, 0}})}, false, {"line"}},
        {"polygon without coordinates", {control(API_PrimPolyID)}, false, {}},
        {"unknown kinds", {unknown, control(API_PrimTypeID(9)), control(API_PrimTypeID(14))}, false, {}},
        {"polyline point", {polyline({{1, 1}})}, false, {"point"}},
        {"polyline straight", {polyline({{0, 0}, {1, 0}})}, false, {"line"}},
        {"polyline arc", {polyline({{0, 0}, {1, 0}}, {{1, 2, pi / 2}})}, false, {"arc"}},
        {"open chain", {polyline({{0, 0}, {1, 0}, {1, 1}}, {{2, 3, pi / 2}})}, false, {"line", "arc"}},
        {"closed chain", {polyline({{0, 0}, {1, 0}, {1, 1}, {0, 0}})}, false, {"polygon"}},
    };
    for (Row const& row : table) {
        PrimitiveList list;
        EXPECT_TRUE(extractShape(elementWith(row.records), list, row.acceptHatching)) << row.name;
        EXPECT_EQ(kinds(list), row.expected) << row.name;
    }
}

TEST(ShapeExtraction, RecordValues) {
    sim::ShapeRecord arc;
    arc.kind = API_PrimArcID;
    arc.arc.orig = API_Coord{1, 1};
    arc.arc.r = 2;
    arc.arc.begAng = 0.5;
    arc.arc.endAng = 0.5; // a whole turn
    sim::ShapeRecord clockwise = arc;
    clockwise.arc.endAng = 0.5 + pi / 2;
    clockwise.arc.reflected = true;
    sim::ShapeRecord text;
    text.kind = API_PrimTextID;
    text.bytes = "bytes";
    text.unicode = {'u', 'n', 'i'};
    text.text.angle = 0.25;
    sim::ShapeRecord closed = polyline({{0, 0}, {2, 0}, {2, 2}, {0, 0}});
    PrimitiveList list;
    ASSERT_TRUE(extractShape(elementWith({arc, clockwise, text, closed, line(0, 0, 3, 4)}), list, false));
    ASSERT_EQ(list.size(), 5u);
    auto& full = static_cast<PrimitiveArc&>(*list[0]);
    EXPECT_NEAR(full.getSweep(), 2 * pi, 1e-12);
    EXPECT_NE(full.getBounds(), nullptr);
    EXPECT_NEAR(static_cast<PrimitiveArc&>(*list[1]).getSweep(), -3 * pi / 2, 1e-12);
    auto& t = static_cast<PrimitiveText&>(*list[2]);
    EXPECT_STREQ(t.data(), "uni");
    EXPECT_DOUBLE_EQ(t.getAngle(), 0.25);
    auto& triangle = static_cast<PrimitivePolygon&>(*list[3]);
    EXPECT_EQ(triangle.vertSize(), 3);
    EXPECT_EQ(short(triangle.getLineStyle()), 6);
    EXPECT_EQ(short(list[4]->getPen()), 2);
    EXPECT_EQ(short(list[4]->getLineStyle()), 4);
    EXPECT_TRUE(list[4]->is2D());
    EXPECT_FALSE(list[4]->is3D());
}

TEST(ShapeExtraction, FailuresStopAndKeepWhatCameBefore) {
    API_Elem_Head head = elementWith({line(0, 0, 1, 0), line(0, 0, 2, 0), line(0, 0, 3, 0)});
    sim::failCall("ACAPI_Element_ShapePrims record", APIERR_GENERAL, 1, 2);
    PrimitiveList list;
    EXPECT_FALSE(extractShape(head, list, false));
    EXPECT_EQ(list.size(), 2u);
    // The callback outside an extraction refuses.
    sim::ShapeRecord record = line(0, 0, 1, 0);
    record.line.head.typeID = API_PrimLineID;
    EXPECT_EQ(explodeElement(&record.line.head, nullptr, nullptr, nullptr), GSErrCode(0x81060388));
    // A failing allocation while copying a polygon's data: the host stops, nothing unwinds.
    sim::failNextAllocations(1);
    PrimitiveList second;
    EXPECT_FALSE(
        extractShape(elementWith({line(0, 0, 1, 0), polygon(square()), line(0, 0, 1, 0)}), second, false));
    EXPECT_EQ(second.size(), 1u);
    // A text whose making runs out of memory, in the conversion or in the constructor's copy.
    sim::ShapeRecord text;
    text.kind = API_PrimTextID;
    text.bytes = "a text long enough to need its own block";
    for (int skip : {0, 1, 2}) {
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        PrimitiveList partial;
        EXPECT_FALSE(extractShape(elementWith({line(0, 0, 1, 0), text, line(0, 0, 1, 0)}), partial, false))
            << skip;
        EXPECT_EQ(kinds(partial), std::vector<std::string>{"line"}) << skip;
        sim::failNextAllocations(0);
    }
    // Afterwards extraction works again.
    PrimitiveList third;
    EXPECT_TRUE(extractShape(head, third, false));
    EXPECT_EQ(third.size(), 3u);
    API_Elem_Head unknown{};
    PrimitiveList none;
    EXPECT_FALSE(extractShape(unknown, none, false));
}

// An extraction started while another runs (here from code the host runs between two records)
// is refused and leaves the running one alone.
TEST(ShapeExtraction, NestedExtractionIsRefused) {
    struct Row {
        char const* name;
        bool throughElement;
        std::size_t at;
    };
    for (Row const& row :
         {Row{"first record", false, 0}, Row{"last record", false, 2}, Row{"through the element", true, 1}}) {
        API_Elem_Head outer = elementWith({line(0, 0, 1, 0), line(0, 0, 2, 0), line(0, 0, 3, 0)});
        API_Element inner{};
        inner.header.typeID = API_WallID;
        inner.header.guid = elementWith({line(0, 0, 5, 0), polygon(square())}).guid;
        int nested = 0;
        bool nestedResult = true;
        PrimitiveList nestedList;
        sim::setShapeRecordHook([&](GS::Guid const& element, std::size_t index) {
            if (element != outer.guid || index != row.at)
                return;
            ++nested;
            nestedResult = row.throughElement ? Wall(inner, ElementLink()).getPrimitives2D(nestedList, false)
                                              : extractShape(inner.header, nestedList, false);
        });
        PrimitiveList list;
        EXPECT_TRUE(extractShape(outer, list, false)) << row.name;
        EXPECT_EQ(nested, 1) << row.name;
        EXPECT_FALSE(nestedResult) << row.name;
        EXPECT_TRUE(nestedList.empty()) << row.name;
        ASSERT_EQ(kinds(list), (std::vector<std::string>{"line", "line", "line"})) << row.name;
        EXPECT_DOUBLE_EQ(static_cast<PrimitiveLine&>(*list[2]).end().x(), 3.0) << row.name;
        // Once the running one ended, the other extracts.
        sim::setShapeRecordHook(nullptr);
        EXPECT_TRUE(extractShape(inner.header, nestedList, false)) << row.name;
        EXPECT_EQ(kinds(nestedList), (std::vector<std::string>{"line", "polygon"})) << row.name;
    }
}

// Elements extract their own shape.
TEST(ShapeExtraction, ThroughTheElement) {
    API_Element record{};
    record.header.typeID = API_WallID;
    record.header.guid = elementWith({line(0, 0, 1, 0), polygon(square())}).guid;
    Wall wall(record, ElementLink());
    PrimitiveList list;
    EXPECT_TRUE(wall.getPrimitives2D(list, false));
    EXPECT_EQ(kinds(list), (std::vector<std::string>{"line", "polygon"}));
    sim::failCall("ACAPI_Element_ShapePrims", APIERR_GENERAL);
    PrimitiveList failed;
    EXPECT_FALSE(wall.getPrimitives2D(failed, false));
    EXPECT_TRUE(failed.empty());
}

} // namespace
} // namespace zelvane
