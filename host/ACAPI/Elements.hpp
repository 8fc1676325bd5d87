// Element records of the add-on interface: the header every element record begins with, the
// selection record, and the notification services that hand elements to an add-on.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Guid.hpp"

// The interface's GUID record is the root library's.
using API_Guid = GS::Guid;

// Element types; 0 is no type.
using API_ElemTypeID = Int32;
constexpr API_ElemTypeID API_ZombieElemID = 0;
constexpr API_ElemTypeID API_WallID = 1;
constexpr API_ElemTypeID API_ColumnID = 2;
constexpr API_ElemTypeID API_BeamID = 3;
constexpr API_ElemTypeID API_WindowID = 4;
constexpr API_ElemTypeID API_DoorID = 5;
constexpr API_ElemTypeID API_ObjectID = 6;
constexpr API_ElemTypeID API_LampID = 7;
constexpr API_ElemTypeID API_CutPlaneID = 25;
constexpr API_ElemTypeID API_SectElemID = 29;
constexpr API_ElemTypeID API_ElevationID = 33;

// Variations of an element type, four-character codes; 0 is the plain element.
using API_ElemVariationID = UInt32;

// Kinds of drawing database windows.
using API_WindowTypeID = Int32;
constexpr API_WindowTypeID APIWind_FloorPlanID = 1;
constexpr API_WindowTypeID APIWind_SectionID = 2;
constexpr API_WindowTypeID APIWind_DetailID = 3;
constexpr API_WindowTypeID APIWind_3DModelID = 4;
constexpr API_WindowTypeID APIWind_LayoutID = 5;
constexpr API_WindowTypeID APIWind_MasterLayoutID = 9;
constexpr API_WindowTypeID APIWind_ElevationID = 10;
constexpr API_WindowTypeID APIWind_InteriorElevationID = 11;
constexpr API_WindowTypeID APIWind_WorksheetID = 12;
constexpr API_WindowTypeID APIWind_DocumentFrom3DID = 13;

struct API_Elem_Head {
    API_ElemTypeID typeID = 0;
    API_ElemVariationID variationID = 0;
    API_Guid guid;
    short floorInd = 0;
    short layer = 0;
    bool hasMemo = false;
    Int32 drwIndex = 0;
    API_Guid groupGuid;
    short groupLayer = 0; // the reference layer of the element's group
    API_Guid hotlinkGuid;
    Int32 renovationStatus = 0; // 0 undefined, 1 existing, 2 to be demolished, 3 new
    bool locked = false;
    short userId = 0; // the team-work member that owns the element
    UInt64 modiStamp = 0;
};

// A surface finish of an element side: the finish's index and whether it overrides the one of the
// element's building material.
struct API_OverriddenAttribute {
    short attributeIndex = 0;
    bool overridden = false;
};

// A wall (type 1): attributes, structure, shape and geometry. Levels are relative to the home
// storey.
struct API_WallType {
    short contPen = 0;
    short contLtype = 0;
    short sectContPen = 0;
    Int32 modelElemStructureType = 0; // 0 basic, 1 composite, 2 profiled
    short buildingMaterial = 0;
    short composite = 0;
    Int32 sequence = 0; // the junction order, 4200 + 100 x order
    short sectPen = 0;  // the section fill pen
    short sectBGPen = 0;
    bool useCompositePens = false;
    bool useCompositeFillPens = false;
    API_OverriddenAttribute refMat;
    API_OverriddenAttribute oppMat;
    API_OverriddenAttribute sidMat;
    short profileAttr = 0;
    short profileType = 0; // the shape type
    bool flipped = false;
    Int32 type = 0;                  // 0 straight, 1 trapezoid, 2 polygonal
    Int32 referenceLineLocation = 0; // 0 outside, 1 centre, 2 inside, 3 core outside, ...
    double height = 0.0;
    double bottomOffset = 0.0;
    double thickness = 0.0;
    double thickness1 = 0.0; // at the end, for trapezoid walls
    double offsetFromOutside = 0.0;
    double offset = 0.0; // of the reference line
    bool isAutoOnStoryVisibility = false;
    short relativeTopStory = 0;
    Int32 refLineStartIndex = 0;
    Int32 refLineEndIndex = 0;
    API_Coord begC{0.0, 0.0};
    API_Coord endC{0.0, 0.0};
    double angle = 0.0; // the sweep of a curved wall
    short poly5Pen = 0;
    Int32 displayOption = 0;
    double slantAlpha = 0.0;
    double slantBeta = 0.0;
    API_Polygon poly; // the outline description of a polygonal wall
};

// What doors and windows share: pens, line type and material, section attributes, whether the
// library part's own are used, the opening's size, the library part and whether wall gables cut
// it.
struct API_OpeningBaseType {
    short pen = 0;
    short ltypeInd = 0;
    short mat = 0;
    short sectFill = 0;
    short sectFillPen = 0;
    short sectBGPen = 0;
    short sectContPen = 0;
    bool useObjPens = false;
    bool useObjLtypes = false;
    bool useObjMaterials = false;
    double width = 0.0;
    double height = 0.0;
    Int32 libInd = 0;
    bool wallCutUsing = false;
};

// A window (type 4) or door (type 5) in its wall: the opening part, how it is anchored, which way
// it opens, its insets, its wall, the distance of its centre from the wall's start and its sill
// above the wall's base.
struct API_WindowType {
    API_OpeningBaseType openingBase;
    Int32 anchorKind = 0;
    short anchorStory = 0;
    bool oSide = false;   // right-handed
    bool refSide = false; // opens inwards
    bool revealInside = false;
    double sillInset = 0.0;
    double topInset = 0.0;
    double baseInset = 0.0;
    double leftInset = 0.0;
    double rightInset = 0.0;
    API_Guid owner;
    double objLoc = 0.0;
    double lower = 0.0;
};
using API_DoorType = API_WindowType;

// What a proxy element (type 29) of a cut view stands for: its parent model element.
struct API_SectElemType {
    API_ElemTypeID parentID = 0;
    API_Guid parentGuid;
};

// A section (type 25) or elevation (type 33) marker on the floor plan: its pen, the levels it
// cuts between (absolute), its start marker, how many points its line has (the line itself is in
// the memo: read with the polygon bit, written with 0x4000) and the database it opens.
struct API_MarkerType {
    short markerPen = 0;
    double bottomLevel = 0.0;
    double topLevel = 0.0;
    API_Guid startMarkerGuid;
    Int32 nLineCoords = 0;
    API_Guid databaseID;
};

// A placed object (type 6) or lamp (type 7): its library part and how it is drawn and placed.
struct API_ObjectType {
    Int32 libInd = 0;
    // Attribute indices: contour pen, line type, material, section fill and its pen, section
    // background pen and section contour pen.
    short pen = 0;
    short ltypeInd = 0;
    short mat = 0;
    short sectFill = 0;
    short sectFillPen = 0;
    short sectBGPen = 0;
    short sectContPen = 0;
    bool useObjPens = false;
    bool useObjLtypes = false;
    bool useObjMaterials = false;
    bool reflected = false;
    bool fixedSize = false;
    bool useObjSectAttrs = false;
    short originIndex = 0; // the hotspot used as reference point
    double angle = 0.0;
    double level = 0.0; // from the home storey
    double xRatio = 0.0;
    double yRatio = 0.0;
    double colour[3] = {0.0, 0.0, 0.0};
    bool showOnHome = true;
    bool showAllAbove = false;
    bool showAllBelow = false;
    short showRelAbove = 0;
    short showRelBelow = 0;
    short linkValue = 0;
    bool linkToStory[3] = {false, false, false};
    double offsetX = 0.0;
    double offsetY = 0.0;
    API_Guid ownerGuid;
    double posX = 0.0;
    double posY = 0.0;
};
using API_LampType = API_ObjectType;

// An element record: its header, then the part of its kind (only that part is meaningful).
struct API_Element {
    API_Elem_Head header;
    API_WallType wall;
    API_WindowType window;
    API_DoorType door;
    API_SectElemType sectElem;
    API_MarkerType cutPlane;
    API_MarkerType elevation;
    API_ObjectType object;
    API_LampType lamp;
};

// A selection record: the kind of the selected part (neig ID), the element and which part of it.
struct API_Neig {
    Int32 neigID = 0;
    API_Guid guid;
    Int32 elemPartType = 0;
    Int32 elemPartIndex = 0;
};

// The add-on's own data attached to an element.
struct API_ElementUserData {
    short dataVersion = 0;
    UInt16 platformSign = 0;
    GSFlags flags = 0;
    GSHandle dataHdl = nullptr;
};

// Which parts of an element's extra data (memo) to get: every bit set asks for all.
using API_ElemMemoMask = UInt64;

struct API_ElementMemo;

// The parent element of the element a notification is about: its record, its memo parts of the
// mask when a memo is given (from the element table, by the parent's GUID; new handles the caller
// disposes) and, when asked, its user data (a new handle the caller frees). APIERR_NOTMINE
// answers the element all the same.
GSErrCode ACAPI_Notify_GetParentElement(API_Element* element, API_ElementMemo* memo,
                                        API_ElemMemoMask memoMask, API_ElementUserData* userData);
