#include "ACAPI/Interface.hpp"

#include "sim/Interface.h"
#include "sim/RequestTable.h"

namespace {

sim::RequestTable& requests() {
    static auto* instance = new sim::RequestTable("ACAPI_Interface");
    return *instance;
}

} // namespace

namespace sim {

bool registerInterfaceRequest(GSType code, InterfaceHandler handler) {
    requests().add(code, handler);
    return true;
}

} // namespace sim

GSErrCode ACAPI_Interface(GSType code, void* par1, void* par2, void* par3) {
    return requests().dispatch(code, par1, par2, par3);
}
