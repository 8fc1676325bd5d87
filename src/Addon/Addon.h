// The base class of the one add-on object of a bundle built on the framework. The bundle's entry
// points make it, keep it in the global `addon` and delete it; every host callback reaches the
// framework through publishExternalEvent. It runs the three once-only life-cycle steps over its
// subscribers, pre- and post-processes host events, and belongs to a supervisor shared with the
// other add-ons of the framework loaded beside it.
#pragma once

#include "ACAPI/EnvirParams.hpp"
#include "Addon/Publisher.h"
#include "Environment/PlatformSignature.h"
#include "Environment/String.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace zelvane {

class DataFile;
class Directory;
class MemoryBlock;
class ModuleEvent;
class Package;
class PackageStore;
class Supervisor;
class SupervisorLink;
class UnknownElements;
class ZelvaneLibrary;

class Addon : public Publisher {
public:
    // Where a preference package is kept: in the project, in the user's preferences file or in
    // the shared data file.
    enum Context : Int32 { project = 0, user = 1, shared = 2 };

    // The add-on's product record; the framework reads only the name.
    struct ProductInfo {
        String name;
    };

    // Owns a new supervisor and answers the shared command 'GSUP' through its supervisor link.
    Addon();
    // Joins the supervisor of the add-on named by the IDs through its 'GSUP' command; when that
    // add-on does not answer, makes a supervisor of its own.
    Addon(UInt32 developerID, UInt32 localID);
    Addon(const Addon&) = delete;
    Addon& operator=(const Addon&) = delete;
    ~Addon() override;

    // Start and stop the framework's global state around the add-on object's life; 0 on success.
    static GSErrCode startup();
    static GSErrCode shutdown();

    // Keeps the bundle loaded, registers the built-in library when the add-on is one, then every
    // subscriber's interface once.
    bool registerInterface() override;
    // Keeps the bundle loaded, installs the project-notification handler, then initialises every
    // subscriber once.
    bool initialise() override;
    // Host events: pre-processing, the subscribers unless pre-processing consumed the event, then
    // post-processing; answers false. Other events: the subscribers, and when none takes it the
    // other members of the supervisor; answers whether one took it.
    bool publishEvent(Event& event) override;
    // Offers the event to this add-on's own subscribers only (how the supervisor passes on an
    // event, so that it never comes back).
    bool publishToSubscribers(Event& event) { return Publisher::publishEvent(event); }

    // Fills the host's add-on name and description and checks every subscriber's environment; the
    // add-on type, or 0 when the host is not the expected one or a check failed.
    virtual API_AddonType checkAddonEnvironment(const String& name, const String& description,
                                                API_EnvirParams* environment);
    // Drops the host facade's per-entry state.
    virtual void reset();
    virtual void checkIntegrity() {}
    // Shows the add-on's error alert; the base does nothing.
    virtual void reportUnexpectedFailure() {}
    virtual const ProductInfo& getProductInfo() const = 0;
    virtual String getProductVersion() const = 0;
    virtual String getBuildNo() const = 0;
    virtual PlatformSignature getPlatformSignature() const;
    virtual API_AddonType getType() const { return APIAddon_Normal; }
    virtual bool isLibrary() const { return false; }
    virtual bool isPresetsUsed() const { return false; }
    virtual bool isEmbeddedFilesUsed() const { return false; }
    virtual bool isVersionChecked() const { return false; }
    // The folders of the user's and the shared preference files (the caller deletes them).
    virtual Directory* getUserPrefsDirectory() const;
    virtual Directory* getSharedDataDirectory() const;
    // The user's preference folder (getUserPrefsDirectory) as the framework takes it to hold the
    // player's files, and as every use of it goes through (the caller deletes it): null when
    // there is none, and for another user's (fileio::whyNotPlayersFolder), whatever folder holds
    // it. `refusal` (where given) then receives the folder as the user finds it and why, "the user
    // preferences folder: ..." where the system refuses its own (Platform), and what the add-on
    // kept (keepUserPrefsFailure) where its own folder could not be had. `error` (where given)
    // receives NoError with a folder, ErrPermission for a folder refused as not the player's, the
    // code of the use the add-on kept the failure of, and ErrIO for a folder not had otherwise.
    Directory* takeUserPrefsDirectory(String* refusal = nullptr, GSErrCode* error = nullptr) const;
    // Answer whether they consumed the event.
    virtual bool preprocessEvent(Event& event);
    virtual bool postprocessEvent(Event& event);

    // Registers a preference package with its default values. User and shared packages are kept
    // by the add-on (a later registration moves a package to its new context); project packages
    // are listed in registration order, their defaults kept by the supervisor, and given to the
    // open project.
    virtual void addPreference(const Package& package, Context context);
    // Reads the packages of a context from their file or from the project's module data, keeping
    // the current values of whatever the source lacks; with publish each package's update event
    // follows. Only a file or module data that is not there, or an empty file, leaves the packages
    // as they are: a source that is there but cannot be read (its folder not found or opened, a
    // read failing, malformed, or a file holding none of the context's packages) is reported, and
    // kept from being written over until it is read again. A user or shared context without
    // packages reads nothing: its file is not read, and so not written over.
    virtual void readPrefs(Context context, bool publish);
    // Writes the packages of a context to their file (replacing it whole, with the elements and
    // root attributes of the file read that no package took, or erasing the file read when the
    // context has neither) or to the project's module data. A file this add-on neither read nor
    // wrote (one that appeared after the add-on found none, say) is only made where there is none,
    // never written over or erased. A file written keeps the mode of the file it replaces and is
    // given full access, with its folder. False when they could not be written (the old file or
    // module data is kept), while the source they were read from could not be read, and when a
    // file not read stands where they would go.
    virtual bool writePrefs(Context context);
    // Puts copies of the add-on's packages of a context into the store: empty copies with
    // `clone`, independent copies otherwise.
    virtual void getMyPrefs(PackageStore& store, Context context, bool clone);
    // Runs a module-data merge: the other store merged into the first, the result given to the
    // project and written as module data and into the merge's destination, each with what the
    // project's data held that no package takes. Project data that could not be read is not
    // merged over: it is kept and told of.
    virtual void mergePrefs(ModuleEvent& event);
    virtual void postprocessMergePrefs() {}

    // The package of a code registered for a user or shared context (the add-on keeps it), or
    // null.
    Package* getPreference(unsigned int code, Context context) const;
    bool isPreferenceRegistered(unsigned int code, Context context) const;
    // Stores the package for the context; with publish its update event follows.
    void setPreference(const Package& package, Context context, bool publish);
    // Gives the store's packages of a context back to their owners, then checks integrity.
    void setMyPrefs(const PackageStore& store, Context context);
    // Makes the open project carry the add-on's version record when versions are checked.
    void checkVersion();
    // The add-on's project module data (the caller deletes it): empty when the project has none,
    // null when the host cannot give it. Its data version and byte order (1 this platform's, 2 the
    // other) are answered.
    MemoryBlock* getOwnerData(Int32& version, Int32& byteOrder) const;
    // Validates the event's store, writes it as module data and gives it to the project.
    void validatePrefs(ModuleEvent& event);
    // Writes the export form of the event's store as module data, with what the project's data
    // held that no package takes.
    void exportPrefs(ModuleEvent& event);
    // The preference file of a user or shared context (the caller deletes it), made when asked
    // (the shared folder and file are then given full access, and what the call made in the
    // user's own context owner access); null when the folder or the file does not exist or cannot
    // be made. `error` (where given) receives NoError with a file, ErrNotFound when the file or
    // its folder is not there, ErrPermission for another user's entry at the user file's name in
    // a folder others could write, for another user's entry at the name of the folder taken for the
    // user's file, and for a system folder refused as not the user's to use, and another error when
    // the system's folder could not be found, the folder not opened or made, or the file not told
    // or made.
    DataFile* getPrefsFile(Context context, bool create, GSErrCode* error = nullptr) const;
    // The preference file's name: a reverse-domain prefix, the product name in lower case
    // without white space, and ".xml".
    String getPrefsFileName() const;

    // The one door of every host callback: records the entry, dispatches the event and catches
    // every exception. The entry depth and the in-project-event flag are restored on the way out,
    // whatever happened.
    void publishExternalEvent(Event& event, bool resetDepth);
    // The entry bookkeeping: the depth starts at 1 (or grows by one), the bundle stays loaded and
    // an outermost entry resets the per-entry state. False when that failed.
    bool recordEntry(bool resetDepth);
    // Writes a context's packages; a failure, or an exception (reported as unexpected), is told
    // on the console for a context holding packages (but for a file kept because it could not be
    // read, told of then) and leaves the other contexts to be written. Answers whether they were.
    bool savePrefs(Context context);
    // Runs work that the host starts outside any host callback (palette actions and close
    // requests) as an entry of its own: recorded without a reset, every exception caught and
    // reported, the depth and flag restored.
    void runExternalEntry(const std::function<void()>& work);

    // The add-on's library configuration, made on first request and kept for the add-on's life.
    ZelvaneLibrary& getLibraryConfiguration();

    // The supervisor this add-on belongs to (a new one of its own when it lost the one it joined).
    Supervisor& getSupervisor();
    bool ownsSupervisor() const { return m_ownsSupervisor; }
    UInt32 getEntryDepth() const { return m_entryDepth; }
    bool isDatabaseRun() const { return m_databaseRun; }
    bool isInProjectEvent() const { return m_inProjectEvent; }
    // The project's module data could not be read: its packages are not written until it is.
    bool isProjectDataUnread() const { return m_projectData != Source::read; }
    // The context's file or module data was not read, or could not be: its packages are not
    // written over it until it is. A file found absent counts as read.
    bool isPrefsUnread(Context context) const;

protected:
    // For an override of getUserPrefsDirectory that answers null for want of a folder it could not
    // have: keeps why, as `folder`'s last use answered it (its make, say), for
    // takeUserPrefsDirectory to tell: another user's entry at its name or on its way, an entry that
    // is not a folder at its name, or the failure itself. What was kept holds for the call it was
    // kept in: takeUserPrefsDirectory forgets it before each call.
    void keepUserPrefsFailure(const Directory& folder) const;

private:
    friend class Supervisor;

    // What became of a context's source (its file, or the project's module data) when it was last
    // read: read; found absent, or not read (a context without packages, or a reading stopped
    // before its end), so that a file is only made where none is; or kept, since it could not be
    // read, which the user was told then. Only a source read, or written by this add-on, is
    // written over or erased.
    enum class Source { read, absent, unread, kept };

    // Makes a supervisor of this add-on's own (it is its first member).
    void makeOwnSupervisor();
    void deleteOwnSupervisor();
    // Called by a supervisor that takes this add-on as a member.
    void attachSupervisor(Supervisor& supervisor);
    // Called by a supervisor that is deleted while this add-on belongs to it.
    void detachSupervisor(Supervisor* supervisor);
    // Runs reportUnexpectedFailure, which must not throw out of a host callback either.
    void reportFailure();

    // What a preset-using add-on does as a project opens: its embedded library files are made
    // and registered, then an empty preset database takes the product's starter presets.
    void addEmbeddedFiles();
    void importStarterPresets();
    // At a library change: the library configuration is read again when its part changed, and a
    // configuration of another version is warned about.
    void checkLibraryConfiguration();

    // The preference file's object in its folder (made with makeFolder; `madeFolder`, where given,
    // receives whether it was), whether or not the file is there; null, with the error
    // (ErrNotFound for a folder not there), without a folder; an entry that is not a folder at the
    // folder's name is kept to be told as such (ErrExists or ErrParam, as its make or its look
    // answered). The user's own folder is taken through takeUserPrefsDirectory and closed to other
    // users first (closeUserPrefsFolder): another user's folder on the way or entry found at the
    // file's name then gives null and ErrPermission, the folder or file refused kept to be told.
    DataFile* locatePrefsFile(Context context, bool makeFolder, GSErrCode& error,
                              bool* madeFolder = nullptr) const;
    // Where users other than the player may write the user's own preference folder, makes it the
    // player's alone to write (group and others keep what else they had), through its descriptor,
    // telling the user when `told`. False when another user's entry (a file, FIFO, device or link)
    // stands at the file's name, whatever the folder's mode, or the folder is another user's
    // (fileio::whyNotPlayersFolder), kept as the entry refused (the file, or the folder): it is not
    // the player's to read or write.
    bool closeUserPrefsFolder(const DataFile& file, bool told) const;
    // Where a use of the user's own preference folder or file (`use`) was refused for a folder that
    // is not the player's as the use held it (File::isFolderRefused), keeps the folder as refused
    // (its own, or the file's) and why, to be told as a folder refused at the look is.
    void keepRefusedFolder(const Directory& use) const;
    void keepRefusedFolder(const DataFile& use) const;
    // Where the system refuses the context's folder as not the user's to use (Platform), the folder
    // as the user knows it and why ("the user preferences folder: ..."); empty otherwise.
    String whySystemRefuses(Context context) const;
    // Gives the preference file and its folder their access: every user's full access in the
    // shared context, whose file every user of the machine is to change; in the user's own, owner
    // access to what the call made (`folderMade`, `fileMade`), others keeping what they had, and
    // nothing to what the user had.
    static void allowAccess(const DataFile& file, Context context, bool folderMade, bool fileMade);

    PackageStore& preferenceStore();
    // Whether any package is registered for the context.
    bool holdsPackages(Context context) const;
    // What a context's file or module data held that no package took, written back with its
    // packages.
    UnknownElements& unknownElements(Context context);
    // The console's name of a context's preferences: the context and the add-on's name.
    String describePrefs(Context context) const;
    // A user or shared preference file as the user finds it: the name of the system's folder, then
    // the file's path inside it.
    String describePrefsFile(Context context) const;
    // A preference folder as the user finds it: the name of the system's folder, then "Zelvane".
    String describePrefsFolder(Context context) const;
    // Whether the folder of the context's preference file (getUserPrefsDirectory or
    // getSharedDataDirectory) is there now.
    bool hasPrefsFolder(Context context) const;
    void reportPrefsNotWritten(Context context) const;
    // Keeps a context's source that could not be read, and tells the console and the add-on's
    // failure report.
    void reportPrefsUnread(Context context);
    // What became of a context's source.
    static Source Addon::*sourceOf(Context context);
    // Stores the store's data, with what `kept` holds of the data read, as the project's module
    // data; nothing for empty data. False when the packages could not be exported or the host
    // refused the data.
    bool writeModuleData(const PackageStore& store, const UnknownElements* kept = nullptr) const;
    // What a module event's write of the project's data keeps of the data it replaces: what the
    // event's store read of it, else what the add-on read; null when that data could not be read.
    const UnknownElements* projectDataKept(const ModuleEvent& event);
    // Writes the store as the project's data for a module event with what it keeps, and tells a
    // failure (but for data kept because it could not be read, told of then).
    bool writeEventData(const ModuleEvent& event, const PackageStore& store);

    Supervisor* m_supervisor = nullptr;
    SupervisorLink* m_supervisorLink = nullptr;
    // The project packages' codes, in registration order.
    std::unique_ptr<std::vector<unsigned int>> m_projectPrefs;
    // The user and shared packages; made on first need.
    std::unique_ptr<PackageStore> m_preferenceStore;
    // The context of each user or shared package.
    std::unique_ptr<std::map<unsigned int, Context>> m_contexts;
    std::unique_ptr<UnknownElements> m_userUnknown;
    std::unique_ptr<UnknownElements> m_sharedUnknown;
    std::unique_ptr<UnknownElements> m_projectUnknown;
    std::unique_ptr<ZelvaneLibrary> m_libraryConfiguration;
    UInt32 m_entryDepth = 0;
    bool m_ownsSupervisor = false;
    bool m_databaseRun = false;
    bool m_inProjectEvent = false;
    // The project's data is taken as read until a project is opened; the files are read at the
    // initialisation, and until then only made where there is none.
    Source m_projectData = Source::read;
    Source m_userFile = Source::unread;
    Source m_sharedFile = Source::unread;
    // The preference folder or file last refused as not the player's, or not had for an entry that
    // is not a folder at its name, as the user finds it, and why ("Preferences/Zelvane: it is
    // another user's entry..."); empty when the last look at the context's folder took it. It is
    // told in place of the file's name, with no report of an unexpected failure unless
    // m_refusalUnexpected says so.
    mutable String m_refusal;
    // Whether m_refusal tells a failure no rule of the framework explains (the add-on's own folder
    // not made for want of room, say), which the add-on's failure report tells as well.
    mutable bool m_refusalUnexpected = false;
    // Why getUserPrefsDirectory last answered null, as the add-on kept it (keepUserPrefsFailure),
    // and the host error code of the use that failed.
    mutable String m_userFolderFailure;
    mutable GSErrCode m_userFolderError = NoError;
};

// Set by the bundle's entry points for the add-on's life; null outside it.
extern Addon* addon;

} // namespace zelvane
