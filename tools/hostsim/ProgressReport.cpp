#include "ProgressReport.h"

#include "ACAPI/ProgressWindow.hpp"
#include "sim/Dialogs.h"

#include <string>

namespace hostsim {
namespace {

const char* const indent = "  ";

} // namespace

void writeProgress(std::ostream& report) {
    report << "progress windows:\n";
    bool inPhase = false;
    Int32 value = 0;
    bool cancelled = false;
    auto endPhase = [&] {
        if (inPhase) {
            report << ", reached " << value << "\n";
        }
        inPhase = false;
    };
    for (const sim::ProgressRequest& request : sim::progressRequests()) {
        if (request.answer != NoError && request.answer != APIERR_CANCEL) {
            continue; // refused: the window was not open, or the request was malformed
        }
        if (request.code == APIIo_InitProcessWindowID) {
            endPhase();
            report << indent << "\"" << request.text << "\", " << request.value << " phases\n";
            cancelled = false;
        } else if (request.code == APIIo_SetNextProcessPhaseID) {
            endPhase();
            report << indent << indent << "\"" << request.text << "\" of " << request.value;
            inPhase = true;
            value = 0;
        } else if (request.code == APIIo_SetProcessValueID) {
            value = request.value;
        } else if (request.code == APIIo_IncProcessValueID) {
            value += request.value;
        } else if (request.code == APIIo_IsProcessCanceledID && request.answer == APIERR_CANCEL &&
                   !cancelled) {
            endPhase();
            report << indent << indent << "cancelled at query " << request.value << "\n";
            cancelled = true;
        } else if (request.code == APIIo_CloseProcessWindowID) {
            endPhase();
            report << indent << "closed\n";
        }
    }
    endPhase();
}

} // namespace hostsim
