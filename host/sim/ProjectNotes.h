// The simulated host's project notes, place and current layer combination.
#pragma once

#include "ACAPI/ProjectNotes.hpp"

#include <optional>
#include <string>

namespace sim {

struct ProjectNotes {
    std::string projectName;
    std::string city;
    std::string postcode;
    std::string architect;
};

// Empty notes, no place and no current layer combination after a reset.
void setProjectNotes(const ProjectNotes& notes);
void setPlace(const std::optional<API_PlaceInfo>& place);
std::optional<API_PlaceInfo> place();
void setCurrentLayerCombination(short index);

} // namespace sim
