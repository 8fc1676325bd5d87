// What a wall is joined to and the outline the host draws for it.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/Elements.hpp"

// A wall joined to another: the other wall and whether it meets with its start.
struct API_ConnectionGuidItem {
    API_Guid guid;
    bool conWithBeg = false;
};

// The walls joined to a wall, in five lists of connection items (each a handle of n entries), and
// the wall's outline as a packed polygon (coordinate 0 is a placeholder, as in a memo).
struct API_WallRelation {
    Int32 nConBeg = 0;   // walls meeting this wall's start
    Int32 nConEnd = 0;   // walls meeting this wall's end
    Int32 nConRef = 0;   // walls whose body this wall meets with an end
    Int32 nConOther = 0; // walls meeting this wall's body with an end
    Int32 nConCross = 0; // walls crossing this wall
    API_ConnectionGuidItem** conBeg = nullptr;
    API_ConnectionGuidItem** conEnd = nullptr;
    API_ConnectionGuidItem** conRef = nullptr;
    API_ConnectionGuidItem** conOther = nullptr;
    API_ConnectionGuidItem** conCross = nullptr;
    API_Polygon wallPolygon;
    API_Coord** coords = nullptr;
    Int32** pends = nullptr;
    API_PolyArc** parcs = nullptr;
};

// Fills the record of the element's relations to elements of otherID; only wall-to-wall relations
// (element and otherID both walls) are kept, others answer APIERR_BADPARS. The handles are new;
// the caller disposes them with ACAPI_DisposeWallRelationHdls. APIERR_BADID for an unknown wall.
GSErrCode ACAPI_Element_GetRelations(const API_Guid& guid, API_ElemTypeID otherID, void* relData);
// Disposes the record's handles and sets them to null.
GSErrCode ACAPI_DisposeWallRelationHdls(API_WallRelation* relData);
