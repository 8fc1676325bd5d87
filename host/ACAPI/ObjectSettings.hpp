// The host's settings dialog of a placed object or lamp.
#pragma once

#include "ACAPI/Elements.hpp"
#include "ACAPI/Interface.hpp"

// ACAPI_Interface(APIIo_ObjectSettingsID, API_Element* element, API_ElementMemo* memo, const
// API_Element* mask): shows the settings of the record (type 6 or 7) with the memo's parameters;
// on OK the record and the memo's parameters are the user's, on Cancel APIERR_CANCEL and both
// stay as they were. APIERR_BADPARS for a record of another type.
constexpr GSType APIIo_ObjectSettingsID = MakeGSType("OBJS");
