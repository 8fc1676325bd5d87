// Components of the 3D model read one by one; kind 7 is a surface material by attribute index.
#pragma once

#include "ACAPI/Attributes.hpp"

constexpr Int32 API_UmatID = 7;

struct API_Component3D {
    Int32 typeID = 0;
    Int32 index = 0;
    API_MaterialType material;
};

// Fills the component of the record's kind and index; APIERR_BADINDEX when there is none.
GSErrCode ACAPI_3D_GetComponent(API_Component3D* component);
