// The host's report window and undoable commands.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"

#include <functional>

// Writes printf-formatted text to the report window; with `withDial` the window is shown.
GSErrCode ACAPI_WriteReport(const char* format, bool withDial, ...);

// Runs `command` as one undoable step named `undoString`. Answers the command's error; a step
// whose command fails is not kept.
GSErrCode ACAPI_CallUndoableCommand(const char* undoString, const std::function<GSErrCode()>& command);
