#include "ACAPI/ProjectInfo.hpp"

#include "ACAPI/Automate.hpp"
#include "ACAPI/Database.hpp"
#include "GSRoot/Guid.hpp"
#include "sim/AddOns.h"
#include "sim/Automate.h"
#include "sim/Database.h"

#include "GSRoot/BM.hpp"
#include "IO/Location.hpp"
#include "sim/Environment.h"
#include "sim/Project.h"
#include "sim/ReadFile.h"
#include "sim/Sim.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>

namespace {

struct State {
    bool open = false;
    std::string path;
    IO::Location location; // of the path, made once: the framework asks for it on every step
    bool shared = false;
    bool connected = false;
    short userId = 0;
    std::vector<sim::TeamMember> team;
    std::string language = "INT";
    int saves = 0;
    GS::Guid renovationFilter;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

void copyText(char* buffer, std::size_t size, const std::string& text) {
    std::size_t length = std::min(size - 1, text.size());
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
}

GSErrCode projectInfo(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    if (!state().open) {
        return APIERR_NOPLAN;
    }
    auto* info = static_cast<API_ProjectInfo*>(par1);
    info->untitled = state().path.empty();
    info->teamwork = state().shared;
    info->userId = state().shared ? state().userId : 0;
    info->location = state().path.empty() ? nullptr : new (std::nothrow) IO::Location(state().location);
    return NoError;
}

GSErrCode sharingInfo(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    if (!state().open) {
        return APIERR_NOPLAN;
    }
    if (!state().shared) {
        return APIERR_GENERAL;
    }
    auto* info = static_cast<API_SharingInfo*>(par1);
    const auto& team = state().team;
    GSHandle handle = BMAllocateHandle(GSSize(team.size() * sizeof(API_UserInfo)), 0, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    auto* users = reinterpret_cast<API_UserInfo*>(*handle);
    for (std::size_t i = 0; i < team.size(); ++i) {
        new (&users[i]) API_UserInfo;
        copyText(users[i].loginName, sizeof users[i].loginName, team[i].loginName);
        copyText(users[i].fullName, sizeof users[i].fullName, team[i].fullName);
        users[i].userId = team[i].userId;
        users[i].connected = team[i].connected;
    }
    info->nUsers = Int32(team.size());
    info->users = reinterpret_cast<API_UserInfo**>(handle);
    return NoError;
}

GSErrCode applicationInfo(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    auto* info = static_cast<API_ServerApplicationInfo*>(par1);
    info->mainVersion = 21;
    info->releaseVersion = 0;
    copyText(info->language, sizeof info->language, state().language);
    return NoError;
}

GSErrCode activeRenovationFilter(void* par1, void*, void*) {
    if (par1 == nullptr) {
        return APIERR_BADPARS;
    }
    if (!state().open) {
        return APIERR_NOPLAN;
    }
    *static_cast<GS::Guid*>(par1) = state().renovationFilter;
    return NoError;
}

const bool registered =
    sim::registerDatabaseRequest(APIDb_GetActiveRenovationFilterID, activeRenovationFilter) &&
    sim::registerReset([] { state() = State(); }) &&
    sim::registerEnvironmentRequest(APIEnv_ProjectID, projectInfo) &&
    sim::registerEnvironmentRequest(APIEnv_ProjectSharingID, sharingInfo) &&
    sim::registerEnvironmentRequest(APIEnv_ApplicationID, applicationInfo);

} // namespace

namespace sim {

void openProject(const std::string& path) {
    state().open = true;
    state().path = path;
    state().location = path.empty() ? IO::Location() : IO::Location(path.c_str());
}

void closeProject() {
    State& s = state();
    s.open = false;
    s.path.clear();
    s.location = IO::Location();
    s.shared = false;
    s.connected = false;
    s.userId = 0;
    s.team.clear();
    sim::clearProject();
}

void setProjectOpen(bool open) {
    if (open) {
        state().open = true;
    } else {
        closeProject();
    }
}

bool isProjectOpen() {
    return state().open;
}

std::string projectPath() {
    return state().path;
}

void setTeamwork(bool shared, short userId, const std::vector<TeamMember>& team, bool connected) {
    state().shared = shared;
    state().userId = userId;
    state().team = team;
    state().connected = shared && connected;
}

bool isTeamwork() {
    return state().open && state().shared;
}

short currentUserId() {
    return isTeamwork() ? state().userId : 0;
}

void setLanguage(const std::string& code) {
    state().language = code;
}

void setActiveRenovationFilter(const GS::Guid& filter) {
    state().renovationFilter = filter;
}

int saveCount() {
    return state().saves;
}

} // namespace sim

bool ACAPI_TeamworkControl_HasConnection() {
    if (sim::enter("ACAPI_TeamworkControl_HasConnection") != NoError) {
        return false;
    }
    return state().open && state().shared && state().connected;
}

namespace {

std::map<GSType, sim::AutomateHandler>& automateHandlers() {
    static auto* table = new std::map<GSType, sim::AutomateHandler>;
    return *table;
}

} // namespace

bool sim::registerAutomateRequest(GSType code, AutomateHandler handler) {
    automateHandlers()[code] = handler;
    return true;
}

GSErrCode ACAPI_Automate(GSType code, void* par1, void* par2, void* par3) {
    if (GSErrCode err = sim::enter("ACAPI_Automate", code); err != NoError) {
        return err;
    }
    switch (code) {
    case APIDo_OpenID: {
        auto* pars = static_cast<API_FileOpenPars*>(par1);
        std::string path;
        if (pars == nullptr || pars->fileTypeID != 1 || pars->file == nullptr ||
            pars->file->ToPath(&path) != NoError) {
            return APIERR_BADPARS;
        }
        struct stat info {};
        if (!sim::statusOf(path, info) || !S_ISREG(info.st_mode)) {
            return APIERR_BADNAME;
        }
        if (state().open) {
            sim::notifyProject(APINotify_Close);
        }
        sim::closeProject();
        sim::openProject(path);
        sim::notifyProject(APINotify_Open);
        return NoError;
    }
    case APIDo_SaveID:
        if (!state().open) {
            return APIERR_NOPLAN;
        }
        sim::notifyProject(APINotify_PreSave);
        ++state().saves;
        sim::notifyProject(APINotify_Save);
        return NoError;
    default: {
        auto it = automateHandlers().find(code);
        return it == automateHandlers().end() ? APIERR_BADID : it->second(par1, par2, par3);
    }
    }
}
