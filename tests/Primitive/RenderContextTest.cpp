#include "Primitive/RenderContext.h"

#include "Addon/PaintEvent.h"
#include "Attribute/CadColour.h"
#include "DG/DGMessages.hpp"
#include "Database/Specification.h"
#include "Display/NativeContext.hpp"
#include "Geometry/CadArc.h"
#include "Geometry/Cube.h"
#include "Primitive/PrimitiveArc.h"
#include "Primitive/PrimitiveLine.h"
#include "Primitive/PrimitivePoint.h"
#include "Primitive/PrimitivePolygon.h"
#include "Primitive/PrimitiveText.h"
#include "sim/Attributes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace zelvane {
namespace {

const double pi = 3.141592653589793;

// A red pen of 0.35 mm and a blue one of 0.7 mm; their indexes.
std::vector<short> addPens() {
    std::vector<short> indexes;
    for (auto [name, red, blue, width] :
         {std::tuple{"red", 1.0, 0.0, 0.35}, std::tuple{"blue", 0.0, 1.0, 0.7}}) {
        API_Attribute record = sim::makeAttribute(API_PenID, name);
        record.pen.rgb.f_red = red;
        record.pen.rgb.f_blue = blue;
        record.pen.width = width;
        indexes.push_back(short(sim::addAttribute(record)));
    }
    return indexes;
}

std::vector<std::string> names(NewDisplay::NativeContext const& context) {
    std::vector<std::string> result;
    for (auto const& call : context.GetCalls())
        result.push_back(call.name);
    return result;
}

TEST(RenderContext, WorldScreenRoundTrips) {
    RenderContext context(nullptr, ScreenRect(ScreenPoint(0, 0), ScreenPoint(200, 100)));
    context.setScale(2);
    context.setCentre(ScreenPoint(100, 50));
    struct Row {
        double rotation;
        CadPoint world;
        ScreenPoint screen;
    };
    std::vector<Row> table = {
        {0, CadPoint(1, 1), ScreenPoint(102, 48)},
        {0, CadPoint(-3, 2), ScreenPoint(94, 46)},
        {pi / 2, CadPoint(1, 0), ScreenPoint(100, 52)},
    };
    for (Row const& row : table) {
        context.setRotation(row.rotation);
        ScreenPoint s = context.toScreenPoint(row.world);
        EXPECT_EQ(s.getX(), row.screen.getX()) << row.rotation;
        EXPECT_EQ(s.getY(), row.screen.getY()) << row.rotation;
        EXPECT_TRUE(context.toWorldCoordinates(row.screen).isEqual2D(row.world, 1e-9)) << row.rotation;
    }
    // Out of range and not finite.
    context.setRotation(0);
    context.setScale(1e9);
    EXPECT_EQ(context.toScreenPoint(CadPoint(1, -1)).getX(), 32767);
    EXPECT_EQ(context.toScreenPoint(CadPoint(-1, 1)).getY(), -32768);
    EXPECT_EQ(context.toScreenPoint(CadPoint(std::numeric_limits<double>::quiet_NaN(), 0)).getX(), 0);
}

TEST(RenderContext, ZoomToFit) {
    struct Row {
        char const* name;
        Cube box;
        double rotation;
        double scale;
    };
    std::vector<Row> table = {
        {"10 by 5", Cube(0, 0, 0, 10, 5, 0), 0, 20},
        {"5 by 10 in 200 by 100", Cube(0, 0, 0, 5, 10, 0), 0, 10},
        {"only wide", Cube(0, 0, 0, 40, 0, 0), 0, 5},
        {"only deep", Cube(0, 0, 0, 0, 50, 0), 0, 4},
        {"only high: unchanged", Cube(0, 0, 0, 0, 0, 7), 0, 1},
        {"empty: unchanged", Cube(), 0, 1},
        {"turned", Cube(0, 0, 0, 10, 5, 0), pi / 2, 20},
    };
    for (Row const& row : table) {
        Int16 height = std::string(row.name) == "5 by 10 in 200 by 100" ? 100 : 200;
        RenderContext context(nullptr, ScreenRect(ScreenPoint(0, 0), ScreenPoint(200, height)));
        context.setRotation(row.rotation);
        context.zoomToFit(row.box);
        EXPECT_NEAR(context.getScale(), row.scale, 1e-9) << row.name;
    }
}

TEST(RenderContext, DrawsThroughTheSurface) {
    Specification::startup();
    std::vector<short> pens = addPens();
    auto* surface = new NewDisplay::NativeContext(NewDisplay::Rect{0, 0, 300, 150});
    RenderContext context(surface, ScreenRect());
    EXPECT_EQ(context.getBounds().getEnd().getX(), 300);
    context.setCentre(ScreenPoint(10, 20));
    PrimitiveLine line(CadPoint(0, 0), CadPoint(5, 5), 0, pens[0], 3, true, false);
    EXPECT_TRUE(line.renderIn(context, CadPoint()));
    EXPECT_TRUE(line.renderIn(context, CadPoint())); // same pen: no colour or width again
    PrimitiveArc arc(CadArc(CadPoint(0, 0), 2.0, pi / 2, 0.0), 0, pens[1], 1, true, false);
    EXPECT_TRUE(arc.renderIn(context, CadPoint()));
    EXPECT_TRUE(
        PrimitiveText(String("A"), CadPoint(1, 1), 0.5, 0, 1, true, false).renderIn(context, CadPoint()));
    EXPECT_TRUE(PrimitivePoint(CadPoint(1, 1), 0, 1, true, false).renderIn(context, CadPoint()));
    std::vector<std::string> expected = {"SetForeColor", "SetLineWidth", "MoveTo",       "LineTo",
                                         "MoveTo",       "LineTo",       "SetForeColor", "SetLineWidth",
                                         "MoveTo",       "ArcTo",        "DrawPlainText"};
    EXPECT_EQ(names(*surface), expected);
    auto const& calls = surface->GetCalls();
    EXPECT_EQ(calls[0].arguments, (std::vector<double>{255, 0, 0, 255}));
    EXPECT_NEAR(calls[1].arguments[0], 0.35 / 0.3527777777778, 1e-9);
    EXPECT_EQ(calls[3].arguments, (std::vector<double>{15, 15}));
    EXPECT_EQ(calls[9].arguments, (std::vector<double>{8, 18, 12, 22, 0, pi / 2}));
    EXPECT_EQ(calls[10].text, "A|");
    EXPECT_EQ(calls[10].arguments, (std::vector<double>{11, 19, 0.5, 12}));
    EXPECT_EQ(short(context.getLineStyle()), 1);

    // A fixed colour and weight stay through pen changes.
    surface->ClearCalls();
    context.setPenColour(CadColour(0.0, 1.0, 0.0), true);
    context.setPenWeight(3, true);
    context.setPen(pens[0]);
    context.setPen(pens[1]);
    EXPECT_EQ(names(*surface), (std::vector<std::string>{"SetForeColor", "SetLineWidth"}));
    surface->ClearCalls();
    CadPolygon triangle;
    for (CadPoint p : {CadPoint(0, 0), CadPoint(1, 0), CadPoint(0, 1)})
        triangle.push_back(new PolyPoint(p, 0.0, 0));
    context.drawPolygon(PrimitivePolygon(triangle, 0, 2, 1, true, false), CadPoint());
    context.setBackgroundColour(CadColour(0.0, 0.0, 1.0, 0.5));
    context.clear();
    EXPECT_EQ(names(*surface), (std::vector<std::string>{"BeginPolygon", "MoveTo", "LineTo", "LineTo",
                                                         "LineTo", "EndPolygon", "FillRect", "Clear"}));
    EXPECT_EQ(surface->GetCalls()[6].arguments, (std::vector<double>{0, 0, 300, 150, 0, 0, 255, 255}));
    Specification::shutdown();
}

// The surface's dirty rectangle becomes the bounds, each side clamped to 16 bits, one that is
// not a number becoming 0.
TEST(RenderContext, BoundsFromTheDirtyRectangle) {
    double const nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        char const* name;
        NewDisplay::Rect dirty;
        std::vector<int> bounds;
    };
    std::vector<Row> table = {
        {"in range", {-5, 2, 640, 480}, {-5, 2, 640, 480}},
        {"too large", {-1e9, -40000, 1e9, 70000}, {-32768, -32768, 32767, 32767}},
        {"not finite", {nan, 0, std::numeric_limits<double>::infinity(), nan}, {0, 0, 0, 0}},
    };
    for (Row const& row : table) {
        RenderContext context(new NewDisplay::NativeContext(row.dirty), ScreenRect());
        ScreenRect const& b = context.getBounds();
        EXPECT_EQ((std::vector<int>{b.getOrigin().getX(), b.getOrigin().getY(), b.getEnd().getX(),
                                    b.getEnd().getY()}),
                  row.bounds)
            << row.name;
    }
}

TEST(RenderContext, WithoutSurfaceOnlyThePenIsKept) {
    RenderContext context(nullptr, ScreenRect());
    context.setPen(4);
    EXPECT_EQ(short(context.getPen()), 4);
    PrimitiveLine line(CadPoint(0, 0), CadPoint(5, 5), 0, 7, 3, true, false);
    EXPECT_TRUE(line.renderIn(context, CadPoint()));
    EXPECT_EQ(short(context.getPen()), 4);
}

// A user item's update message: the preview draws into the item's recording, sized by its dirty
// rectangle.
TEST(RenderContext, DrawsIntoAUserItemsUpdate) {
    NewDisplay::Recording recording;
    recording.dirty = NewDisplay::Rect{0, 0, 120, 60};
    DGUserUpdateData update;
    update.itemID = 3;
    update.drawContext = &recording;
    PaintEvent paint(ControlLink(0), update);
    RenderContext context(paint.getNativeContext(), ScreenRect());
    EXPECT_EQ(context.getBounds().getEnd().getY(), 60);
    context.zoomToFit(Cube(-1, -1, 0, 1, 1, 0));
    EXPECT_NEAR(context.getScale(), 30, 1e-9);
    context.setPenWeight(1, true);
    context.drawLine(PrimitiveLine(CadPoint(-1, 0), CadPoint(1, 0), 0, 0, 1, true, false), CadPoint());
    ASSERT_EQ(recording.calls.size(), 3u);
    EXPECT_EQ(recording.calls[1].arguments, (std::vector<double>{30, 30}));
    EXPECT_EQ(recording.calls[2].arguments, (std::vector<double>{90, 30}));
    DGUserUpdateData blank;
    EXPECT_EQ(PaintEvent(ControlLink(0), blank).getNativeContext(), nullptr);
}

} // namespace
} // namespace zelvane
