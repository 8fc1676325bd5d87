// How the parts of the simulated host answer ACAPI_Database: each registers a handler for its
// request codes (at static initialisation, like sim::registerReset).
#pragma once

#include "sim/RequestTable.h"

namespace sim {

bool registerDatabaseRequest(GSType code, RequestTable::Handler handler);

} // namespace sim
