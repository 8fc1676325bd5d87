// The project's attributes: typed tables of pens, layers, line types, fills, composites, surface
// and building materials, cities, layer combinations, zone categories, fonts and profiles, each
// attribute at an index from 1. A deleted attribute keeps its index: it counts in the table's
// size but cannot be got. Extra data (line-type and fill items, composite skins, a layer
// combination's layer states, zone-stamp parameters) travels in the extension record.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/Elements.hpp"
#include "ACAPI/ErrorCodes.hpp"
#include "ACAPI/LibraryParts.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GSRoot/UniString.hpp"

#include <cstring>
#include <new>

// The attribute at an index was deleted: the index stays in the table, unused.
constexpr GSErrCode APIERR_DELETED = GSErrCode(0x81060069);

using API_AttrTypeID = Int32;
constexpr API_AttrTypeID API_ZombieAttrID = 0;
constexpr API_AttrTypeID API_PenID = 1;
constexpr API_AttrTypeID API_LayerID = 2;
constexpr API_AttrTypeID API_LinetypeID = 3;
constexpr API_AttrTypeID API_FilltypeID = 4;
constexpr API_AttrTypeID API_CompWallID = 5;
constexpr API_AttrTypeID API_MaterialID = 6;
constexpr API_AttrTypeID API_CityID = 7;
constexpr API_AttrTypeID API_LayerCombID = 8;
constexpr API_AttrTypeID API_ZoneCatID = 9;
constexpr API_AttrTypeID API_FontID = 10;
constexpr API_AttrTypeID API_ProfileID = 11;
constexpr API_AttrTypeID API_BuildingMaterialID = 17;
constexpr API_AttrTypeID API_LastAttributeID = 18;

using API_AttributeIndex = Int16;

// Header flags; layers use the first, second and fifth.
constexpr GSFlags APILay_Hidden = 0x1;
constexpr GSFlags APILay_Locked = 0x2;
constexpr GSFlags APIAttr_Reserved = 0x4;
constexpr GSFlags APILay_ForceToWire = 0x10;

// The header every attribute record begins with.
struct API_Attr_Head {
    API_AttrTypeID typeID = 0;
    API_AttributeIndex index = 0;
    GSFlags flags = 0;
    char name[256] = {};
    API_Guid guid;
    UInt32 modiTime = 0;
};

struct API_PenType {
    API_Attr_Head head;
    API_RGBColor rgb;
    double width = 0.0; // millimetres
};

struct API_LayerType {
    API_Attr_Head head;
    Int32 conClassId = 0; // the group of layers whose elements intersect
};

struct API_LinetypeType {
    API_Attr_Head head;
    Int32 type = 0;
    double defineScale = 0.0;
    double period = 0.0;
    double height = 0.0;
    Int32 nItems = 0;
};

struct API_FilltypeType {
    API_Attr_Head head;
    Int32 subType = 0;
    double hXSpac = 0.0;
    double hYSpac = 0.0;
    double hAngle = 0.0;
    Int32 linNumb = 0;
    UInt8 bitPat[8] = {};
};

struct API_CompWallType {
    API_Attr_Head head;
    double totalThick = 0.0;
    Int16 nComps = 0;
    Int16 useMask = 0;
};

// A texture of a surface material.
struct API_Texture {
    Int32 status = 0; // 0x04 mirrored in x, 0x08 in y, 0x10 a texture is linked
    double xSize = 0.0;
    double ySize = 0.0;
    double rotAng = 0.0;
    bool missingPict = false;
    char fileLoc[256] = {}; // the texture file's path, UTF-8
    GS::UniChar texName[64] = {};
};

struct API_MaterialType {
    API_Attr_Head head;
    Int32 mtype = 0;
    Int16 ambientPc = 0;
    Int16 diffusePc = 0;
    Int16 specularPc = 0;
    Int16 transpPc = 0;
    Int16 shine = 0;
    Int16 transpAtt = 0;
    Int16 emissionAtt = 0;
    API_RGBColor surfaceRGB;
    API_RGBColor specularRGB;
    API_RGBColor emissionRGB;
    API_Texture texture;
};

struct API_CityType {
    API_Attr_Head head;
    Int16 latitude = 0;  // minutes of arc
    Int16 longitude = 0; // minutes of arc
    Int16 timeZone = 0;
};

struct API_LayerCombType {
    API_Attr_Head head;
    Int32 lNumb = 0; // entries of the extension record's layer states
};

struct API_ZoneCatType {
    API_Attr_Head head;
    GS::UniChar catCode[16] = {};
    GS::UniChar stampName[32] = {};
    API_RGBColor rgb;
};

struct API_FontType {
    API_Attr_Head head;
    Int32 charSet = 0;
};

struct API_ProfileAttrType {
    API_Attr_Head head;
    bool wallType = false;
    bool beamType = false;
    bool coluType = false;
};

struct API_BuildingMaterialType {
    API_Attr_Head head;
    API_AttributeIndex cutFill = 0;
    Int16 cutFillPen = 0;
    Int16 cutFillBackgroundPen = 0;
    API_AttributeIndex cutMaterial = 0;
    double thermalConductivity = 0.0;
    double density = 0.0;
    double heatCapacity = 0.0;
};

// A whole attribute record: the header, read as the part of the header's type. Making one
// clears every byte, then sets a bare header.
union API_Attribute {
    API_Attribute() {
        std::memset(static_cast<void*>(this), 0, sizeof *this);
        new (&header) API_Attr_Head();
    }

    API_Attr_Head header;
    API_PenType pen;
    API_LayerType layer;
    API_LinetypeType linetype;
    API_FilltypeType filltype;
    API_CompWallType compWall;
    API_MaterialType material;
    API_CityType city;
    API_LayerCombType layerComb;
    API_ZoneCatType zoneCat;
    API_FontType font;
    API_ProfileAttrType profile;
    API_BuildingMaterialType buildingMaterial;
};

// Items of a line type and of a fill.
struct API_DashItems {
    double dash = 0.0;
    double gap = 0.0;
};
struct API_LineItems {
    double itemType = 0.0;
    double itemBegPos = 0.0;
    double itemEndPos = 0.0;
};
struct API_FillLine {
    double lFreq = 0.0;
    double lDir = 0.0;
    double lOffsetLine = 0.0;
    double lOffset = 0.0;
};

// A skin of a composite: its building material and thickness.
struct API_CWallComponent {
    API_AttributeIndex buildingMaterial = 0;
    Int16 flags = 0;
    Int32 framePen = 0;
    double fillThick = 0.0;
};
static_assert(sizeof(API_CWallComponent) == 16, "a skin record is 16 bytes");

// A line of a composite: before each skin and after the last.
struct API_CWallLineComponent {
    API_AttributeIndex ltypeInd = 0;
    Int16 linePen = 0;
    Int32 flags = 0;
    double reserved[3] = {};
};
static_assert(sizeof(API_CWallLineComponent) == 32, "a skin-line record is 32 bytes");

// A layer's state within a layer combination.
struct API_LayerStat {
    API_AttributeIndex lInd = 0;
    Int16 lFlags = 0;
    Int32 conClassId = 0;
};
static_assert(sizeof(API_LayerStat) == 8, "a layer state is 8 bytes");

// The extension record: handles the caller owns once they are handed out.
struct API_AttributeDefExt {
    API_DashItems** ltype_dashItems = nullptr;
    API_LineItems** ltype_lineItems = nullptr;
    API_FillLine** fill_lineItems = nullptr;
    double** fill_lineLength = nullptr;
    API_CWallComponent** cwall_compItems = nullptr;
    API_CWallLineComponent** cwall_compLItems = nullptr;
    API_LayerStat** layer_statItems = nullptr;
    API_AddParType** params = nullptr;
};

// An add-on's data attached to an attribute.
struct API_AttributeUserData {
    short dataVersion = 0;
    UInt16 platformSign = 0;
    GSHandle dataHdl = nullptr;
};

// Finds the attribute of the header's type and exact name: sets the header's index.
// APIERR_BADNAME when there is none.
GSErrCode ACAPI_Attribute_Search(API_Attr_Head* head);
// The size of a type's table, deleted indexes included.
GSErrCode ACAPI_Attribute_GetNum(API_AttrTypeID typeID, API_AttributeIndex* count);
// The record of the header's type and index: APIERR_BADINDEX outside the table, APIERR_DELETED
// for a deleted one.
GSErrCode ACAPI_Attribute_Get(API_Attribute* attribute);
// New handles of the attribute's extra data, those it has (the caller disposes them).
GSErrCode ACAPI_Attribute_GetDefExt(API_AttrTypeID typeID, API_AttributeIndex index,
                                    API_AttributeDefExt* defs);
// Adds the attribute at the next index and writes that index (and a new GUID) into its header.
// The name must be new within the type (APIERR_NAMEALREADYUSED) and not empty (APIERR_BADNAME).
GSErrCode ACAPI_Attribute_CreateExt(API_Attribute* attribute, API_AttributeDefExt* defs);
// Replaces the attribute at the header's index; its extra data too when defs is given.
GSErrCode ACAPI_Attribute_ModifyExt(API_Attribute* attribute, API_AttributeDefExt* defs);
GSErrCode ACAPI_Attribute_Delete(const API_Attr_Head* head);
// Deletes the indexes of the header's type, all or none: an index that cannot be deleted fails
// the call before anything is deleted.
GSErrCode ACAPI_Attribute_DeleteMore(const API_Attr_Head* head, const API_AttributeIndex* indexes,
                                     Int32 count);
// A new handle of the add-on's data on the attribute: APIERR_NOUSERDATA when there is none.
GSErrCode ACAPI_Attribute_GetUserData(const API_Attr_Head* head, API_AttributeUserData* userData);
GSErrCode ACAPI_Attribute_SetUserData(const API_Attr_Head* head, const API_AttributeUserData* userData);
// Disposes every handle of the extension record and sets them to null.
GSErrCode ACAPI_DisposeAttrDefsHdlsExt(API_AttributeDefExt* defs);
