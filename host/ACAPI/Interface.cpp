#include "ACAPI/Interface.hpp"

#include "sim/Interface.h"
#include "sim/Sim.h"

#include <map>

namespace {

std::map<GSType, sim::InterfaceHandler>& handlers() {
    static auto* instance = new std::map<GSType, sim::InterfaceHandler>;
    return *instance;
}

} // namespace

namespace sim {

bool registerInterfaceRequest(GSType code, InterfaceHandler handler) {
    handlers()[code] = handler;
    return true;
}

} // namespace sim

GSErrCode ACAPI_Interface(GSType code, void* par1, void* par2, void* par3) {
    if (GSErrCode err = sim::enter("ACAPI_Interface", code); err != NoError) {
        return err;
    }
    char name[] = "ACAPI_Interface:....";
    for (int i = 0; i < 4; ++i) {
        name[16 + i] = char(code >> (24 - 8 * i));
    }
    if (GSErrCode err = sim::injectedError(name); err != NoError) {
        return err;
    }
    auto it = handlers().find(code);
    if (it == handlers().end()) {
        return APIERR_BADID;
    }
    return it->second(par1, par2, par3);
}
