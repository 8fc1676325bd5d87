// The simulated host's open project, its team and the host application's language.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Guid.hpp"

#include <string>
#include <vector>

namespace sim {

struct TeamMember {
    std::string loginName;
    std::string fullName;
    short userId = 0;
    bool connected = true;
};

// No project is open after sim::reset(). Opening makes the project current without notifying
// anybody (the driver of sim/AddOns.h sends notifications); an empty path is an untitled project.
void openProject(const std::string& path = "");
void closeProject();
void setProjectOpen(bool open);
bool isProjectOpen();
// The project file's path, empty for an untitled project.
std::string projectPath();

// A team-work project: the current user's member ID and the team. `connected` tells whether the
// project is connected to its server.
void setTeamwork(bool shared, short userId = 0, const std::vector<TeamMember>& team = {},
                 bool connected = true);

// Whether the open project is shared, and the current member's ID (0 when not shared).
bool isTeamwork();
short currentUserId();

// The host application's language code ("INT" after a reset).
void setLanguage(const std::string& code);

// The renovation filter of the active view (the null GUID after a reset).
void setActiveRenovationFilter(const GS::Guid& filter);

// How often projects were saved with ACAPI_Automate, since the reset.
int saveCount();

} // namespace sim
