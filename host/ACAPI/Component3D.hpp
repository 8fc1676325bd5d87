// Components of the 3D model read one by one: bodies of elements with their polygons, polygon
// edges, edges, vertices and normal vectors (polygons, edges, vertices and vectors numbered from 1
// within the body read last), and surface materials by attribute index.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/Attributes.hpp"
#include "ACAPI/Elements.hpp"

// The bodies of an element: global indexes from fbody to lbody (none when lbody < fbody).
struct API_ElemInfo3D {
    Int32 fbody = 0;
    Int32 lbody = -1;
};

using API_3DTypeID = Int32;
constexpr API_3DTypeID API_BodyID = 1;
constexpr API_3DTypeID API_PgonID = 2;
constexpr API_3DTypeID API_PedgID = 3;
constexpr API_3DTypeID API_EdgeID = 4;
constexpr API_3DTypeID API_VertID = 5;
constexpr API_3DTypeID API_VectID = 6;
constexpr API_3DTypeID API_UmatID = 7;

// A body: status (1 closed solid, 2 curved), pen and material; its counts; the transformation of
// its vertices; its box in single precision (one corner, then the opposite one).
struct API_BodyType {
    Int32 status = 0;
    short iPen = 0;
    short iMaterial = 0;
    Int32 nPgon = 0;
    Int32 nEdge = 0;
    Int32 nVert = 0;
    API_Tranmat tranmat{};
    float bounds[6] = {0, 0, 0, 0, 0, 0};
};

// A polygon: its polygon edges from fpedg to lpedg, its normal (a signed vector index), status
// (1 invisible, 2 curved, 16 and 32 complex) and material.
struct API_PgonType {
    Int32 fpedg = 0;
    Int32 lpedg = 0;
    Int32 ivect = 0;
    Int32 status = 0;
    short iumat = 0;
};

// A polygon edge: a signed edge index (negative: the polygon runs along it backwards), 0 between
// the outline and a hole.
struct API_PedgType {
    Int32 pedg = 0;
};

struct API_EdgeType {
    Int32 vert1 = 0;
    Int32 vert2 = 0;
    Int32 status = 0; // 1 invisible, 2 curved
    short color = 0;
};

// One component: ask with its type and index, get the record of its type.
struct API_Component3D {
    API_3DTypeID typeID = API_BodyID;
    Int32 index = 0;
    API_BodyType body;
    API_PgonType pgon;
    API_PedgType pedg;
    API_EdgeType edge;
    API_VertType vert{};
    API_VectType vect{};
    API_MaterialType material;
};

// The element's bodies; APIERR_BADID for an unknown element, APIERR_GENERAL for one without a body.
GSErrCode ACAPI_Element_Get3DInfo(const API_Elem_Head& head, API_ElemInfo3D* info);
// The component of the record's kind and index; a body becomes the current body. APIERR_BADINDEX
// for an index outside its list.
GSErrCode ACAPI_3D_GetComponent(API_Component3D* component);
// The convex facets of a polygon of the current body: a new handle (the caller frees it) of 32-bit
// values: the facet count, then per facet its vertex count and vertex indexes.
GSErrCode ACAPI_3D_DecomposePgon(Int32 ipgon, Int32*** cpoly);
