#include "ACAPI/Database.hpp"

#include "sim/Database.h"

namespace {

sim::RequestTable& requests() {
    static auto* instance = new sim::RequestTable("ACAPI_Database");
    return *instance;
}

} // namespace

namespace sim {

bool registerDatabaseRequest(GSType code, RequestTable::Handler handler) {
    requests().add(code, handler);
    return true;
}

} // namespace sim

GSErrCode ACAPI_Database(GSType code, void* par1, void* par2, void* par3) {
    return requests().dispatch(code, par1, par2, par3);
}
