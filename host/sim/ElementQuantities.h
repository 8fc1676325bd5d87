// The simulated host's element quantities: what ACAPI_Element_GetQuantities measures.
#pragma once

#include "ACAPI/ElementQuantities.hpp"

#include <vector>

namespace sim {

// The element's quantities and composite skins (none for an element never set).
void setQuantities(const GS::Guid& guid, const API_ElementQuantity& element,
                   const std::vector<API_CompositeQuantity>& skins = {});
// The parameters and mask of the last measurement.
API_QuantityPar lastQuantityParameters();
API_QuantitiesMask lastQuantityMask();

} // namespace sim
