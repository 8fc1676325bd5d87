// The extra data of an element (its memo): polygons with their contour ends, arcs and vertex IDs,
// library-part parameters, gables, text content with its paragraphs, curtain-wall parts and the
// rest, each in a handle (or a plain block where noted) of the memo record.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Guid.hpp"

namespace GS {
class UniString;
}

// A polygon description: how many coordinates, contours and arcs its handles hold. Coordinate 0
// of a packed polygon is a placeholder, so the coordinate handle holds nCoords + 1 entries and
// the contour-end handle nSubPolys + 1.
struct API_Polygon {
    Int32 nCoords = 0;
    Int32 nSubPolys = 0;
    Int32 nArcs = 0;
};

// An arc of a packed polygon: the edge from coordinate begIndex to endIndex bulges by arcAngle.
struct API_PolyArc {
    Int32 begIndex = 0;
    Int32 endIndex = 0;
    double arcAngle = 0.0;
};

// A gable of a wall or roof: the plane that cuts it, its offset and its material.
struct API_Gable {
    double xOffset = 0.0;
    double yOffset = 0.0;
    double xTangent = 0.0;
    double yTangent = 0.0;
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    double d = 0.0;
    Int32 material = 0;
    Int32 flags = 0;
    double reserved[3] = {};
};
static_assert(sizeof(API_Gable) == 96, "a gable is twelve 64-bit words");

// A colour with channels from 0 to 1.
struct API_RGBColor {
    double f_red = 0.0;
    double f_green = 0.0;
    double f_blue = 0.0;
};

// A tab stop of a paragraph.
struct API_TabType {
    double pos = 0.0;
    Int32 type = 0; // 0 left, 1 right, 2 centre, 3 decimal
    Int32 filler = 0;
};

// A run of text with one style, inside its paragraph: characters from..from + range - 1,
// counted from the paragraph's start.
struct API_RunType {
    Int32 from = 0;
    Int32 range = 0;
    Int16 pen = 0;
    UInt16 faceBits = 0;
    Int16 font = 0;
    UInt16 effectBits = 0;
    double size = 0.0; // character height in millimetres
    API_RGBColor color;
};

// A paragraph of a text element: characters from..from + range - 1 of the whole content, its
// ruler (indents, justification, spacing, tabs), its runs and the offsets of its line ends. The
// tab, run and line-end arrays are plain blocks the memo owns.
struct API_ParagraphType {
    Int32 from = 0;
    Int32 range = 0;
    Int32 just = 0; // 0 left, 1 centre, 2 right, 3 full
    double firstLineIndent = 0.0;
    double indent = 0.0;
    double rightIndent = 0.0;
    double spacing = 0.0;
    Int32 numOfTabs = 0;
    Int32 numOfRuns = 0;
    Int32 numOfEOLs = 0;
    API_TabType* tab = nullptr;
    API_RunType* run = nullptr;
    Int32* eolPos = nullptr;
};

// Library-part parameters; the parameter record belongs to the library-part interface.
struct API_AddParType;

// Which parts of the memo to get or change: a set of the bits below. Every memo part's handles
// belong to one bit; an element kind uses the bits that apply to it.
using API_ElemMemoMask = UInt64;
constexpr API_ElemMemoMask APIMemoMask_Polygon = 0x1;
constexpr API_ElemMemoMask APIMemoMask_Gables = 0x2;
constexpr API_ElemMemoMask APIMemoMask_AddPars = 0x4;
constexpr API_ElemMemoMask APIMemoMask_EdgeTrims = 0x8;
constexpr API_ElemMemoMask APIMemoMask_MeshPolyZ = 0x10;
constexpr API_ElemMemoMask APIMemoMask_MeshLevel = 0x20;
constexpr API_ElemMemoMask APIMemoMask_BeamHole = 0x40;
constexpr API_ElemMemoMask APIMemoMask_TextContent = 0x80;
constexpr API_ElemMemoMask APIMemoMask_Paragraph = 0x100;
constexpr API_ElemMemoMask APIMemoMask_DrawingData = 0x200;
constexpr API_ElemMemoMask APIMemoMask_CustomOrigProfile = 0x400;
constexpr API_ElemMemoMask APIMemoMask_StretchedProfile = 0x800;
constexpr API_ElemMemoMask APIMemoMask_SectionSegments = 0x1000;
constexpr API_ElemMemoMask APIMemoMask_CWallSegments = 0x2000;
constexpr API_ElemMemoMask APIMemoMask_CWallFrames = 0x4000;
constexpr API_ElemMemoMask APIMemoMask_CWallPanels = 0x8000;
constexpr API_ElemMemoMask APIMemoMask_CWallJunctions = 0x10000;
constexpr API_ElemMemoMask APIMemoMask_CWallAccessories = 0x20000;
constexpr API_ElemMemoMask APIMemoMask_RoofEdgeTypes = 0x40000;
constexpr API_ElemMemoMask APIMemoMask_SideMaterials = 0x80000;
// A wall's windows and doors share the bits of roofs' edge types and side materials.
constexpr API_ElemMemoMask APIMemoMask_WallWindows = 0x40000;
constexpr API_ElemMemoMask APIMemoMask_WallDoors = 0x80000;
constexpr API_ElemMemoMask APIMemoMask_AdditionalPolygon = 0x100000;
constexpr API_ElemMemoMask APIMemoMask_ShellShapes = 0x200000;
constexpr API_ElemMemoMask APIMemoMask_MorphBody = 0x400000;
constexpr API_ElemMemoMask APIMemoMask_LinkList = 0x800000;
constexpr API_ElemMemoMask APIMemoMask_Picture = 0x1000000;
constexpr API_ElemMemoMask APIMemoMask_DimElems = 0x2000000;
constexpr API_ElemMemoMask APIMemoMask_BezierDirs = 0x4000000;
// Every part: bits 0 to 54 but bit 30, which the host keeps for itself.
constexpr API_ElemMemoMask APIMemoMask_All = 0x7FFFFFBFFFFFFFull;

// The memo record. Every member is a handle the record owns, or null; sectionLineCoords,
// sectionSecondLineCoords and cWSegContour are plain pointer blocks.
struct API_ElementMemo {
    API_Coord** coords = nullptr;
    Int32** pends = nullptr;
    API_PolyArc** parcs = nullptr;
    UInt32** vertexIDs = nullptr;
    API_AddParType** params = nullptr;
    API_Gable** gables = nullptr;
    GSHandle roofSides = nullptr;
    double** meshPolyZ = nullptr;
    GSHandle meshLevelCoords = nullptr;
    Int32** meshLevelEnds = nullptr;
    GSHandle dimElems = nullptr;
    GSHandle bezierDirs = nullptr;
    char** textContent = nullptr;
    Int32** textLineStarts = nullptr;
    GSHandle beamHoles = nullptr;
    GSHandle linkList = nullptr;
    GSHandle pictHdl = nullptr;
    API_ParagraphType** paragraphs = nullptr;
    GSHandle drawingData = nullptr;
    API_Coord* sectionLineCoords = nullptr;
    // A marker's second line block (its depth line), beside its section line.
    API_Coord* sectionSecondLineCoords = nullptr;
    GSPtr cWSegContour = nullptr;
    GSHandle cWallSegments = nullptr;
    GSHandle cWallFrames = nullptr;
    GSHandle cWallPanels = nullptr;
    GSHandle cWallJunctions = nullptr;
    GSHandle cWallAccessories = nullptr;
    GSHandle cWSegGridMesh = nullptr;
    GSHandle cWSegPrimaryPattern = nullptr;
    GSHandle cWSegSecondaryPattern = nullptr;
    GSHandle cWSegPanelPattern = nullptr;
    GSHandle roofEdgeTypes = nullptr;
    GSHandle sideMaterials = nullptr;
    API_Coord** additionalPolyCoords = nullptr;
    Int32** additionalPolyPends = nullptr;
    API_PolyArc** additionalPolyParcs = nullptr;
    UInt32** additionalPolyVertexIDs = nullptr;
    GSHandle additionalPolyEdges = nullptr;
    GSHandle shellShapes = nullptr;
    GSHandle shellContours = nullptr;
    GSHandle morphBody = nullptr;
    GSHandle morphMaterialMapTable = nullptr;
    // The GUIDs of the windows and of the doors placed in a wall.
    GS::Guid** wallWindows = nullptr;
    GS::Guid** wallDoors = nullptr;
    // The element's listing ID, which a change or creation with the memo gives the element (null:
    // unchanged); a new string the record owns.
    GS::UniString* elemInfoString = nullptr;
};

// Disposes every handle and plain block of the record, with the tab, run and line-end blocks of
// each paragraph, and sets the members to null; the record itself is the caller's.
GSErrCode ACAPI_DisposeElemMemoHdls(API_ElementMemo* memo);
