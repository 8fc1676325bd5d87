// A host function that serves many requests, each named by a four-character code, through
// handlers that the host's modules register (ACAPI_Environment, ACAPI_Interface).
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <map>
#include <string>

namespace sim {

class RequestTable {
public:
    using Handler = GSErrCode (*)(void* par1, void* par2, void* par3);

    explicit RequestTable(std::string function) : m_function(std::move(function)) {}

    void add(GSType code, Handler handler) { m_handlers[code] = handler; }

    // Logs the call as the function with the code and answers an error injected for the function
    // or for "function:CODE"; an unknown code answers APIERR_BADID.
    GSErrCode dispatch(GSType code, void* par1, void* par2, void* par3) const;

private:
    std::string m_function;
    std::map<GSType, Handler> m_handlers;
};

} // namespace sim
