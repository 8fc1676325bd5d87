#include "ACAPI/Output.hpp"

#include "GSRoot/GSDebug.hpp"
#include "sim/ElementTable.h"
#include "sim/Output.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

struct State {
    std::string report;
    std::string console;
    std::vector<sim::UndoStep> undo;
    bool commandRunning = false;
    bool scopeRequired = false;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); });

void appendFormatted(std::string& out, const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) {
        return;
    }
    std::vector<char> buffer(std::size_t(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    out.append(buffer.data(), std::size_t(length));
}

} // namespace

namespace sim {

const std::string& reportText() {
    return state().report;
}

const std::string& consoleText() {
    return state().console;
}

const std::vector<UndoStep>& undoSteps() {
    return state().undo;
}

bool isUndoableCommandRunning() {
    return state().commandRunning;
}

void requireUndoScope(bool required) {
    state().scopeRequired = required;
}

bool isUndoScopeRequired() {
    return state().scopeRequired;
}

bool undoLastCommand() {
    std::vector<UndoStep>& steps = state().undo;
    auto last = std::find_if(steps.rbegin(), steps.rend(),
                             [](const UndoStep& step) { return step.result == NoError && !step.unwound; });
    if (last == steps.rend() || last->undone || state().commandRunning || !revertElementJournal()) {
        return false;
    }
    last->undone = true;
    return true;
}

} // namespace sim

GSErrCode ACAPI_WriteReport(const char* format, Int32 withDial, ...) {
    if (GSErrCode err = sim::enter("ACAPI_WriteReport", withDial != 0 ? 1 : 0); err != NoError) {
        return err;
    }
    if (format == nullptr) {
        return APIERR_BADPARS;
    }
    va_list args;
    va_start(args, withDial);
    appendFormatted(state().report, format, args);
    va_end(args);
    return NoError;
}

GSErrCode ACAPI_CallUndoableCommand(const GS::UniString& undoString,
                                    const std::function<GSErrCode()>& command) {
    std::string name = undoString.ToUTF8();
    if (GSErrCode err = sim::enter("ACAPI_CallUndoableCommand"); err != NoError) {
        state().undo.push_back(sim::UndoStep{name, err});
        return err;
    }
    if (!command) {
        return APIERR_BADPARS;
    }
    if (state().commandRunning) {
        state().undo.push_back(sim::UndoStep{name, APIERR_REFUSEDCMD});
        return APIERR_REFUSEDCMD;
    }
    state().commandRunning = true;
    sim::beginElementJournal();
    GSErrCode result = NoError;
    try {
        result = command();
    } catch (...) {
        // The real host cannot pass an exception on; here it is recorded and let through, so that
        // the add-on's own test sees it.
        sim::endElementJournal(false);
        state().commandRunning = false;
        state().undo.push_back(sim::UndoStep{name, APIERR_GENERAL, true});
        throw;
    }
    sim::endElementJournal(result == NoError);
    state().commandRunning = false;
    state().undo.push_back(sim::UndoStep{name, result});
    return result;
}

void DBPrintf(const char* format, ...) {
    sim::log("DBPrintf");
    if (format == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    appendFormatted(state().console, format, args);
    va_end(args);
}
