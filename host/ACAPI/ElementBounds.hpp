// The 3D extent of an element, as the host measures it from the element's model.
#pragma once

#include "ACAPI/APIGeometry.hpp"
#include "ACAPI/Database.hpp"
#include "ACAPI/Elements.hpp"

// ACAPI_Database(APIDb_CalcBoundsID, const API_Elem_Head*, API_Box3D*): the box of the element's
// 3D body, in single precision; APIERR_BADID for an unknown element, APIERR_GENERAL for one
// without a body.
constexpr GSType APIDb_CalcBoundsID = MakeGSType("CABO");
