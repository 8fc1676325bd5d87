// The project's drawing databases: which one is current, the lists of each kind, making,
// deleting and renaming them, their view (zoom, scale, extent) and the sheet record of layouts.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/Automate.hpp"
#include "ACAPI/Database.hpp"
#include "ACAPI/Elements.hpp"
#include "ACAPI/Environment.hpp"

#include <map>
#include <string>

// A database: its window type and ID (null for the floor plan and the 3D model), its master
// layout (layouts only), and its texts, each at most 255 units and a 0 unit.
struct API_DatabaseInfo {
    API_WindowTypeID typeID = 0;
    API_Guid databaseUnId;
    API_Guid masterLayoutUnId;
    unsigned short name[256] = {};
    unsigned short ref[256] = {};
    unsigned short title[256] = {};
};

// A window: its type and database ID.
struct API_WindowInfo {
    API_WindowTypeID typeID = 0;
    API_Guid databaseUnId;
};

// ACAPI_Database(APIDb_GetCurrentDatabaseID, API_DatabaseInfo*): the current database's type and ID.
constexpr GSType APIDb_GetCurrentDatabaseID = MakeGSType("GDAT");
// ACAPI_Database(APIDb_ChangeCurrentDatabaseID, API_DatabaseInfo*): makes the database of the type
// and ID current; APIERR_BADID when there is none.
constexpr GSType APIDb_ChangeCurrentDatabaseID = MakeGSType("CDAT");
// ACAPI_Database(APIDb_GetCurrentWindowID, API_WindowInfo*): the front window.
constexpr GSType APIDb_GetCurrentWindowID = MakeGSType("GWIN");
// ACAPI_Automate(APIDo_ChangeWindowID, API_WindowInfo*): brings the window of the database to the
// front and makes its database current.
constexpr GSType APIDo_ChangeWindowID = MakeGSType("CHWD");

// ACAPI_Database(code, API_Guid** handle): a new handle of the database IDs of one kind (the caller
// frees it; null when there are none).
constexpr GSType APIDb_GetSectionDatabasesID = MakeGSType("GSDI");
constexpr GSType APIDb_GetDetailDatabasesID = MakeGSType("GDDI");
constexpr GSType APIDb_GetElevationDatabasesID = MakeGSType("GEDI");
constexpr GSType APIDb_GetInteriorElevationDatabasesID = MakeGSType("GIED");
constexpr GSType APIDb_GetLayoutDatabasesID = MakeGSType("GLDI");
constexpr GSType APIDb_GetMasterLayoutDatabasesID = MakeGSType("GMDI");
constexpr GSType APIDb_GetWorksheetDatabasesID = MakeGSType("GWDI");
constexpr GSType APIDb_GetDocumentFrom3DDatabasesID = MakeGSType("GD3D");

// ACAPI_Database(APIDb_NewDatabaseID, API_DatabaseInfo*): a new layout or worksheet from the
// type, name, reference and master layout; its ID is written back.
constexpr GSType APIDb_NewDatabaseID = MakeGSType("NDAT");
// ACAPI_Database(APIDb_DeleteDatabaseID, API_DatabaseInfo*): deletes the database of type and ID.
constexpr GSType APIDb_DeleteDatabaseID = MakeGSType("DDAT");
// ACAPI_Database(APIDb_GetDatabaseInfoID, API_DatabaseInfo*): the texts and master of the
// database of type and ID.
constexpr GSType APIDb_GetDatabaseInfoID = MakeGSType("GDBI");
// ACAPI_Database(APIDb_ModifyDatabaseID, API_DatabaseInfo*): writes name, reference and master.
constexpr GSType APIDb_ModifyDatabaseID = MakeGSType("MDAT");

// Of the current database: ACAPI_Database(APIDb_GetZoomID, API_Box*) the visible region,
// (APIDb_GetExtentID, API_Box*) the region of its elements, (APIDb_GetDrawingScaleID, double*)
// its scale, (APIDb_ChangeDrawingScaleID, double*, bool*) a new scale, (APIDb_PixelToCoordID,
// Int32* pixel, API_Coord*) the model point of a pixel (x in the low 16 bits, y in the high),
// (APIDb_RedrawCurrentDatabaseID) and (APIDb_RebuildCurrentDatabaseID).
constexpr GSType APIDb_GetZoomID = MakeGSType("GZOM");
constexpr GSType APIDb_GetExtentID = MakeGSType("GEX2");
constexpr GSType APIDb_GetDrawingScaleID = MakeGSType("GSCL");
constexpr GSType APIDb_ChangeDrawingScaleID = MakeGSType("CDRS");
constexpr GSType APIDb_PixelToCoordID = MakeGSType("PTOC");
constexpr GSType APIDb_RedrawCurrentDatabaseID = MakeGSType("DRDB");
constexpr GSType APIDb_RebuildCurrentDatabaseID = MakeGSType("RBDB");
// ACAPI_Automate(APIDo_ZoomID, API_Box* or null): zooms the current window to the box, or to fit.
constexpr GSType APIDo_ZoomID = MakeGSType("ZOOM");
// ACAPI_Automate(APIDo_ZoomToSelectedID): zooms to the selected elements.
constexpr GSType APIDo_ZoomToSelectedID = MakeGSType("DOOM");
// ACAPI_Automate(APIDo_RebuildID, bool* regenerate): rebuilds the current window.
constexpr GSType APIDo_RebuildID = MakeGSType("RBLD");

// The free-form data of a layout: made by the host with the record; freed with it by its holder.
struct API_LayoutCustomData {
    std::map<std::string, std::string> values;
};

// A layout's sheet: paper, margins (left, top, right, bottom), its number and revisions.
struct API_LayoutInfo {
    double sizeX = 0.0;
    double sizeY = 0.0;
    double leftMargin = 0.0;
    double topMargin = 0.0;
    double rightMargin = 0.0;
    double bottomMargin = 0.0;
    char customLayoutNumber[256] = {};
    Int32 customLayoutNumbering = 0;
    Int32 doNotIncludeInNumbering = 0;
    Int32 showMasterBelow = 0;
    unsigned short currentRevisionId[256] = {};
    unsigned short currentFinalRevisionId[256] = {};
    API_LayoutCustomData* customData = nullptr;
    bool hasIssuedRevision = false;
    bool hasActualRevision = false;
};

// ACAPI_Environment(APIEnv_GetLayoutSetsID, API_LayoutInfo*, const API_Guid* database): the sheet
// of a layout (or master layout); a new customData the caller deletes.
constexpr GSType APIEnv_GetLayoutSetsID = MakeGSType("GLAY");
// ACAPI_Environment(APIEnv_ChangeLayoutSetsID, const API_LayoutInfo*, const API_Guid* database).
constexpr GSType APIEnv_ChangeLayoutSetsID = MakeGSType("CLAY");
