// The simulated host's dialog manager: the state of every live panel and item, the scripts that
// act as the user in modal dialogs and palettes, the alert queue and the progress window.
//
// A script is plain data (DialogAction), so that a scenario file can be translated into one.
// Each action checks that its item exists, is enabled and visible, and fires the notifications a
// user's action would; changes made by the program through DG fire none. Close requests and
// aborts are processed after the current notification returns.
#pragma once

#include "DG/DGPanel.hpp"
#include "Display/NativeContext.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GSRoot/RS.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

struct RowModel; // sim/Lists.h

struct ItemState {
    short number = 0;
    std::string kind; // as in the dialog template
    short left = 0, top = 0, right = 0, bottom = 0;
    std::string text; // UTF-8
    bool enabled = true;
    bool visible = true;
    short font = 0;
    bool textColourSet = false;
    UInt16 textColour[3] = {0, 0, 0};
    bool backgroundSet = false;
    UInt16 background[3] = {0, 0, 0};
    short image = 0;
    std::vector<std::string> rows; // pop-ups and list boxes
    short value = 0;               // pop-ups: the selected host row (1-based), 0 none; check boxes: 0 or 1
    int redraws = 0;
    std::vector<DG::EventObserver*> observers; // item observers, in attachment order
    std::shared_ptr<RowModel> rowModel;        // pop-ups and list boxes: their rows, made on first use
    // User items: what their update notifications drew, every update's calls in order, and the
    // number of updates sent.
    std::shared_ptr<NewDisplay::Recording> drawing;
    int updates = 0;
    bool redrawPending = false; // the program asked for a redraw, delivered after the current action
};

struct HotKey {
    short id = 0;
    short key = 0;
    short modifiers[3] = {0, 0, 0};
};

struct PanelState {
    enum Kind { modal = 1, palette = 2, tabPage = 3 };

    short id = 0;
    short resourceID = 0;
    GSResModule module = InvalidResModule;
    Kind kind = modal;
    short parent = 0; // tab pages: the panel holding the tab control
    std::string title;
    short width = 0, height = 0;
    short minWidth = 0, minHeight = 0;
    short left = 0, top = 0;
    short grow = 0;
    Int32 fixPoint = 0;
    short zPosition = 0;
    short focus = 0;
    bool visible = false;
    bool processing = false; // palettes between BeginEventProcessing and EndEventProcessing
    bool dragDrop = false;
    bool hotKeysEnabled = true;
    std::vector<HotKey> hotKeys;
    std::map<short, ItemState> items;
    std::vector<DG::EventObserver*> observers; // panel observers, in attachment order
    int redraws = 0;

    // Modal dialogs while running.
    int pendingClose = 0; // 0 none, else DG::ModalDialog::ModalResponse
    bool pendingAbort = false;
    bool closed = false;
    int result = 2;

    ItemState* findItem(short number);
};

// The live panel of that ID, or null.
PanelState* findPanel(short id);
// The live panels of a dialog resource ID, in ID order.
std::vector<short> panelsOf(short resourceID);

// Calls `call` with each observer of that item that is an Observer, over a snapshot of the list:
// each is looked up again before it is called, so that one detached, destroyed or whose panel
// closed meanwhile is skipped.
template <class Observer, class Call>
void notifyItem(short id, short number, Call call) {
    PanelState* panel = findPanel(id);
    ItemState* item = panel != nullptr ? panel->findItem(number) : nullptr;
    if (item == nullptr) {
        return;
    }
    std::vector<DG::EventObserver*> snapshot = item->observers;
    for (DG::EventObserver* observer : snapshot) {
        panel = findPanel(id);
        item = panel != nullptr ? panel->findItem(number) : nullptr;
        if (item == nullptr) {
            return;
        }
        if (std::find(item->observers.begin(), item->observers.end(), observer) == item->observers.end()) {
            continue;
        }
        if (auto* typed = dynamic_cast<Observer*>(observer)) {
            call(*typed);
        }
    }
}

struct DialogAction {
    enum Kind {
        click,         // a button or static text
        doubleClick,   // a static text
        setText,       // replaces an edit text's text: one change notification
        typeCharacter, // one character into an edit text (value: its code)
        leaveFocus,    // the item loses the focus
        selectRow,     // a pop-up row (value: 0-based)
        toggle,        // a check box
        resize,        // the dialog grows by (h, v), not below its minimum size
        hotKey,        // presses the registered hot key of ID value
        drop,          // drags something over the panel and drops it at (h, v)
        closeOK,       // asks to close with OK (the Return key)
        closeCancel,   // asks to close with Cancel (the Escape key)
        // List boxes (sim/Lists.h); selectRow also selects one list row.
        clickRow,       // a row (value) in a tab field (h), modifier keys in text: "command+option+shift"
        doubleClickRow, // the same, twice
        editCell,       // a cell (row value, tab field h) takes the text, through its on-tab item if any
        clickHeader,    // a header item (value)
        dragHeader,     // a header item (value) dragged to position h
        resizeHeader,   // a header item (value) made h pixels wider
        dragRows,       // the selected rows dragged onto the list box value (0 none) at row h
        redraw,         // the host has a user item draw itself again (enabled or not)
    };
    Kind kind = click;
    short item = 0;
    short page = 0; // the dialog resource ID of the tab page holding the item; 0 the dialog itself
    std::string text;
    Int32 value = 0;
    short h = 0, v = 0;
};

// An action on an item of the dialog itself; what its kind does not read stays zero or empty.
inline DialogAction userAction(DialogAction::Kind kind, short item = 0, Int32 value = 0, short h = 0,
                               std::string text = std::string()) {
    DialogAction action;
    action.kind = kind;
    action.item = item;
    action.value = value;
    action.h = h;
    action.text = std::move(text);
    return action;
}

using DialogScript = std::vector<DialogAction>;

// Reads the user's answers of a scenario and queues them, all or nothing:
//   {"dialogs": {"32600": [[{"do": "setText", "item": 4, "text": "Walls"}, {"do": "click", "item": 1}]]},
//    "alerts": [1, 2],
//    "progressCancelAt": 3}
// Under "dialogs" each resource ID has a list of scripts, one per opening; an action names its
// kind in "do" (the names of DialogAction::Kind) and takes "item", "page", "text", "value", "h"
// and "v" as its kind needs. False, with the reason in `error`, for anything else.
bool queueScriptedAnswers(std::string_view json, std::string* error = nullptr);

// Scripts are taken in the order they were queued, one per modal dialog of that resource ID
// opened, so that nested dialogs take the next one.
void queueDialogScript(short resourceID, const DialogScript& script);
std::size_t pendingDialogScripts(short resourceID);

// Acts on the first live palette of that resource ID at once; false when there is none. The
// failures are added to the palette's record.
bool actOnPalette(short resourceID, const DialogScript& actions);

struct DialogRecord {
    short resourceID = 0;
    short panelID = 0;
    bool modal = true;
    bool scripted = false;              // a script was queued for it
    std::string title;                  // after it opened
    bool forcedCancel = false;          // the script ended (or there was none) with the dialog open
    int result = 0;                     // 1 accepted, 2 cancelled; 0 for a palette
    int refusedCloses = 0;              // close requests its observers refused
    std::vector<std::string> failures;  // actions that could not be performed, and why
    std::map<short, std::string> texts; // every item's text as the dialog closed
    // What each of its user items was drawn with, every update's calls in order, as it closed.
    std::map<short, std::vector<NewDisplay::Call>> drawings;
};

// Every dialog and palette shown, in order of opening. A panel's user items, and those of its
// tab pages, get an update notification (DG_MSG_UPDATE) as it opens, after its observers heard
// of the opening, and on each redraw action; one the program asks to redraw (DGRedrawItem,
// DGRedrawDialog) gets its update once the action that asked for it has been handled.
const std::vector<DialogRecord>& dialogs();

struct AlertRecord {
    short type = 0;
    std::string title, largeText, smallText;
    std::string buttons[3];
    short answer = 0;
    bool scripted = false;
};

// Alerts answer from this queue in order; one shown with the queue empty answers 1.
void queueAlertAnswer(short button);
std::size_t pendingAlertAnswers();
const std::vector<AlertRecord>& alerts();

struct ProgressRequest {
    GSType code = 0;
    std::string text; // 'IPWD', 'SPRP': the title
    Int32 value = 0;  // 'IPWD' the phase count, 'SPRP' the count, 'SPRV' the value, 'IPRV' the step
    GSErrCode answer = NoError;
};

// The progress window's latest requests, in order: at least the latest progressRequestsKept (the
// older ones are let go together once twice as many are held), so that a command that reports
// every element does not keep them all.
constexpr std::size_t progressRequestsKept = 4096;
const std::vector<ProgressRequest>& progressRequests();

// What the progress windows showed, kept as their requests come, however many there were: in order,
// each window opened, each phase begun with the value it reached, the user's cancel and each close.
// Requests the window refused show nothing.
struct ProgressEvent {
    enum Kind { opened, phase, cancelled, closed };
    Kind kind = opened;
    std::string text;  // opened, phase: the title
    Int32 value = 0;   // opened: the phase count; phase: its count; cancelled: the query it answered
    Int32 reached = 0; // phase: the value last set while it ran
};
const std::vector<ProgressEvent>& progressEvents();
bool isProgressWindowOpen();
// The user presses the window's cancel button just before the n-th (1-based) 'CANC' query of the
// window; every query from then on answers that it was cancelled. 0 never.
void cancelProgressAtQuery(int n);
// The same for the next progress window opened, one value a window in the order queued; a window
// opened with none queued follows cancelProgressAtQuery.
void queueProgressCancel(int n);

} // namespace sim
