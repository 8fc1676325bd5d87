#include "ACAPI/Environment.hpp"

#include "sim/Environment.h"
#include "sim/RequestTable.h"

namespace {

sim::RequestTable& requests() {
    static auto* instance = new sim::RequestTable("ACAPI_Environment");
    return *instance;
}

} // namespace

namespace sim {

bool registerEnvironmentRequest(GSType code, EnvironmentHandler handler) {
    requests().add(code, handler);
    return true;
}

} // namespace sim

GSErrCode ACAPI_Environment(GSType code, void* par1, void* par2, void* par3) {
    return requests().dispatch(code, par1, par2, par3);
}
