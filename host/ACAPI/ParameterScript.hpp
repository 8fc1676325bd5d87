// Running a library part's parameter script over changed values: a session opened on an element,
// a tool's default element or a part, cells changed one at a time, the resulting parameters read,
// then closed. Goodies requests (ACAPI_Goodies).
#pragma once

#include "ACAPI/Elements.hpp"
#include "ACAPI/LibraryParts.hpp"

// Whose parameters a session works on: an element by GUID, else the default element of a tool
// (type and variation), else a library part by index.
struct API_ParamOwnerType {
    Int32 libInd;
    API_ElemTypeID typeID;
    API_ElemVariationID variationID;
    API_Guid guid;
};

// One cell to change: the parameter by name (or index when the name is empty); for an array, the
// cell by its 1-based row and column. A text value goes through uStrValue, any other through
// realValue.
struct API_ChangeParamType {
    char name[32];
    Int32 index;
    Int32 ind1;
    Int32 ind2;
    GS::UniChar* uStrValue;
    double realValue;
};

// The parameters after the script ran: a new handle of records (freed with
// ACAPI_DisposeAddParHdl) and the part's two sizes.
struct API_GetParamsType {
    double a;
    double b;
    API_AddParType** params;
};

// par1: const API_ParamOwnerType* — opens the session; one at a time.
constexpr GSType APIAny_OpenParametersID = MakeGSType("OPAR");
// par1: const API_ChangeParamType* — changes one cell and runs the parameter script.
constexpr GSType APIAny_ChangeAParameterID = MakeGSType("CHGP");
// par1: API_GetParamsType* — the parameters as they stand.
constexpr GSType APIAny_GetActParametersID = MakeGSType("GPAR");
// Closes the session.
constexpr GSType APIAny_CloseParametersID = MakeGSType("CPAR");
