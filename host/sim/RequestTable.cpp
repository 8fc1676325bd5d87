#include "sim/RequestTable.h"

#include "ACAPI/ErrorCodes.hpp"
#include "sim/Sim.h"

#include <string_view>

namespace sim {

GSErrCode RequestTable::dispatch(GSType code, void* par1, void* par2, void* par3) const {
    if (GSErrCode err = enter(m_function, code); err != NoError) {
        return err;
    }
    // "function:CODE", made without allocating, when some fault is pending.
    if (faultsPending()) {
        char name[96];
        std::size_t length = m_function.copy(name, sizeof name - 5);
        name[length++] = ':';
        for (int shift = 24; shift >= 0; shift -= 8) {
            name[length++] = char(code >> shift);
        }
        if (GSErrCode err = injectedError(std::string_view(name, length)); err != NoError) {
            return err;
        }
    }
    auto it = m_handlers.find(code);
    if (it == m_handlers.end()) {
        return APIERR_BADID;
    }
    return it->second(par1, par2, par3);
}

} // namespace sim
