// The simulated host's parameter-script sessions ('OPAR', 'CHGP', 'GPAR', 'CPAR').
#pragma once

#include "sim/Library.h"

#include <functional>
#include <vector>

namespace sim {

// What the part's parameter script does when the parameters are fetched ('GPAR'): it may change
// the parameters and the two sizes. None after a reset.
using ParameterScript = std::function<void(std::vector<LibParameter>& parameters, double& a, double& b)>;
void setParameterScript(ParameterScript script);

// Whether a session is open, and how many were opened while another was still open.
bool isParameterSessionOpen();
int parameterSessionsLeftOpen();
// The cells changed in the open (or last) session, as "name[row,column]=value" texts.
const std::vector<std::string>& parameterChanges();

} // namespace sim
