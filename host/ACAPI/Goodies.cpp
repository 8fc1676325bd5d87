#include "ACAPI/Goodies.hpp"

#include "sim/Goodies.h"
#include "sim/Sim.h"

#include <map>

namespace {

std::map<API_GoodiesID, sim::GoodiesHandler>& handlers() {
    static auto* table = new std::map<API_GoodiesID, sim::GoodiesHandler>;
    return *table;
}

} // namespace

bool sim::registerGoodies(API_GoodiesID code, GoodiesHandler handler) {
    handlers()[code] = handler;
    return true;
}

GSErrCode ACAPI_Goodies(API_GoodiesID code, void* par1, void* par2, void* par3, void* par4) {
    if (GSErrCode err = sim::enter("ACAPI_Goodies", code); err != NoError) {
        return err;
    }
    auto it = handlers().find(code);
    if (it == handlers().end()) {
        return APIERR_BADID;
    }
    return it->second(par1, par2, par3, par4);
}
