#include "ProgressReport.h"

#include "HostProgram.h"

#include "sim/Dialogs.h"

#include <string>

namespace hostsim {
namespace {

const char* const indent = "  ";

} // namespace

void writeProgress(std::ostream& report) {
    report << "progress windows:\n";
    for (const sim::ProgressEvent& event : sim::progressEvents()) {
        switch (event.kind) {
        case sim::ProgressEvent::opened:
            report << indent << escaped(event.text) << ", " << event.value << " phases\n";
            break;
        case sim::ProgressEvent::phase:
            report << indent << indent << escaped(event.text) << " of " << event.value << ", reached "
                   << event.reached << "\n";
            break;
        case sim::ProgressEvent::cancelled:
            report << indent << indent << "cancelled at query " << event.value << "\n";
            break;
        case sim::ProgressEvent::closed:
            report << indent << "closed\n";
            break;
        }
    }
}

} // namespace hostsim
