// Random primitives written as GDL, read back: the put data matches its "get", no argument is
// empty, every number parses, and the contours come back as they were written.
#include "Environment/DataBufferOut.h"
#include "Environment/String.h"
#include "Library/ParameterBuilder.h"
#include "Primitive/PrimitiveDistortedHatch.h"
#include "Primitive/PrimitiveLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zelvane {
namespace {

std::vector<std::string> splitArguments(std::string const& text) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == ',') {
            parts.push_back(part);
            part.clear();
        } else if (c != ' ' && c != '\t' && c != '\n') {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

bool isNumber(std::string const& text) {
    if (text.empty())
        return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end != nullptr && *end == 0;
}

struct Checked {
    std::vector<double> put;
    std::string statement;
    std::vector<std::string> arguments;
};

// Splits the script into the put data and the polygon statement and checks their agreement.
Checked check(std::string const& script) {
    Checked result;
    std::size_t put = script.find("put ");
    std::size_t statement = script.find("poly2_");
    EXPECT_NE(put, std::string::npos) << script;
    EXPECT_NE(statement, std::string::npos) << script;
    if (put == std::string::npos || statement == std::string::npos)
        return result;
    // The put data runs to the first line that does not end with a comma.
    std::size_t end = put;
    for (;;) {
        std::size_t next = script.find('\n', end);
        if (next == std::string::npos || next == 0 || script[next - 1] != ',') {
            end = next;
            break;
        }
        end = next + 1;
    }
    std::string data = script.substr(put + 4, end - put - 4);
    for (std::string const& value : splitArguments(data)) {
        EXPECT_TRUE(isNumber(value)) << "'" << value << "' in " << script;
        result.put.push_back(std::atof(value.c_str()));
    }
    std::string line = script.substr(statement);
    std::size_t space = line.find(' ');
    result.statement = line.substr(0, space);
    result.arguments = splitArguments(line.substr(space + 1));
    for (std::string const& argument : result.arguments)
        EXPECT_FALSE(argument.empty()) << script;
    EXPECT_EQ(result.put.size() % 3, 0u) << script;
    std::size_t n = result.put.size() / 3;
    EXPECT_EQ(result.arguments.front(), std::to_string(n)) << script;
    EXPECT_EQ(result.arguments.back(), "get(" + std::to_string(3 * n) + ")") << script;
    for (std::size_t i = 1; i + 1 < result.arguments.size(); ++i)
        EXPECT_TRUE(isNumber(result.arguments[i]) || result.arguments[i].rfind("get(", 0) == 0) << script;
    return result;
}

// The outline's vertices read back from the put data: status 1 points up to the contour's end,
// the repeated first vertex dropped.
std::vector<CadPoint> readOutline(std::vector<double> const& put) {
    std::vector<CadPoint> points;
    for (std::size_t i = 0; i + 2 < put.size(); i += 3) {
        double status = put[i + 2];
        if (status == 700 || status == -1)
            break;
        if (status == 1)
            points.emplace_back(put[i], put[i + 1]);
    }
    if (points.size() > 1 && points.front().isEqual2D(points.back(), 1e-5))
        points.pop_back();
    return points;
}

TEST(ScriptCheck, RandomPolygonsAndHatches) {
    std::mt19937 random(20);
    // Numbers are written with six significant digits: a library part's local coordinates.
    std::uniform_real_distribution<double> coordinate(-10.0, 10.0);
    std::uniform_int_distribution<int> pen(0, 255);
    ParameterBuilder builder;
    for (int round = 0; round < 300; ++round) {
        // A convex polygon: points on a circle in order.
        int count = 3 + round % 7;
        CadPoint centre(coordinate(random), coordinate(random));
        double radius = 1.0 + std::fabs(coordinate(random));
        CadPolygon polygon;
        for (int i = 0; i < count; ++i) {
            double angle = 2 * 3.141592653589793 * i / count;
            polygon.push_back(
                new PolyPoint(centre + CadPoint(radius * std::cos(angle), radius * std::sin(angle)), 0.0, 0));
        }
        std::unique_ptr<PrimitivePolygon> primitive;
        switch (round % 3) {
        case 0:
            primitive = std::make_unique<PrimitivePolygon>(polygon, 0, short(pen(random)), 1, true, false);
            primitive->setSolidFilled(round % 2 == 0);
            break;
        case 1: {
            auto hatch = std::make_unique<PrimitiveHatch>(polygon, 0, short(pen(random)), 1, true, false);
            hatch->setFill(short(round % 5));
            hatch->setBackPen(short(pen(random)));
            hatch->setGradient(round % 4 == 1);
            primitive = std::move(hatch);
            break;
        }
        default: {
            auto hatch =
                std::make_unique<PrimitiveDistortedHatch>(polygon, 0, short(pen(random)), 1, true, false);
            hatch->setFill(short(1 + round % 5));
            hatch->setBackPen(short(pen(random)));
            primitive = std::move(hatch);
            break;
        }
        }
        primitive->setFillPen(short(pen(random)));
        String text;
        {
            DataBufferOut out(&text);
            ASSERT_TRUE(primitive->write2DScript(out, round % 2 == 0 ? &builder : nullptr, CadPoint(), 1));
        }
        Checked checked = check(text.data());
        std::vector<CadPoint> outline = readOutline(checked.put);
        ASSERT_EQ(int(outline.size()), count) << text.data();
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(outline[i].isEqual2D(*polygon[i], 1e-4)) << round << " " << i;
    }
}

} // namespace
} // namespace zelvane
