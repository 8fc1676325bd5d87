#include "Environment/DataBufferOut.h"
#include "Environment/String.h"
#include "Geometry/CadArc.h"
#include "Library/ParameterBuilder.h"
#include "Library/ParameterList.h"
#include "Primitive/PrimitiveArc.h"
#include "Primitive/PrimitiveDistortedHatch.h"
#include "Primitive/PrimitiveHatch.h"
#include "Primitive/PrimitiveLine.h"
#include "Primitive/PrimitivePoint.h"
#include "Primitive/PrimitivePolygon.h"
#include "Primitive/PrimitiveText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace zelvane {
namespace {

const double pi = 3.141592653589793;

struct Vertex {
    double x, y, sweep;
};

CadPolygon makePolygon(std::vector<Vertex> const& outline,
                       std::vector<std::vector<Vertex>> const& holes = {}) {
    CadPolygon polygon;
    for (Vertex const& v : outline)
        polygon.push_back(new PolyPoint(CadPoint(v.x, v.y), v.sweep, 0));
    for (auto const& hole : holes) {
        CadPolygon* h = polygon.addHole(nullptr);
        for (Vertex const& v : hole)
            h->push_back(new PolyPoint(CadPoint(v.x, v.y), v.sweep, 0));
    }
    return polygon;
}

std::string script2D(Primitive const& p, ParameterBuilder* builder = nullptr, CadPoint offset = CadPoint(),
                     unsigned short indent = 0) {
    String text;
    {
        DataBufferOut out(&text);
        EXPECT_TRUE(p.write2DScript(out, builder, offset, indent));
    }
    return text.data();
}

std::string script3D(Primitive const& p, CadPoint offset = CadPoint()) {
    String text;
    {
        DataBufferOut out(&text);
        EXPECT_TRUE(p.write3DScript(out, nullptr, offset, 0));
    }
    return text.data();
}

struct Golden {
    char const* name;
    std::string text;
    std::string expected;
};

// Each statement without a builder: the literal pens, numbers rounded to 0.00001.
TEST(PrimitiveScript, StatementsWithoutBuilder) {
    CadPoint off(1, 2);
    PrimitiveText turned(String("Turn"), CadPoint(1, 1), pi / 2, 0, 1, true, false);
    PrimitiveArc ellipse(CadArc(CadPoint(2, 0), 1.0, pi / 2, 0.0), 0, 1, 1, true, false);
    ellipse.setAxisRatio(0.5);
    ellipse.setMainAxisRotation(pi / 2);
    PrimitiveArc clockwise(CadArc(CadPoint(0, 0), 2.0, -pi / 2, pi / 2), 0, 1, 1, true, false);
    PrimitiveArc full(CadArc(CadPoint(1, 1), 3.0, 2 * pi, 0.0), 0, 1, 1, true, false);
    PrimitiveLine hatchLine(CadPoint(0, 0), CadPoint(1, 0.123456789), 0, 4, 1, true, false);
    hatchLine.setHatchLine(true);
    std::vector<Golden> table = {
        {"hotspot", script2D(PrimitivePoint(CadPoint(1.5, -2), 0, 1, true, false), nullptr, off, 1),
         "\thotspot2 2.5, 0\n"},
        {"hotspot not 2D", script2D(PrimitivePoint(CadPoint(1.5, -2), 0, 1, false, true)), ""},
        {"line", script2D(hatchLine), "line2 0, 0, 1, 0.12346\n"},
        {"text", script2D(PrimitiveText(String("Room 1"), CadPoint(1, 2), 0, 0, 1, true, false)),
         "text2 1, 2, \"Room 1\"\n"},
        {"turned text", script2D(turned, nullptr, off), "add2 2, 3\nrot2 90\ntext2 0, 0, \"Turn\"\ndel 2\n"},
        {"double quote", script2D(PrimitiveText(String("5\" nail"), CadPoint(), 0, 0, 1, true, false)),
         "text2 0, 0, '5\" nail'\n"},
        {"both quotes, line break",
         script2D(PrimitiveText(String("it's \"a\"\nb"), CadPoint(), 0, 0, 1, true, false)),
         "text2 0, 0, \"it's \" + '\"' + \"a\" + '\"' + \" b\"\n"},
        {"arc", script2D(PrimitiveArc(CadArc(CadPoint(1, 1), 2.0, pi / 2, 0.0), 0, 1, 1, true, false)),
         "arc2 1, 1, 2, 0, 90\n"},
        {"clockwise arc", script2D(clockwise), "arc2 0, 0, 2, 0, 90\n"},
        {"full turn", script2D(full), "circle2 1, 1, 3\n"},
        {"elliptic arc", script2D(ellipse), "rot2 90\nmulx 0.5\narc2 0, -2, 1, 0, 90\ndel 2\n"},
    };
    for (Golden const& row : table)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

TEST(PrimitiveScript, ThreeDStatements) {
    std::vector<Golden> table = {
        {"hotspot", script3D(PrimitivePoint(CadPoint(1, 2, 3), 0, 1, false, true), CadPoint(1, 1, 1)),
         "hotspot 2, 3, 4\n"},
        {"line", script3D(PrimitiveLine(CadPoint(0, 0, 0), CadPoint(1, 1, 1), 0, 1, 1, false, true)),
         "lin_ 0, 0, 0, 1, 1, 1\n"},
        {"line not 3D", script3D(PrimitiveLine(CadPoint(0, 0, 0), CadPoint(1, 1, 1), 0, 1, 1, true, false)),
         ""},
        {"text", script3D(PrimitiveText(String("x"), CadPoint(), 0, 0, 1, true, true)), ""},
    };
    for (Golden const& row : table)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

TEST(PrimitiveScript, Polygons) {
    CadPolygon square = makePolygon({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}});
    PrimitivePolygon outline(square, 0, 3, 1, true, false);
    PrimitivePolygon solid(square, 0, 3, 1, true, false);
    solid.setSolidFilled(true);
    solid.setFillPen(5);
    PrimitivePolygon arcEdge(makePolygon({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, pi}}), 0, 1, 1, true,
                             false);
    PrimitivePolygon holed(
        makePolygon({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {{{1, 1, 0}, {1, 2, 0}, {2, 2, 0}}}), 0, 1,
        1, true, false);
    PrimitiveHatch hatch(square, 0, 3, 1, true, false);
    hatch.setFill(7);
    hatch.setFillPen(5);
    hatch.setBackPen(0);
    hatch.setOutlined(true);
    PrimitiveHatch empty(square, 0, 3, 1, true, false);
    PrimitiveDistortedHatch distorted(square, 0, 3, 1, true, false);
    distorted.setFill(7);
    distorted.setFillPen(5);
    distorted.setBackPen(6);
    const char* squarePut = "put 0, 0, 1,\n\t2, 0, 1,\n\t2, 2, 1,\n\t0, 2, 1,\n\t0, 0, 1,\n\t0, 0, 700\n";
    std::vector<Golden> table = {
        {"outline", script2D(outline), std::string(squarePut).append("poly2_a 6, 1, 3, get(18)\n")},
        {"solid", script2D(solid), std::string(squarePut).append("poly2_b 6, 3, 5, 5, get(18)\n")},
        {"arc edge", script2D(arcEdge),
         "put 0, 0, 1,\n\t2, 0, 1,\n\t2, 2, 1,\n\t1, 2, 901,\n\t0, 180, 4001,\n\t0, 0, 1,\n"
         "\t0, 0, 700\npoly2_a 7, 1, 1, get(21)\n"},
        {"holes", script2D(holed),
         "put 0, 0, 1,\n\t4, 0, 1,\n\t4, 4, 1,\n\t0, 4, 1,\n\t0, 0, 1,\n\t0, 0, -1,\n"
         "\t1, 1, 1,\n\t1, 2, 1,\n\t2, 2, 1,\n\t1, 1, 1,\n\t1, 1, -1\npoly2_a 11, 1, 1, get(33)\n"},
        {"hatch", script2D(hatch), std::string(squarePut).append("poly2_b 6, 3, 5, 0, get(18)\n")},
        {"unfilled hatch", script2D(empty), std::string(squarePut).append("poly2_a 6, 1, 3, get(18)\n")},
        {"distorted", script2D(distorted), std::string(squarePut).append("poly2_b 6, 2, 5, 6, get(18)\n")},
        {"invalid", script2D(PrimitivePolygon(makePolygon({{0, 0, 0}, {1, 0, 0}}), 0, 1, 1, true, false)),
         ""},
    };
    for (Golden const& row : table)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

// With a builder but no parameter list: attribute statements by index, written when they change;
// inline pens never leave an empty argument (background pen 0 is written as 0).
TEST(PrimitiveScript, BuilderWithoutParameters) {
    ParameterBuilder builder;
    PrimitiveLine line(CadPoint(0, 0), CadPoint(1, 0), 0, 3, 2, true, false);
    std::vector<Golden> table;
    table.push_back({"first line", script2D(line, &builder), "pen 3\nline_type 2\nline2 0, 0, 1, 0\n"});
    table.push_back({"same again", script2D(line, &builder), "line2 0, 0, 1, 0\n"});
    PrimitiveHatch hatch(makePolygon({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), 0, 3, 2, true, false);
    hatch.setFill(7);
    hatch.setFillPen(5);
    hatch.setBackPen(0);
    table.push_back({"hatch, background pen 0", script2D(hatch, &builder),
                     "put 0, 0, 1,\n\t1, 0, 1,\n\t1, 1, 1,\n\t0, 0, 1,\n\t0, 0, 700\nfill 7\n"
                     "poly2_b 5, 2, 5, 0, get(15)\n"});
    hatch.setGradient(true);
    std::string first = script2D(hatch, &builder);
    std::string second = script2D(hatch, &builder);
    table.push_back({"radial gradient defined once", first.substr(first.find("define")),
                     "define radial_gradient_fill zelvaneRadialGradient\nset fill zelvaneRadialGradient\n"
                     "poly2_b 5, 2, 5, 0, get(15)\n"});
    table.push_back(
        {"then only used", second.substr(second.find("poly2_b")), "poly2_b 5, 2, 5, 0, get(15)\n"});
    PrimitiveDistortedHatch distorted(makePolygon({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), 0, 3, 2, true, false);
    distorted.setFill(7);
    distorted.setFillPen(5);
    distorted.setOutlined(true);
    distorted.setFillOrigin(CadPoint(0.5, 0.25));
    distorted.setFillMatrix(1, 0, 0, 2);
    distorted.setInnerRadius(0.1);
    std::string d = script2D(distorted, &builder, CadPoint(), 1);
    table.push_back(
        {"distorted", d.substr(d.find("\tpoly2_b")),
         "\tpoly2_b{5} 5, 3, 1, 8,\n\t\t5, 0,\n\t\t0.5, 0.25,\n\t\t1, 0, 0, 2,\n\t\t0.1,\n\t\tget(15)\n"});
    for (Golden const& row : table)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

// Attributes as library-part parameters: an array's row in brackets, a named parameter, a pen
// type written nothing for (-4) written inline as its index.
TEST(PrimitiveScript, BuilderWithParameters) {
    ParameterList list;
    ParameterBuilder builder(&list);
    builder.setPenParameter(0, "p", "Pens", 0);
    builder.setPenParameter(2, "fp", "Fill pen", -1);
    builder.setPenParameter(3, "bp", "Background pen", -4);
    builder.setLineParameter("lt", "Line", -1);
    PrimitiveLine first(CadPoint(0, 0), CadPoint(1, 0), 0, 3, 2, true, false);
    PrimitiveLine second(CadPoint(0, 0), CadPoint(1, 0), 0, 8, 2, true, false);
    PrimitivePolygon solid(makePolygon({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}), 0, 8, 2, true, false);
    solid.setSolidFilled(true);
    solid.setFillPen(5);
    std::vector<Golden> table;
    table.push_back({"first pen", script2D(first, &builder), "pen p[1]\nline_type lt\nline2 0, 0, 1, 0\n"});
    table.push_back({"second pen", script2D(second, &builder), "pen p[2]\nline2 0, 0, 1, 0\n"});
    std::string polygon = script2D(solid, &builder);
    table.push_back(
        {"inline fill pens", polygon.substr(polygon.find("poly2_b")), "poly2_b 5, 3, fp, 5, get(15)\n"});
    for (Golden const& row : table)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

} // namespace
} // namespace zelvane
