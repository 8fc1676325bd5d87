// An element's 2D shape as a stream of drawing records, handed one by one to a callback.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/Elements.hpp"
#include "GSRoot/UniString.hpp"

enum API_PrimTypeID : Int32 {
    API_ZombiePrimID = 0,
    API_PrimPointID = 1,
    API_PrimLineID = 2,
    API_PrimArcID = 3,
    API_PrimTextID = 4,
    API_PrimPLineID = 5,
    API_PrimTriID = 6,
    API_PrimPolyID = 7,
    API_PrimPictID = 8,
    API_PrimCtrl_BegID = 9,
    API_PrimCtrl_HatchBorderBegID = 10,
    API_PrimCtrl_HatchBorderEndID = 11,
    API_PrimCtrl_HatchLinesBegID = 12,
    API_PrimCtrl_HatchLinesEndID = 13,
    API_PrimCtrl_EndID = 14,
};

struct API_Prim_Head {
    API_PrimTypeID typeID = API_ZombiePrimID;
    short layer = 0;
    short drwIndex = 0;
    short pen = 0;
};

struct API_PrimPoint {
    API_Prim_Head head;
    API_Coord loc;
};

struct API_PrimLine {
    API_Prim_Head head;
    short ltypeInd = 0;
    API_Coord c1;
    API_Coord c2;
};

// Angles in radians; `reflected` marks an arc drawn clockwise from begAng to endAng. An elliptic
// arc has a ratio of its axes other than 1 and its main axis turned by `angle`.
struct API_PrimArc {
    API_Prim_Head head;
    short ltypeInd = 0;
    API_Coord orig;
    double r = 0.0;
    double begAng = 0.0;
    double endAng = 0.0;
    bool reflected = false;
    double ratio = 1.0;
    double angle = 0.0;
};

struct API_PrimText {
    API_Prim_Head head;
    API_Coord loc;
    double angle = 0.0;
};

// The coordinates (and arcs) come with the record; `nCoords` counts from 1.
struct API_PrimPLine {
    API_Prim_Head head;
    short ltypeInd = 0;
    Int32 nCoords = 0;
    Int32 nArcs = 0;
};

struct API_PrimTri {
    API_Prim_Head head;
    bool solid = false;
    API_Coord c[3];
};

// Coordinates, contour ends and arcs in the packed form of polygons (index 0 entries unused).
struct API_PrimPoly {
    API_Prim_Head head;
    short ltypeInd = 0;
    bool solid = false;
    Int32 nCoords = 0;
    Int32 nSubPolys = 0;
    Int32 nArcs = 0;
};

// The hatch of the border group that follows.
struct API_PrimHatchBorder {
    short fillInd = 0;
    short fillPen = 0;
    short backPen = 0;
    bool outline = false;
    bool gradient = false;
    bool linear = false;
    bool distorted = false;
    API_Coord origin;
    double matrix[4] = {1.0, 0.0, 0.0, 1.0};
    double innerRadius = 0.0;
};

// par1..par3 by kind: text: the byte text (const char*), the Unicode text (const GS::UniChar*, 0-terminated,
// may be null); polyline: the coordinates, the arcs; polygon: the coordinates, the contour ends,
// the arcs; hatch border begins: the hatch record (may be null). A non-zero answer stops the
// stream.
using ShapePrimsProc = GSErrCode (*)(const API_Prim_Head* prim, const void* par1, const void* par2,
                                     const void* par3);

// Replays the element's shape records through the callback; the callback's first non-zero answer
// is returned. APIERR_BADID for an unknown element, APIERR_BADPARS without a callback.
GSErrCode ACAPI_Element_ShapePrims(const API_Elem_Head& head, ShapePrimsProc proc);
