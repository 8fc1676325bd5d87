// The facade through which the framework reaches the host application: the open project, the
// team-work user, the toolbox, menus, the host's folders, opening and saving projects, and the
// debug console and report window. One global instance, `host`, lives from load to unload; its
// per-entry state is reset at every outermost host entry.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "Environment/Guid.h"
#include "Environment/PlatformSignature.h"
#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"
#include "Interface/ScreenRect.h"

namespace zelvane {

class DataFile;
class Directory;
class ElementLink;
class Layer;
class MemoryBlock;
class Drawing;
class Library;
class Navigator;
class Plan;
class Project;
class Specification;
class Transaction;
class User;

class Host {
public:
    // The host version this build serves.
    static constexpr Int16 version = 21;

    Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    virtual ~Host();

    // The project while one is open (made on first request and kept), else null.
    Project* getProject();
    // The open project's attribute set, or null without a project.
    Specification* getFrontSpec();
    // The project's floor plan, library and navigator; null without a project.
    Plan* getFrontPlan();
    Library* getFrontLibrary();
    Navigator* getFrontNavigator();
    // The project's current drawing and front window; null without a project or when the host
    // cannot tell. The setters ask the host to switch.
    Drawing* getActiveDrawing();
    bool setActiveDrawing(const Drawing& drawing);
    Drawing* getActiveWindow();
    bool setActiveWindow(const Drawing& drawing);
    // True unless the host says that no project is open; while a hold is taken, true without
    // asking.
    bool isProjectOpen() const;
    // A hold on the open project, for work that neither opens nor closes one and asks about it
    // for every element: the host is asked once, and while any hold lasts the project counts as
    // open. False (and no hold taken) without a project; each true is ended by a release.
    bool holdOpenProject();
    void releaseOpenProject();
    // The renovation filter of the active view; the null GUID when the host cannot tell.
    Guid getActivePhaseFilter() const;

    // The current team-work user, cached until the next reset: the team member with the host's
    // user ID in a shared project, else a user with an empty name and ID 0.
    const User* getUser();

    // Whether elements act as groups (group suspension is off).
    bool isGroupActive() const;
    // Switches group suspension to the wanted state, with the floor plan as the current drawing
    // for the time of the call; true when nothing needed doing or the host toggled it.
    bool setGroupActive(bool active);
    // The current tool's element type, 0 when the host cannot tell.
    Int32 getActiveTool() const;
    // Chooses the tool of the link's element type and variation; true when the host accepted it.
    bool setActiveTool(const ElementLink& tool);
    // The default-settings dialog of the link's tool; true when the user accepted it.
    bool showToolSettings(const ElementLink& tool);
    // The host's layer chooser for the link's tool with the layer preselected; when the user
    // chooses one, the layer becomes the chosen layer (read from the attribute set) and the answer
    // is true.
    bool showLayerSelection(const ElementLink& tool, Layer& layer);
    // The host's reference of its active window, 0 when none is active.
    Int32 getActiveWindowHandle() const;
    // The screen rectangle of the monitor holding the origin; an empty one when the host cannot
    // tell.
    ScreenRect getDisplayBounds() const;

    // Bit 0 of an item's flags disables it and bit 1 checks it; the host is asked to change them
    // only when they differ from the wanted state. Item indexes are the host's (from 1).
    void setMenuEnabled(short menuID, short itemIndex, bool enabled);
    void setMenuChecked(short menuID, short itemIndex, bool checked);
    void setMenuLabel(short menuID, short itemIndex, const String& label);
    // Whether another add-on's command can be called.
    bool isCommandAvailable(UInt32 developerID, UInt32 localID, UInt32 command, UInt32 commandVersion) const;

    // The localised text at a 1-based index of a string list of the add-on's resource file; empty
    // when there is none. Texts use "$1", "$2" and "$3" as placeholders that callers replace.
    String getLocalString(short resourceID, short index) const;
    // A copy of the add-on's resource of that type and ID (the caller deletes it); null when it
    // is absent or empty.
    MemoryBlock* getResource(GSType type, short resourceID) const;
    // Reads the 'MDID' resource of that ID into the record (developer ID, local ID); false when it
    // is absent or shorter than the two IDs.
    bool getMdidResource(API_ModulID& mdid, short resourceID) const;
    // The host's language code, "INT" when the host cannot tell.
    String getLanguageID() const;
    // The host's application folder and its "Add-Ons" folder (the caller deletes them), or null.
    Directory* getHomeDirectory() const;
    Directory* getAddonsDirectory() const;

    // Asks the host to open the file as a project, or to save the open project; true on success.
    // The host's answer stays readable through getLastError until the next reset.
    bool openProject(const DataFile& file);
    bool saveProject();
    GSErrCode getLastError() const { return m_lastError; }

    void writeToConsole(const String& text) const;
    void writeReport(const String& text) const;
    void sleep(unsigned long milliseconds) const;

    // Runs the transaction: refused (false) while a project notification is handled; a
    // transaction whose initialise answers false is cancelled (true, nothing runs). The outermost
    // one runs as one undoable host command named after it, one started inside it runs directly
    // as part of it. The edit manager's changes are put back whatever happened; postProcess
    // follows with the result, which is answered.
    bool makeTransaction(Transaction& transaction);
    // False while a project notification is being handled.
    bool isTransactionAllowed() const;
    // True once a transaction was started in the current host entry, or while the host runs
    // element-database notifications.
    bool isUndoableActionAllowed() const;
    // True once a transaction was started in the current host entry.
    bool isTransactionStarted() const { return m_transactionCount != 0; }

    // Drops the per-entry state: the counters, the last error, the cached user and the project's
    // cached host data.
    void reset();

private:
    bool setMenuFlag(short menuID, short itemIndex, GSFlags flag, bool set);

    Project* m_project = nullptr;
    User* m_user = nullptr;
    UInt32 m_transactionCount = 0;
    UInt32 m_transactionID = 0;
    GSErrCode m_lastError = NoError;
    UInt32 m_openHolds = 0;
};

// The one facade of the bundle.
extern Host host;

} // namespace zelvane
