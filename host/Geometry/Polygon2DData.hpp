// The host geometry library's 2D polygon record and the operations on it.
//
// A record holds its coordinates from index 1 (index 0 is unused); each contour lists its vertices
// and then its first vertex again. The contour-end table holds 0 and then the index of each
// contour's last coordinate, so contour c (from 1) runs from contourEnds[c-1] + 1 to contourEnds[c].
// An arc record lies on the edge ending at its end index, turning by its angle (positive
// anticlockwise). Per-vertex data holds vertexDataSize bytes for every coordinate index. All blocks
// are memory-manager handles owned by the record; FreePolygon2DData releases them.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/VAArray.hpp"

namespace Geometry {

struct Coord2D {
    double x;
    double y;
};

struct PolyArcRec {
    Int32 begIndex;
    Int32 endIndex;
    double arcAngle;
};

struct Box2DData {
    double xMin;
    double yMin;
    double xMax;
    double yMax;
};

// Status bits of a record.
constexpr UInt32 Polygon2DClosed = 1;
constexpr UInt32 Polygon2DHasVertexData = 2;
constexpr UInt32 Polygon2DOriented = 4;

struct Polygon2DData {
    Int32 nVertices;      // coordinates, repeats included
    Int32 nArcs;          // arc records, from 1
    Int32 nContours;      // contours, from 1; the first is the outline
    GSHandle vertices;    // Coord2D[nVertices + 1]
    GSHandle arcs;        // PolyArcRec[nArcs + 1]
    GSHandle contourEnds; // UInt32[nContours + 1]
    GSHandle vertexData;  // vertexDataSize bytes per coordinate index, nVertices + 1 of them
    Int32 vertexDataSize;
    GSHandle polygonData; // polygonDataSize bytes
    Int32 polygonDataSize;
    Box2DData boundBox;
    UInt32 status;
};

// The box of the coordinates and of the arcs' bulges.
void GetPolygon2DDataBoundBox(const Polygon2DData& polygon, Box2DData* box);

// Turns the outline anticlockwise and every hole clockwise, carrying arcs and vertex data along.
GSErrCode OrientPolygon2DData(Polygon2DData* polygon);

// Moves the edge from coordinate edgeIndex to edgeIndex + 1 sideways by offset, to its left for a
// positive offset, its neighbours following along their lines; appends the resulting polygons.
GSErrCode OffsetPolygon2DDataEdge(const Polygon2DData& polygon, Int32 edgeIndex, double offset,
                                  GS::VAArray<Polygon2DData>* results);

// Moves every edge of the contour (from 1) outwards by offset (inwards for a negative one), with
// mitred corners; appends the resulting polygons. Only the outline (contour 1) can be resized.
GSErrCode ResizePolygon2DDataContour(const Polygon2DData& polygon, Int32 contourIndex, double offset,
                                     GS::VAArray<Polygon2DData>* results);

// Appends the polygons of the union of the two.
GSErrCode UnifyPolygon2DData(const Polygon2DData& polygon1, const Polygon2DData& polygon2,
                             GS::VAArray<Polygon2DData>* results);

// Releases every block of the record and empties it.
void FreePolygon2DData(Polygon2DData* polygon);

} // namespace Geometry
