// The simulated host's IFC data per element: what is stored on the element and what the host
// derives for it (given by tests).
#pragma once

#include "ACAPI/IFC.hpp"

#include <vector>

namespace sim {

struct IFCItems {
    std::vector<API_IFCProperty> properties;
    std::vector<API_IFCAttribute> attributes;
    std::vector<API_IFCClassificationReference> references;
};

void setStoredIFC(const GS::Guid& guid, const IFCItems& items);
void setDerivedIFC(const GS::Guid& guid, const IFCItems& items);
IFCItems storedIFC(const GS::Guid& guid);

} // namespace sim
