#include "Addon/Addon.h"

#include "ACAPI/AddOnRegistration.hpp"
#include "ACAPI/CommandParameters.hpp"
#include "ACAPI/ErrorCodes.hpp"
#include "Addon/AddonPrefs.h"
#include "Addon/CommandEvent.h"
#include "Addon/ContextFilter.h"
#include "Addon/DatabaseEvent.h"
#include "Addon/HostEvent.h"
#include "Addon/ModuleEvent.h"
#include "Addon/ModuleSubscriber.h"
#include "Addon/ProjectEvent.h"
#include "Addon/ProjectSubscriber.h"
#include "Addon/Supervisor.h"
#include "Addon/SupervisorLink.h"
#include "Database/Drawing.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "Environment/Platform.h"
#include "GSRoot/BM.hpp"
#include "IFC/IFCData.h"
#include "Interface/InterfacePanel.h"
#include "Library/Library.h"
#include "Library/ParameterList.h"
#include "Preset/PresetDatabase.h"
#include "Preset/ZelvaneLibrary.h"
#include "XML/PackageStore.h"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Rules.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <utility>

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
constexpr Int32 libraryChanged = 0x200000;

constexpr Int32 databaseRunBegins = Int32(0xFFFFFFFF);
constexpr Int32 databaseRunEnds = Int32(0xFFFFFFFE);

// Install the bundle's project-notification and module-data handlers, which route every
// notification and merge here.
class ProjectHandler : public ProjectSubscriber {
public:
    bool handleEvent(ProjectEvent&) override { return false; }
};

class ModuleHandler : public ModuleSubscriber {
public:
    bool handleEvent(ModuleEvent&) override { return false; }
};

constexpr const char* storeTag = "frameworkPreferenceStore";
constexpr Int32 moduleDataVersion = 1;
// This platform's byte-order sign.
constexpr UInt16 byteOrderSign = 19789;

bool isUserContext(Addon::Context context) {
    return context == Addon::user || context == Addon::shared;
}

// The context as the console's messages name it.
const char* contextName(Addon::Context context) {
    return context == Addon::user ? "user" : context == Addon::shared ? "shared" : "project";
}

// Whether a folder's make or look answered that an entry that is not a folder stands at its name:
// the make found one (ErrExists), or the host's look found no folder there (ErrParam).
bool isNoFolder(GSErrCode error) {
    return error == ErrExists || error == ErrParam;
}

// Why `folder`, whose last use failed, could not be had, after its name as the user finds it: refused
// as not the player's where the use was; an entry that is not a folder standing at its name
// (isNoFolder); else the use's own answer.
String describeFolderFailure(const Directory& folder) {
    if (folder.isFolderRefused()) {
        return folder.describeRefusal(folder);
    }
    String told = folder.getNameAsFound();
    told += ": ";
    if (isNoFolder(folder.getLastError())) {
        told += "it is not a folder";
    } else {
        const String why = folder.whyFailed();
        told += why.empty() ? File::describeError(ErrIO) : why;
    }
    return told;
}

// Whether a folder not had for this host error code is one the framework's rules or the user's own
// entries explain (another user's entry, an entry that is not a folder), told by its reason alone.
bool isToldAlone(GSErrCode error) {
    return error == ErrPermission || isNoFolder(error);
}

// The open project, given the default of every registered project package it lacks (a project
// opened after a package was registered starts from its default); null without a project.
Project* provideProjectPreferences(const std::vector<unsigned int>& codes, Supervisor& supervisor) {
    Project* open = host.getProject();
    if (open == nullptr) {
        return nullptr;
    }
    for (unsigned int code : codes) {
        if (open->getPreference(code) == nullptr) {
            if (const Package* fallback = supervisor.getDefaultPreference(code)) {
                open->setPreference(*fallback, false);
            }
        }
    }
    return open;
}

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

Addon::Addon()
    : m_projectPrefs(std::make_unique<std::vector<unsigned int>>()),
      m_contexts(std::make_unique<std::map<unsigned int, Context>>()) {
    makeOwnSupervisor();
    // The destructor does not run for a constructor that throws: the supervisor is taken back here.
    try {
        auto link = std::make_unique<SupervisorLink>();
        addSubscriber(link.get());
        m_supervisorLink = link.release();
    } catch (...) {
        deleteOwnSupervisor();
        throw;
    }
}

Addon::Addon(UInt32 developerID, UInt32 localID)
    : m_projectPrefs(std::make_unique<std::vector<unsigned int>>()),
      m_contexts(std::make_unique<std::map<unsigned int, Context>>()) {
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
        ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &parameters);
    }
    if (joined != nullptr) {
        joined->addMember(*this);
    } else {
        makeOwnSupervisor();
    }
}

Addon::~Addon() {
    if (m_preferenceStore != nullptr) {
        // A package that fails to shut down must not end the host program.
        try {
            m_preferenceStore->shutdown();
        } catch (...) {
            // The add-on's own class is gone by now, so the console is told as well.
            reportFailure();
            try {
                host.writeToConsole(String("The add-on's preferences could not be shut down.\n"));
            } catch (...) {
            }
        }
        m_preferenceStore.reset();
    }
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

ZelvaneLibrary& Addon::getLibraryConfiguration() {
    if (m_libraryConfiguration == nullptr) {
        m_libraryConfiguration = std::make_unique<ZelvaneLibrary>();
    }
    return *m_libraryConfiguration;
}

Supervisor& Addon::getSupervisor() {
    if (m_supervisor == nullptr) {
        makeOwnSupervisor();
    }
    return *m_supervisor;
}

GSErrCode Addon::startup() {
    try {
        InterfacePanel::startup();
        Library::startup();
        Specification::startup();
        Drawing::startup();
    } catch (...) {
        return APIERR_MEMFULL;
    }
    return NoError;
}

GSErrCode Addon::shutdown() {
    try {
        // The preset module's templates and its two subscribers live as long as the module.
        PresetDatabase::shutdownModule();
        Drawing::shutdown();
        // Interned IFC names and value types would otherwise outlive an unloaded bundle.
        IFCData::shutdown();
        Specification::shutdown();
        Library::shutdown();
        InterfacePanel::shutdown();
    } catch (...) {
        return APIERR_GENERAL;
    }
    return NoError;
}

bool Addon::registerInterface() {
    ACAPI_KeepInMemory(true);
    // A library the host did not take, or a module-data handler it refused, fails the registration.
    if (isLibrary() && ACAPI_Register_BuiltInLibrary() != NoError) {
        return false;
    }
    if (!ModuleHandler().registerInterface()) {
        return false;
    }
    return Publisher::registerInterface();
}

bool Addon::initialise() {
    // Neither preference file is written over before it is read: whatever stops the
    // initialisation first (a subscriber failing, an exception) leaves both unread.
    m_sharedFile = Source::unread;
    m_userFile = Source::unread;
    ACAPI_KeepInMemory(true);
    // Without its project or merge handler the add-on would never hear of the project: the host is
    // told the initialisation failed.
    if (!ProjectHandler().initialise() || !ModuleHandler().initialise()) {
        return false;
    }
    if (!Publisher::initialise()) {
        return false;
    }
    if (m_preferenceStore != nullptr) {
        readPrefs(shared, true);
        readPrefs(user, true);
    }
    return true;
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

Directory* Addon::takeUserPrefsDirectory(String* refusal, GSErrCode* error) const {
    GSErrCode ignored = NoError;
    GSErrCode& result = error != nullptr ? *error : ignored;
    m_userFolderFailure = String();
    m_userFolderError = NoError;
    std::unique_ptr<Directory> folder(getUserPrefsDirectory());
    if (folder == nullptr) {
        // The add-on's own folder not had is told as the add-on kept its failure; else the system's
        // refusal of its own folder, where it refuses it.
        String why = m_userFolderFailure;
        result = m_userFolderError;
        if (why.empty()) {
            why = whySystemRefuses(user);
            result = why.empty() ? ErrIO : ErrPermission;
        }
        if (refusal != nullptr) {
            *refusal = why;
        }
        return nullptr;
    }
    // Whatever folder the add-on names, another user's is not the player's to read or write.
    if (const std::error_code why = folder->whyNotPlayers()) {
        if (refusal != nullptr) {
            *refusal = folder->describeRefusal(why);
        }
        result = ErrPermission;
        return nullptr;
    }
    // Asked again of each folder its uses hold: another user may exchange it after this look.
    folder->takeForPlayer();
    result = NoError;
    return folder.release();
}

void Addon::keepUserPrefsFailure(const Directory& folder) const {
    m_userFolderFailure = describeFolderFailure(folder);
    const int code = folder.getLastError();
    m_userFolderError = folder.isFolderRefused() ? ErrPermission : code != NoError ? code : ErrIO;
}

bool Addon::preprocessEvent(Event& event) {
    auto* notification = dynamic_cast<ProjectEvent*>(&event);
    if (notification == nullptr) {
        return false;
    }
    switch (notification->getID()) {
    case newProject:
        m_projectData = Source::read;
        unknownElements(project).clear();
        provideProjectPreferences(*m_projectPrefs, getSupervisor());
        addEmbeddedFiles();
        importStarterPresets();
        break;
    case openProject:
    case reopenProject:
        readPrefs(project, true);
        addEmbeddedFiles();
        importStarterPresets();
        break;
    case closeProject:
        m_projectData = Source::read;
        unknownElements(project).clear();
        if (Project* open = host.getProject()) {
            open->initialisePreferences();
        }
        break;
    case quitHost:
        // The add-on starts again with a supervisor of its own.
        if (m_ownsSupervisor) {
            deleteOwnSupervisor();
        } else if (m_supervisor != nullptr) {
            m_supervisor->removeMember(*this);
        }
        makeOwnSupervisor();
        break;
    case libraryChanged:
        checkLibraryConfiguration();
        break;
    default:
        break;
    }
    return false;
}

bool Addon::postprocessEvent(Event& event) {
    if (auto* notification = dynamic_cast<ProjectEvent*>(&event)) {
        switch (notification->getID()) {
        case beforeSave:
        case temporarySave:
            savePrefs(project);
            break;
        case quitHost:
            // Each context on its own: a failure of one leaves the others to be written.
            savePrefs(user);
            savePrefs(shared);
            break;
        default:
            break;
        }
    } else if (auto* merge = dynamic_cast<ModuleEvent*>(&event)) {
        if (merge->getID() == ModuleEvent::mergeID) {
            mergePrefs(*merge);
        }
    }
    return false;
}

PackageStore& Addon::preferenceStore() {
    if (m_preferenceStore == nullptr) {
        m_preferenceStore = std::make_unique<PackageStore>(storeTag);
    }
    return *m_preferenceStore;
}

void Addon::addPreference(const Package& package, Context context) {
    unsigned int code = package.getID();
    if (isUserContext(context)) {
        (*m_contexts)[code] = context;
        preferenceStore().setPackage(package, false);
        return;
    }
    m_projectPrefs->push_back(code);
    getSupervisor().addPreference(package);
    if (Project* open = host.getProject()) {
        open->setPreference(package, true);
    }
}

void Addon::setPreference(const Package& package, Context context, bool publish) {
    unsigned int code = package.getID();
    if (isUserContext(context)) {
        (*m_contexts)[code] = context;
        preferenceStore().setPackage(package, publish);
        return;
    }
    if (std::find(m_projectPrefs->begin(), m_projectPrefs->end(), code) == m_projectPrefs->end()) {
        m_projectPrefs->push_back(code);
    }
    if (Project* open = host.getProject()) {
        open->setPreference(package, publish);
    }
}

Package* Addon::getPreference(unsigned int code, Context context) const {
    if (m_preferenceStore == nullptr) {
        return nullptr;
    }
    auto it = m_contexts->find(code);
    return it != m_contexts->end() && it->second == context ? m_preferenceStore->getPackage(code) : nullptr;
}

bool Addon::isPreferenceRegistered(unsigned int code, Context context) const {
    if (context == project) {
        return std::find(m_projectPrefs->begin(), m_projectPrefs->end(), code) != m_projectPrefs->end();
    }
    return m_contexts->count(code) != 0;
}

void Addon::getMyPrefs(PackageStore& store, Context context, bool clone) {
    auto put = [&](const Package& package) {
        std::unique_ptr<Package> copy(clone ? package.cloneEmpty() : package.cloneIndependent());
        store.setPackage(copy.release(), false);
    };
    if (context == project) {
        checkVersion();
        if (Project* open = provideProjectPreferences(*m_projectPrefs, getSupervisor())) {
            for (unsigned int code : *m_projectPrefs) {
                if (const Package* package = open->getPreference(code)) {
                    put(*package);
                }
            }
        }
        return;
    }
    if (m_preferenceStore == nullptr) {
        return;
    }
    for (const auto& entry : *m_contexts) {
        if (entry.second != context) {
            continue;
        }
        if (const Package* package = m_preferenceStore->getPackage(entry.first)) {
            put(*package);
        }
    }
}

void Addon::setMyPrefs(const PackageStore& store, Context context) {
    if (isUserContext(context)) {
        if (m_preferenceStore != nullptr) {
            for (const auto& entry : *m_contexts) {
                const Package* package = store.getPackage(entry.first);
                if (entry.second == context && package != nullptr) {
                    m_preferenceStore->setPackage(*package, false);
                }
            }
        }
    } else if (Project* open = host.getProject()) {
        for (unsigned int code : *m_projectPrefs) {
            if (const Package* package = store.getPackage(code)) {
                open->setPreference(*package, false);
            }
        }
        checkVersion();
    }
    checkIntegrity();
}

void Addon::checkVersion() {
    if (!isVersionChecked()) {
        return;
    }
    Project* open = host.getProject();
    if (open != nullptr && dynamic_cast<AddonPrefs*>(open->getPreference(AddonPrefs::ID)) == nullptr) {
        addPreference(AddonPrefs(), project);
    }
}

String Addon::getPrefsFileName() const {
    String name("com.zelvane.");
    String product = getProductInfo().name.toLowercase();
    for (unsigned int i = 0; i < product.dataLength(); ++i) {
        char c = product[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            name += c;
        }
    }
    name += ".xml";
    return name;
}

DataFile* Addon::getPrefsFile(Context context, bool create, GSErrCode* error) const {
    GSErrCode ignored = NoError;
    GSErrCode& result = error != nullptr ? *error : ignored;
    bool madeFolder = false;
    std::unique_ptr<DataFile> file(locatePrefsFile(context, create, result, &madeFolder));
    if (file == nullptr) {
        return nullptr;
    }
    if (create) {
        // Made in its folder as the file was located: the user's own, in a folder of the player's.
        std::unique_ptr<Directory> folder(file->getParent());
        file.reset(folder != nullptr ? new DataFile(*folder, getPrefsFileName(), DataFile::readWrite, true)
                                     : new DataFile(file->getLocation(), DataFile::readWrite, true));
        file->setChangedByEveryUser(context == shared);
        keepRefusedFolder(*file);
    }
    if (!file->exists()) {
        result = file->getLastError() != NoError ? file->getLastError() : ErrNotFound;
        return nullptr;
    }
    if (create) {
        allowAccess(*file, context, madeFolder, file->isMade());
    }
    result = NoError;
    return file.release();
}

DataFile* Addon::locatePrefsFile(Context context, bool makeFolder, GSErrCode& error, bool* madeFolder) const {
    error = ErrParam;
    if (!isUserContext(context)) {
        return nullptr;
    }
    m_refusal = String();
    m_refusalUnexpected = false;
    GSErrCode taken = NoError;
    std::unique_ptr<Directory> folder(context == user ? takeUserPrefsDirectory(&m_refusal, &taken)
                                                      : getSharedDataDirectory());
    if (folder == nullptr && context == shared) {
        m_refusal = whySystemRefuses(shared);
        taken = m_refusal.empty() ? ErrIO : ErrPermission;
    }
    if (folder == nullptr) {
        // The system's folder is made when missing, and so is an add-on's own: not having it is a
        // failure, not an absence.
        error = taken == ErrPermission ? ErrPermission : ErrIO;
        m_refusalUnexpected = !m_refusal.empty() && !isToldAlone(taken);
        return nullptr;
    }
    String named = folder->getPathName();
    named += "Zelvane";
    const fileio::Entry where(std::string(named.data(), named.dataLength()));
    struct stat before {};
    const bool existed = where.status(before);
    Directory sub(*folder, String("Zelvane"), makeFolder);
    if (sub.getLastError() != NoError || !sub.exists()) {
        error = sub.getLastError() != NoError ? sub.getLastError() : ErrNotFound;
        keepRefusedFolder(sub);
        // Another user's entry of any kind at the folder's name holds none of the player's files.
        const std::error_code theirs = context == user ? sub.whyNotPlayers() : std::error_code();
        if (m_refusal.empty() && theirs) {
            m_refusal = sub.describeRefusal(theirs);
        }
        if (!m_refusal.empty()) {
            error = ErrPermission;
        } else if (isNoFolder(error)) {
            // An entry of the player's that is not a folder stands at its name: no file lies in it to
            // be kept, nor can one be written there.
            m_refusal = describeFolderFailure(sub);
        }
        return nullptr;
    }
    if (madeFolder != nullptr) {
        *madeFolder = !existed;
    }
    std::unique_ptr<DataFile> file(new DataFile(sub, getPrefsFileName(), DataFile::readWrite, false));
    // Every user of the machine is to change the shared preferences.
    file->setChangedByEveryUser(context == shared);
    if (context == user && !closeUserPrefsFolder(*file, existed)) {
        error = ErrPermission;
        return nullptr;
    }
    error = NoError;
    return file.release();
}

bool Addon::closeUserPrefsFolder(const DataFile& file, bool told) const {
    const std::unique_ptr<Directory> parent(file.getParent());
    const String named = parent != nullptr ? parent->getPathName() : String();
    const fileio::Entry folder(std::string(named.data(), named.dataLength()));
    struct stat info {};
    // Another user's folder may have been put there, or left there, to receive the player's
    // preferences: it is not taken, whatever folder holds it.
    const bool isThere = folder.status(info);
    if (const std::error_code theirs =
            isThere && parent != nullptr ? fileio::whyNotPlayersFolder(info) : std::error_code()) {
        m_refusal = parent->describeRefusal(theirs);
        return false;
    }
    // Group and others keep what else they had; a folder of another user's is not the player's to
    // change.
    if (isThere && S_ISDIR(info.st_mode) && fileio::othersMayWrite(info) && info.st_uid == ::geteuid() &&
        !folder.changeMode(07777 & ~mode_t(S_IWGRP | S_IWOTH), 0) && told) {
        try {
            String message("The user preference folder ");
            message += describePrefsFolder(user);
            message += " was open to other users to write: it is now the user's alone to write.\n";
            host.writeToConsole(message);
        } catch (...) {
        }
    }
    // What stands at the file's name is the player's or root's: another user's may have been put
    // there while the folder was open to them, to be read as the player's preferences or to
    // receive them, and stays theirs once the folder is closed.
    const String path = file.getPathName();
    const fileio::Entry entry(std::string(path.data(), path.dataLength()), fileio::Entry::keepLink);
    struct stat found {};
    if (!entry.status(found) || fileio::isPlayerOrRoot(found.st_uid)) {
        return true;
    }
    // Told as another user's entry at the folder's name is: it holds none of the player's
    // preferences, and none are kept in it.
    String refused = parent != nullptr ? parent->getNameAsFound() : path;
    if (parent != nullptr) {
        refused += "/";
        refused += file.getName();
    }
    refused += ": ";
    refused += make_error_code(fileio::FileError::notPlayersFolder).message().c_str();
    m_refusal = refused;
    return false;
}

void Addon::keepRefusedFolder(const Directory& use) const {
    if (use.isFolderRefused()) {
        m_refusal = use.describeRefusal(use);
    }
}

void Addon::keepRefusedFolder(const DataFile& use) const {
    if (use.isFolderRefused()) {
        const std::unique_ptr<Directory> parent(use.getParent());
        m_refusal = parent != nullptr ? parent->describeRefusal(use) : use.getPathName();
    }
}

String Addon::whySystemRefuses(Context context) const {
    std::error_code why;
    const std::unique_ptr<Directory> folder(context == user ? Platform().getUserPrefsDirectory(&why)
                                                            : Platform().getSharedDataDirectory(&why));
    // Only the system's refusal of its folder as not the user's to use is a folder refused.
    if (folder != nullptr ||
        (why != fileio::FileError::notPlayersFolder && why != fileio::FileError::exposedWay)) {
        return String();
    }
    String refusal(context == user ? "the user preferences folder: " : "the shared data folder: ");
    refusal += why.message().c_str();
    return refusal;
}

void Addon::allowAccess(const DataFile& file, Context context, bool folderMade, bool fileMade) {
    std::unique_ptr<Directory> folder(file.getParent());
    if (context == shared) {
        if (folder != nullptr) {
            folder->allowFullAccess();
        }
        file.allowFullAccess();
        return;
    }
    if (folder != nullptr && folderMade) {
        folder->allowOwnerAccess();
    }
    if (fileMade) {
        file.allowOwnerAccess();
    }
}

void Addon::readPrefs(Context context, bool publish) {
    // Until the source has been read, whatever stops the reading (an exception too) keeps it from
    // being written over.
    Source& source = this->*sourceOf(context);
    source = Source::unread;
    // A context without packages has nothing to read: its file, which this add-on cannot tell
    // anything of, is neither told of nor written over.
    if (isUserContext(context) && !holdsPackages(context)) {
        unknownElements(context).clear();
        return;
    }
    // The current packages stand for whatever the source lacks.
    PackageStore store(storeTag);
    getMyPrefs(store, context, false);
    if (isUserContext(context)) {
        GSErrCode error = NoError;
        std::unique_ptr<DataFile> file(getPrefsFile(context, false, &error));
        if (file == nullptr) {
            // Only a file known not to be there leaves the packages at their defaults: a folder
            // that could not be looked up or opened may well hold it.
            if (error != ErrNotFound) {
                reportPrefsUnread(context);
                return;
            }
            unknownElements(context).clear();
            source = Source::absent;
            return;
        }
        // A file its user may only read is read all the same. A FIFO or a device holds no
        // preferences of its own, and a link another user may have put there is not followed.
        if (file->isSpecial() || !file->open(DataFile::readOnly)) {
            keepRefusedFolder(*file);
            reportPrefsUnread(context);
            return;
        }
        DataBufferIn stream(file.get(), Encoding::utf8);
        std::size_t found = 0;
        UnknownElements unknown;
        // A file whose position, length or bytes could not be read gives the reader less than it
        // holds, down to nothing, which it may take for a whole document: the stream's failure tells.
        bool read = store.importFrom(stream, false, &found, &unknown) && !stream.failed();
        // A file that holds none of the context's packages (plain text, another document, only
        // packages this add-on does not know) is no file the defaults may replace, unless empty.
        if (read && found == 0) {
            read = file->getSize() == 0 && file->getLastError() == NoError;
        }
        // A file that reads but does not parse is kept as well, not moved aside: a read fault can
        // leave a sound file looking malformed, and the user can mend or remove a file that is
        // kept, while writing the defaults over it would lose its values for good.
        if (!read) {
            reportPrefsUnread(context);
            return;
        }
        // The file's packages that this add-on does not know (a later version of it may have
        // written them) are written back beside its own: dropping them would lose that version's
        // preferences, while keeping them costs this one nothing, since its reader skips them.
        unknownElements(context) = std::move(unknown);
    } else {
        Int32 version = 0, byteOrder = 0;
        std::unique_ptr<MemoryBlock> data(getOwnerData(version, byteOrder));
        // Data that does not parse is kept as well: it is the only copy of the project's
        // preferences.
        if (data == nullptr || !store.setData(*data, false, &unknownElements(context))) {
            reportPrefsUnread(context);
            return;
        }
    }
    setMyPrefs(store, context);
    source = Source::read;
    if (!publish) {
        return;
    }
    TypeList codes;
    store.getTypes(codes);
    for (unsigned int code : codes) {
        if (isUserContext(context)) {
            preferenceStore().publishUpdate(code);
        } else if (Project* open = host.getProject();
                   open != nullptr && open->getPreference(code) != nullptr) {
            open->setPreference(open->getPreference(code), true);
        }
    }
}

bool Addon::savePrefs(Context context) {
    bool written = false;
    try {
        written = writePrefs(context);
    } catch (...) {
        reportFailure();
    }
    // A context without packages (whose file was never read, say) is no preference of the user's,
    // and a file or module data kept because it could not be read was told of then.
    bool told = this->*sourceOf(context) == Source::kept;
    if (!written && holdsPackages(context) && !told) {
        reportPrefsNotWritten(context);
    }
    return written;
}

bool Addon::holdsPackages(Context context) const {
    if (!isUserContext(context)) {
        return !m_projectPrefs->empty();
    }
    return std::any_of(m_contexts->begin(), m_contexts->end(),
                       [context](const auto& entry) { return entry.second == context; });
}

UnknownElements& Addon::unknownElements(Context context) {
    std::unique_ptr<UnknownElements>& kept = context == shared    ? m_sharedUnknown
                                             : context == project ? m_projectUnknown
                                                                  : m_userUnknown;
    if (kept == nullptr) {
        kept = std::make_unique<UnknownElements>();
    }
    return *kept;
}

String Addon::describePrefs(Context context) const {
    String text("The ");
    text += contextName(context);
    text += " preferences of the add-on";
    const String& name = getProductInfo().name;
    if (!name.empty()) {
        text += " \"";
        text += name;
        text += "\"";
    }
    return text;
}

String Addon::describePrefsFolder(Context context) const {
    String text;
    std::unique_ptr<Directory> folder(context == user ? getUserPrefsDirectory() : getSharedDataDirectory());
    if (folder != nullptr) {
        text += folder->getName();
        text += "/";
    }
    text += "Zelvane";
    return text;
}

bool Addon::hasPrefsFolder(Context context) const {
    return std::unique_ptr<Directory>(context == user ? getUserPrefsDirectory() : getSharedDataDirectory()) !=
           nullptr;
}

String Addon::describePrefsFile(Context context) const {
    String text = describePrefsFolder(context);
    text += "/";
    text += getPrefsFileName();
    std::unique_ptr<Directory> folder(context == user ? getUserPrefsDirectory() : getSharedDataDirectory());
    if (folder == nullptr) {
        text += context == user ? " in the user preferences folder" : " in the shared data folder";
    }
    return text;
}

void Addon::reportPrefsUnread(Context context) {
    this->*sourceOf(context) = Source::kept;
    try {
        String message = describePrefs(context);
        if (isUserContext(context) && !m_refusal.empty()) {
            message += " could not be read from ";
            message += m_refusal;
            message += ".\n";
        } else if (isUserContext(context) && !hasPrefsFolder(context)) {
            // No file is there to keep: the folder that would hold it is not.
            message += context == user
                           ? " could not be read: the user preferences folder could not be found.\n"
                           : " could not be read: the shared data folder could not be found.\n";
        } else if (isUserContext(context)) {
            message += " could not be read from ";
            message += describePrefsFile(context);
            message += ": they are kept in that file, and not written over.\n";
        } else {
            message += " could not be read: they are kept in the project, and not written over until it is "
                       "opened again.\n";
        }
        host.writeToConsole(message);
    } catch (...) {
    }
    // Another user's entry is refused by the framework's own rule, and an entry that is not a folder
    // stands where the user put it, told above in full: no failure of the add-on's, whose report
    // would tell the user of an unexpected problem.
    if (!isUserContext(context) || m_refusal.empty() || m_refusalUnexpected) {
        reportFailure();
    }
}

Addon::Source Addon::*Addon::sourceOf(Context context) {
    return context == user     ? &Addon::m_userFile
           : context == shared ? &Addon::m_sharedFile
                               : &Addon::m_projectData;
}

bool Addon::isPrefsUnread(Context context) const {
    Source source = this->*sourceOf(context);
    return source != Source::read && source != Source::absent;
}

void Addon::reportPrefsNotWritten(Context context) const {
    try {
        String message = describePrefs(context);
        if (isUserContext(context) && !m_refusal.empty()) {
            message += " could not be written to ";
            message += m_refusal;
        } else if (isUserContext(context)) {
            message += " could not be written to ";
            message += describePrefsFile(context);
        } else {
            message += " could not be written";
        }
        message += ".\n";
        host.writeToConsole(message);
    } catch (...) {
        // Nothing more can be told; the host call must still return normally.
    }
}

bool Addon::writePrefs(Context context) {
    Source& source = this->*sourceOf(context);
    // Writing the current packages over data that could not be read would lose it.
    if (source == Source::kept || (!isUserContext(context) && source != Source::read)) {
        return false;
    }
    PackageStore store(storeTag);
    getMyPrefs(store, context, false);
    if (!isUserContext(context)) {
        return writeModuleData(store, &unknownElements(context));
    }
    store.setFilter(new ContextFilter(context, *m_contexts));
    UnknownElements& unknown = unknownElements(context);
    bool anything = !unknown.empty();
    for (const auto& entry : *m_contexts) {
        if (entry.second == context && store.isExported(entry.first)) {
            anything = true;
        }
    }
    // The folder is made only for something to write.
    GSErrCode error = NoError;
    bool madeFolder = false;
    std::unique_ptr<DataFile> file(locatePrefsFile(context, anything, error, &madeFolder));
    if (file == nullptr) {
        // No folder for the file: no file to erase either. Another user's entry at its name is
        // neither written nor erased.
        return !anything && error != ErrPermission;
    }
    bool made = !file->exists();
    if (made ? !anything : source != Source::read) {
        // Nothing to write and no file to erase; or a file this add-on did not read, which may
        // hold what it cannot tell (a later version's preferences, say), as may one that appeared
        // after it found none: it is neither erased nor written over.
        return !anything;
    }
    if (!anything) {
        // The file read held nothing but this add-on's packages, none of which is written now.
        if (file->erase()) {
            return true;
        }
        keepRefusedFolder(*file);
        return false;
    }
    // Written whole beside the old file and renamed over it, so a failed write loses nothing; a
    // new file is put in place only where there is still none.
    auto write = [&store, &unknown](DataFile& target) {
        DataBufferOut stream(&target);
        return store.exportTo(stream, unknown);
    };
    if (!(made ? file->makeContents(write) : file->replaceContents(write))) {
        keepRefusedFolder(*file);
        return false;
    }
    // Every user of the machine may change the shared preferences; the user's own stay the user's.
    allowAccess(*file, context, madeFolder, made);
    // The file holds what this add-on wrote: it may be written over or erased from now on.
    source = Source::read;
    return true;
}

bool Addon::writeModuleData(const PackageStore& store, const UnknownElements* kept) const {
    std::unique_ptr<MemoryBlock> data(store.getData(nullptr, kept));
    if (data == nullptr) {
        // The packages could not be exported: storing nothing would keep stale data as if it
        // were current.
        return false;
    }
    if (data->size() == 0) {
        return true;
    }
    API_ModulData info;
    info.dataVersion = moduleDataVersion;
    info.platformSign = byteOrderSign;
    info.dataHdl = data->getHandle();
    return ACAPI_ModulData_Store(&info, "") == NoError;
}

MemoryBlock* Addon::getOwnerData(Int32& version, Int32& byteOrder) const {
    version = 0;
    byteOrder = 0;
    API_ModulData info;
    GSErrCode err = ACAPI_ModulData_GetInfo(&info, "");
    if (err == NoError) {
        err = ACAPI_ModulData_Get(&info, "");
    }
    // Only the host's "no module data" means there is none; any other error leaves data unread.
    if (err == APIERR_NOMODULEDATA) {
        return new MemoryBlock;
    }
    if (err != NoError) {
        return nullptr;
    }
    // The block takes the host's handle over.
    std::unique_ptr<MemoryBlock> block(info.dataHdl != nullptr ? new MemoryBlock(info.dataHdl)
                                                               : new MemoryBlock);
    version = info.dataVersion;
    byteOrder = info.platformSign == byteOrderSign ? 1 : 2;
    return block.release();
}

const UnknownElements* Addon::projectDataKept(const ModuleEvent& event) {
    if (!event.isStoreRead()) {
        return nullptr;
    }
    if (event.getKept() != nullptr) {
        return event.getKept();
    }
    return m_projectData == Source::read ? &unknownElements(project) : nullptr;
}

bool Addon::writeEventData(const ModuleEvent& event, const PackageStore& store) {
    const UnknownElements* kept = projectDataKept(event);
    // Data that could not be read was told of then; it is not written over.
    bool written = kept != nullptr && writeModuleData(store, kept);
    if (!written && (kept != nullptr || m_projectData != Source::kept)) {
        reportPrefsNotWritten(project);
    }
    return written;
}

void Addon::validatePrefs(ModuleEvent& event) {
    PackageStore* store = event.getStore();
    if (store == nullptr) {
        return;
    }
    store->validate();
    writeEventData(event, *store);
    setMyPrefs(*store, project);
}

void Addon::exportPrefs(ModuleEvent& event) {
    if (event.getStore() == nullptr) {
        return;
    }
    // The export form leaves in the data what the add-on does not own, as the data it replaces
    // held it: the add-on cannot tell whether it is meant to go.
    std::unique_ptr<PackageStore> exported(event.getStore()->getExport());
    if (exported == nullptr) {
        reportPrefsNotWritten(project);
        return;
    }
    // Nothing exported stores nothing, not data of only what was kept.
    if (exported->shippingSize() != 0) {
        writeEventData(event, *exported);
    }
}

void Addon::mergePrefs(ModuleEvent& event) {
    PackageStore* store = event.getStore();
    PackageStore* other = event.getOtherStore();
    if (store == nullptr || other == nullptr) {
        return;
    }
    // Data to merge in that could not be read gives nothing to merge: the project keeps its own,
    // and the user is told that the merged project lacks it.
    if (!event.isOtherStoreRead()) {
        try {
            String message = describePrefs(project);
            message += " to merge in could not be read: they are missing from the merged project.\n";
            host.writeToConsole(message);
        } catch (...) {
        }
        reportFailure();
    }
    // Data of the project that could not be read is kept as it is (the destination holds it) and
    // told of, rather than merged over.
    if (!event.isStoreRead()) {
        if (m_projectData != Source::kept) {
            reportPrefsUnread(project);
        }
        return;
    }
    if (event.isOtherStoreRead()) {
        store->merge(*other);
    }
    setMyPrefs(*store, project);
    postprocessMergePrefs();
    // The merged data keeps what the project's data held that no package takes.
    if (event.getKept() != nullptr) {
        unknownElements(project) = *event.getKept();
    }

    PackageStore merged(storeTag);
    getMyPrefs(merged, project, false);
    writeEventData(event, merged);
    API_ModulData* destination = event.getDestination();
    const UnknownElements* kept = projectDataKept(event);
    if (destination == nullptr || kept == nullptr) {
        return;
    }
    std::unique_ptr<MemoryBlock> data(merged.getData(nullptr, kept));
    if (data == nullptr) {
        // The destination keeps the project's own data.
        reportPrefsNotWritten(project);
        return;
    }
    // The host owns the destination's handle once it is given.
    if (destination->dataHdl != nullptr) {
        BMKillHandle(&destination->dataHdl);
    }
    destination->dataHdl = data->release();
    destination->dataVersion = moduleDataVersion;
    destination->platformSign = byteOrderSign;
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

void Addon::runExternalEntry(const std::function<void()>& work) {
    EntryScope scope(m_entryDepth, m_inProjectEvent);
    if (!recordEntry(false)) {
        return;
    }
    try {
        work();
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
