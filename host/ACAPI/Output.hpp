// The host's report window and undoable commands.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GSRoot/UniString.hpp"

#include <functional>

// Writes printf-formatted text to the report window; a non-zero `withDial` shows the window. (An
// int, not a bool, so that the variable arguments start after a promoted type.)
GSErrCode ACAPI_WriteReport(const char* format, Int32 withDial, ...);

// Runs `command` as one undoable step named `undoString`. Answers the command's error; a step
// whose command fails (or throws) is not kept, and the elements it created, changed or deleted
// are put back as they were. A call made while a command runs is refused with
// APIERR_REFUSEDCMD and runs nothing.
GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString,
                                    const std::function<GSErrCode()>& command);
