#include "Addon/Addon.h"

#include "ACAPI/AddOnRegistration.hpp"
#include "Addon/CommandEvent.h"
#include "Addon/DatabaseEvent.h"
#include "Addon/HostEvent.h"
#include "Addon/ProjectEvent.h"
#include "Addon/ProjectSubscriber.h"
#include "Addon/Supervisor.h"
#include "Addon/SupervisorLink.h"
#include "Database/Drawing.h"
#include "Environment/Directory.h"
#include "Environment/Host.h"
#include "Environment/Platform.h"
#include "GSRoot/BM.hpp"
#include "Library/ParameterList.h"

#include <memory>

namespace zelvane {

Addon* addon = nullptr;

namespace {

constexpr Int32 newProject = 1;
constexpr Int32 openProject = 4;
constexpr Int32 beforeSave = 8;
constexpr Int32 closeProject = 32;
constexpr Int32 quitHost = 64;
constexpr Int32 temporarySave = 0x8000;
constexpr Int32 reopenProject = 0x10000;

constexpr Int32 databaseRunBegins = Int32(0xFFFFFFFF);
constexpr Int32 databaseRunEnds = Int32(0xFFFFFFFE);

// Installs the bundle's project-notification handler, which routes every notification here.
class ProjectHandler : public ProjectSubscriber {
public:
    bool handleEvent(ProjectEvent&) override { return false; }
};

// Puts back the entry depth and the in-project-event flag when an entry ends, on every path.
class EntryScope {
public:
    EntryScope(UInt32& depth, bool& inProjectEvent)
        : m_depth(depth), m_inProjectEvent(inProjectEvent), m_savedDepth(depth), m_savedFlag(inProjectEvent) {
    }
    ~EntryScope() {
        m_depth = m_savedDepth;
        m_inProjectEvent = m_savedFlag;
    }
    EntryScope(const EntryScope&) = delete;
    EntryScope& operator=(const EntryScope&) = delete;

private:
    UInt32& m_depth;
    bool& m_inProjectEvent;
    UInt32 m_savedDepth;
    bool m_savedFlag;
};

} // namespace

Addon::Addon() {
    makeOwnSupervisor();
    m_supervisorLink = new SupervisorLink;
    addSubscriber(m_supervisorLink);
}

Addon::Addon(UInt32 developerID, UInt32 localID) {
    // The answering side recognises the command by its parameters; the result is cleared first so
    // that an add-on that does not answer leaves it null.
    Supervisor* joined = nullptr;
    GSHandle parameters = nullptr;
    ParameterList list;
    if (list.packParameter(parameters, true, Supervisor::ID, Supervisor::version)) {
        API_ModulID mdid;
        mdid.developerID = developerID;
        mdid.localID = localID;
        GSErrCode err = ACAPI_Command_Call(&mdid, Supervisor::ID, Supervisor::version, parameters,
                                           reinterpret_cast<GSPtr>(&joined), false);
        if (err != NoError) {
            joined = nullptr;
        }
        char** handle = parameters;
        if (handle != nullptr) {
            BMKillHandle(&handle);
        }
    }
    if (joined != nullptr) {
        joined->addMember(*this);
    } else {
        makeOwnSupervisor();
    }
}

Addon::~Addon() {
    removeSubscriber(m_supervisorLink);
    delete m_supervisorLink;
    if (m_ownsSupervisor) {
        deleteOwnSupervisor();
    } else if (m_supervisor != nullptr) {
        m_supervisor->removeMember(*this);
    }
}

void Addon::makeOwnSupervisor() {
    m_supervisor = new Supervisor(*this);
    m_ownsSupervisor = true;
}

void Addon::deleteOwnSupervisor() {
    Supervisor* supervisor = m_supervisor;
    // This add-on leaves first, so that the supervisor's destructor detaches only the others.
    supervisor->removeMember(*this);
    m_supervisor = nullptr;
    m_ownsSupervisor = false;
    delete supervisor;
}

void Addon::attachSupervisor(Supervisor& supervisor) {
    if (m_supervisor == &supervisor) {
        return;
    }
    if (m_ownsSupervisor) {
        deleteOwnSupervisor();
    } else if (m_supervisor != nullptr) {
        m_supervisor->removeMember(*this);
    }
    m_supervisor = &supervisor;
    m_ownsSupervisor = false;
}

void Addon::detachSupervisor(Supervisor* supervisor) {
    if (m_supervisor == supervisor) {
        m_supervisor = nullptr;
        m_ownsSupervisor = false;
    }
}

Supervisor& Addon::getSupervisor() {
    if (m_supervisor == nullptr) {
        makeOwnSupervisor();
    }
    return *m_supervisor;
}

GSErrCode Addon::startup() {
    try {
        Drawing::startup();
    } catch (...) {
        return APIERR_MEMFULL;
    }
    return NoError;
}

GSErrCode Addon::shutdown() {
    try {
        Drawing::shutdown();
    } catch (...) {
        return APIERR_GENERAL;
    }
    return NoError;
}

bool Addon::registerInterface() {
    ACAPI_KeepInMemory(true);
    if (isLibrary()) {
        ACAPI_Register_BuiltInLibrary();
    }
    return Publisher::registerInterface();
}

bool Addon::initialise() {
    ACAPI_KeepInMemory(true);
    ProjectHandler().initialise();
    return Publisher::initialise();
}

bool Addon::publishEvent(Event& event) {
    if (event.getSpec().getFamily() == HostEvent::ID) {
        if (!preprocessEvent(event)) {
            Publisher::publishEvent(event);
        }
        postprocessEvent(event);
        return false;
    }
    if (Publisher::publishEvent(event)) {
        return true;
    }
    return m_supervisor != nullptr && m_supervisor->broadcastEvent(event, this);
}

API_AddonType Addon::checkAddonEnvironment(const String& name, const String& description,
                                           API_EnvirParams* environment) {
    ACAPI_KeepInMemory(true);
    if (environment == nullptr || environment->serverInfo.serverApplication != HostType::defaultID) {
        return APIAddon_DontRegister;
    }
    API_AddOnInfo& info = environment->addOnInfo;
    name.copyTo(info.name, sizeof info.name);
    String text = host.getLocalString(32700, 21);
    text += " ";
    text += getProductVersion();
    text += " (";
    text += host.getLocalString(32700, 22);
    text += " ";
    text += getBuildNo();
    text += ")\n";
    text += description;
    text.copyTo(info.description, sizeof info.description);
    return Publisher::checkEnvironment() ? getType() : APIAddon_DontRegister;
}

void Addon::reset() {
    host.reset();
}

PlatformSignature Addon::getPlatformSignature() const {
    return PlatformSignature(HostType(HostType::defaultID), Host::version);
}

Directory* Addon::getUserPrefsDirectory() const {
    return Platform().getUserPrefsDirectory();
}

Directory* Addon::getSharedDataDirectory() const {
    return Platform().getSharedDataDirectory();
}

bool Addon::preprocessEvent(Event& event) {
    auto* notification = dynamic_cast<ProjectEvent*>(&event);
    if (notification == nullptr) {
        return false;
    }
    switch (notification->getID()) {
    case quitHost:
        // The add-on starts again with a supervisor of its own.
        if (m_ownsSupervisor) {
            deleteOwnSupervisor();
        } else if (m_supervisor != nullptr) {
            m_supervisor->removeMember(*this);
        }
        makeOwnSupervisor();
        break;
    default:
        break;
    }
    return false;
}

bool Addon::postprocessEvent(Event&) {
    return false;
}

bool Addon::recordEntry(bool resetDepth) {
    m_entryDepth = resetDepth ? 1 : m_entryDepth + 1;
    try {
        ACAPI_KeepInMemory(true);
        if (m_entryDepth == 1) {
            reset();
        }
    } catch (...) {
        reportFailure();
        return false;
    }
    return true;
}

void Addon::publishExternalEvent(Event& event, bool resetDepth) {
    EntryScope scope(m_entryDepth, m_inProjectEvent);
    if (!recordEntry(resetDepth)) {
        return;
    }
    if (auto* database = dynamic_cast<DatabaseEvent*>(&event)) {
        if (database->getID() == databaseRunBegins) {
            m_databaseRun = true;
        } else if (database->getID() == databaseRunEnds) {
            m_databaseRun = false;
        }
    }
    if (dynamic_cast<ProjectEvent*>(&event) != nullptr) {
        m_inProjectEvent = true;
    }
    try {
        publishEvent(event);
    } catch (...) {
        reportFailure();
    }
}

void Addon::reportFailure() {
    try {
        reportUnexpectedFailure();
    } catch (...) {
        // Nothing more can be told to the user; the host call must still return normally.
    }
}

} // namespace zelvane
