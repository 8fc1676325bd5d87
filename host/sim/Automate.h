// How the parts of the simulated host answer ACAPI_Automate requests beyond opening and saving:
// each registers a handler for its request codes (at static initialisation).
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace sim {

using AutomateHandler = GSErrCode (*)(void* par1, void* par2, void* par3);
bool registerAutomateRequest(GSType code, AutomateHandler handler);

} // namespace sim
