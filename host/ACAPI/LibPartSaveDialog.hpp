// ACAPI_Interface(APIIo_SaveLibPartFileDialogID, option, location, confirmed): the host's dialog
// that asks where to save a library part.
//   option    (bool const*): the host's dialog option, recorded; may be null (false).
//   location  (IO::Location*): where the dialog opens; receives the chosen place. Required.
//   confirmed (bool*): set to whether the user confirmed. Required.
// A cancelled dialog is no error: *confirmed is false and *location unchanged.
#pragma once

#include "GSRoot/GSRoot.hpp"

constexpr GSType APIIo_SaveLibPartFileDialogID = MakeGSType("SLPD");
