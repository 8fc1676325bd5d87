// What the modeler holds of one body; the host fills it when it reads the model, the body classes
// read it. Not part of the modeler's interface.
#pragma once

#include "Modeler/Body.hpp"

#include <vector>

namespace ModelerAPI {
namespace detail {

struct BodyData {
    struct EdgeRecord {
        Int32 vertex1 = 0; // from 1
        Int32 vertex2 = 0;
        Int32 polygon1 = 0; // from 1, 0 for none
        Int32 polygon2 = 0;
        Int32 status = 0; // 1 invisible, 2 curved
        Int32 color = 0;
    };
    struct PolygonRecord {
        std::vector<Int32> edges; // signed edges from 1, 0 between contours
        Int32 vector = 0;         // signed vector from 1
        Int32 status = 0;         // 1 invisible, 2 curved, 16 and 32 complex
        Int32 material = 0;
        std::vector<std::vector<Int32>> facets; // vertex indexes from 1
    };

    std::vector<Vertex> vertices;
    std::vector<EdgeRecord> edges;
    std::vector<PolygonRecord> polygons;
    std::vector<Vector> vectors;
    Int32 status = 0; // 1 closed solid, 2 curved
    Int32 color = 0;
    Int32 material = 0;
};

} // namespace detail
} // namespace ModelerAPI
