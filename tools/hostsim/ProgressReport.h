// The report's "progress windows:" section: each progress window the add-on opened, its phases
// with the count each announced and how far it went, and where the user cancelled.
#pragma once

#include <ostream>

namespace hostsim {

void writeProgress(std::ostream& report);

} // namespace hostsim
