// The state of the add-on's menu items: flags (disabled, checked) and texts.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "ACAPI/Interface.hpp"

constexpr GSFlags API_MenuItemDisabled = 0x01;
constexpr GSFlags API_MenuItemChecked = 0x02;

// ACAPI_Interface(APIIo_GetMenuItemFlagsID, API_MenuItemRef*, GSFlags*).
constexpr GSType APIIo_GetMenuItemFlagsID = MakeGSType("GMIF");
// ACAPI_Interface(APIIo_SetMenuItemFlagsID, API_MenuItemRef*, GSFlags*).
constexpr GSType APIIo_SetMenuItemFlagsID = MakeGSType("SMIF");
// ACAPI_Interface(APIIo_SetMenuItemTextID, API_MenuItemRef*, nullptr, const char* text) (UTF-8).
constexpr GSType APIIo_SetMenuItemTextID = MakeGSType("SMIT");
// Every request answers APIERR_BADPARS for a menu the calling add-on did not register, or an item
// index below 1.
