// Elements of the simulated host as element notifications hand them to an add-on.
#pragma once

#include "ACAPI/Elements.hpp"

#include <vector>

namespace sim {

// The parent element of the notification being sent, with the add-on's user data on it (empty:
// none); an element of another team member is answered with APIERR_NOTMINE. Cleared by reset:
// no notification is being sent.
void setNotifiedParent(const API_Element& element, const std::vector<char>& userData = {},
                       short userDataVersion = 0, UInt16 platformSign = 0, bool othersElement = false);
void clearNotifiedParent();

} // namespace sim
