// How the parts of the simulated host answer ACAPI_Interface: each registers a handler for its
// request codes (at static initialisation, like sim::registerReset).
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace sim {

using InterfaceHandler = GSErrCode (*)(void* par1, void* par2, void* par3);
bool registerInterfaceRequest(GSType code, InterfaceHandler handler);

} // namespace sim
