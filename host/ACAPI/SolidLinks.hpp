// Solid-element operations: an operator element cuts, intersects or adds to a target element.
#pragma once

#include "ACAPI/Elements.hpp"
#include "GSRoot/Array.hpp"

using API_SolidOperationID = Int32;
constexpr API_SolidOperationID APISolid_Substraction = 1;
constexpr API_SolidOperationID APISolid_SubstractionUpwards = 2;
constexpr API_SolidOperationID APISolid_SubstractionDownwards = 3;
constexpr API_SolidOperationID APISolid_Intersection = 4;
constexpr API_SolidOperationID APISolid_Addition = 5;

// Links the operator to the target (replacing an earlier link between the two). APIERR_BADPARS
// for an unknown operation or an element operating on itself, APIERR_BADID for unknown elements.
GSErrCode ACAPI_Element_SolidLink_Create(const API_Guid& target, const API_Guid& op,
                                         API_SolidOperationID operation, GSFlags flags);
// APIERR_BADID when there is no such link.
GSErrCode ACAPI_Element_SolidLink_Remove(const API_Guid& target, const API_Guid& op);
// The target's operators in the order they were linked (into a new array the caller deletes).
GSErrCode ACAPI_Element_SolidLink_GetOperators(const API_Guid& target, GS::Array<API_Guid>** operators);
// The targets the element operates on (into a new array the caller deletes).
GSErrCode ACAPI_Element_SolidLink_GetTargets(const API_Guid& op, GS::Array<API_Guid>** targets);
GSErrCode ACAPI_Element_SolidLink_GetOperation(const API_Guid& target, const API_Guid& op,
                                               API_SolidOperationID* operation);
GSErrCode ACAPI_Element_SolidLink_GetFlags(const API_Guid& target, const API_Guid& op, GSFlags* flags);
