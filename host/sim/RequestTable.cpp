#include "sim/RequestTable.h"

#include "ACAPI/ErrorCodes.hpp"
#include "sim/Sim.h"

namespace sim {

GSErrCode RequestTable::dispatch(GSType code, void* par1, void* par2, void* par3) const {
    if (GSErrCode err = enter(m_function, code); err != NoError) {
        return err;
    }
    std::string name = m_function + ':';
    for (int shift = 24; shift >= 0; shift -= 8) {
        name += char(code >> shift);
    }
    if (GSErrCode err = injectedError(name); err != NoError) {
        return err;
    }
    auto it = m_handlers.find(code);
    if (it == m_handlers.end()) {
        return APIERR_BADID;
    }
    return it->second(par1, par2, par3);
}

} // namespace sim
