// What the add-on wrote to the simulated host: the report window, the debug console and the undo
// steps of its undoable commands.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <string>
#include <vector>

namespace sim {

struct UndoStep {
    std::string name;
    // The command's answer, or the error injected into ACAPI_CallUndoableCommand or the refusal
    // of a call made while another command ran (the command then does not run). The host keeps
    // only the steps that answered NoError.
    GSErrCode result = NoError;
    // The command let an exception out into the host: the step was dropped.
    bool unwound = false;
    // The user undid the step: its element changes were reverted.
    bool undone = false;
};

const std::string& reportText();
const std::string& consoleText();
const std::vector<UndoStep>& undoSteps();
// Whether an undoable command is running now.
bool isUndoableCommandRunning();

// When required (as the host program requires it; off after a reset), elements are created,
// changed and deleted only inside an undoable command: elsewhere those calls answer
// APIERR_NEEDSUNDOSCOPE. Tool defaults, the selection and module data stay changeable.
void requireUndoScope(bool required);
bool isUndoScopeRequired();
// Undoes the last undoable command when it was kept and not undone yet: its element changes are
// reverted and its step marked undone. The host keeps what it needs to undo one command. False
// when there is nothing to undo.
bool undoLastCommand();

} // namespace sim
