// Requests about single elements served through the host's request functions.
#pragma once

#include "ACAPI/Database.hpp"
#include "ACAPI/Elements.hpp"
#include "ACAPI/Goodies.hpp"
#include "ACAPI/Interface.hpp"
#include "GSRoot/Array.hpp"

namespace GS {
class UniString;
}

// ACAPI_Database(APIDb_GetElementInfoStringID, const API_Guid*, GS::UniString*): the element's
// own listing ID; APIDb_GetCompoundInfoStringID the master prefix followed by it.
constexpr GSType APIDb_GetElementInfoStringID = MakeGSType("GEIS");
constexpr GSType APIDb_GetCompoundInfoStringID = MakeGSType("GCIS");
// ACAPI_Database(APIDb_GetElementFromAnywhereID, API_Element*): the element of header.guid, in
// whichever database it lives.
constexpr GSType APIDb_GetElementFromAnywhereID = MakeGSType("GEFA");
// ACAPI_Database(APIDb_DrawElementID, const API_Elem_Head*): draws the element in its window.
constexpr GSType APIDb_DrawElementID = MakeGSType("DRWE");
// ACAPI_Goodies(APIAny_RunGDLParScriptID, const API_Elem_Head*): runs the parameter script of a
// library-part element (window, door, object, lamp); APIERR_BADID for other elements.
constexpr GSType APIAny_RunGDLParScriptID = MakeGSType("RPAS");
// ACAPI_Goodies(APIAny_NeigIDToElemTypeID, const Int32* neigID, API_ElemTypeID*): the element type
// of a selection-record kind; APIERR_BADPARS for an unknown kind.
constexpr GSType APIAny_NeigIDToElemTypeID = MakeGSType("NTOE");

// A highlight colour, components from 0 to 1.
struct API_RGBAColor {
    double f_red = 0.0;
    double f_green = 0.0;
    double f_blue = 0.0;
    double f_alpha = 1.0;
};

struct API_ElemHighlight {
    API_Guid guid;
    API_RGBAColor colour;
};

// ACAPI_Interface(APIIo_HighlightElementsID, const GS::Array<API_ElemHighlight>* table, const bool*
// wireframe): highlights the elements of the table, replacing earlier highlights; a null table
// clears them.
constexpr GSType APIIo_HighlightElementsID = MakeGSType("HGEL");
