// What the simulated host's element requests did, and what they read.
#pragma once

#include "ACAPI/ElementRequests.hpp"

#include <string>
#include <vector>

namespace sim {

// The element type that a selection-record kind selects (0 for none).
API_ElemTypeID elementTypeOfNeig(Int32 neigID);
// Both listing strings of an element; false when there is no such element.
bool elementInfoStrings(const GS::Guid& guid, std::string& element, std::string& compound);
// Replaces the element's own listing string (a memo brings it); nothing for an unknown element.
void setElementInfoString(const GS::Guid& guid, const std::string& element);

// The elements drawn with 'DRWE', whose parameter script ran ('RPAS'), and highlighted ('HGEL').
std::vector<GS::Guid> drawnElements();
std::vector<GS::Guid> parameterScriptsRun();
std::vector<API_ElemHighlight> highlights();

} // namespace sim
