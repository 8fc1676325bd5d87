#include "sim/Dialogs.h"

#include "DG/DGInternal.hpp"
#include "DG/DGUserItem.hpp"
#include "sim/Escaped.h"
#include "sim/JsonText.h"
#include "sim/Lists.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <deque>
#include <limits>

namespace sim {
namespace {

struct DialogTable {
    std::map<short, PanelState> panels;
    short lastId = 0;
    std::map<short, std::deque<DialogScript>> scripts;
    std::vector<DialogRecord> records;
    std::map<short, std::size_t> recordOf; // panel ID to its record
    std::deque<short> alertAnswers;
    std::vector<AlertRecord> alerts;
};

DialogTable& table() {
    static auto* instance = new DialogTable;
    return *instance;
}

const bool registered = registerReset([] {
    DialogTable& t = table();
    t.panels.clear();
    t.lastId = 0;
    t.scripts.clear();
    t.records.clear();
    t.recordOf.clear();
    t.alertAnswers.clear();
    t.alerts.clear();
});

bool isAttached(const std::vector<DG::EventObserver*>& list, DG::EventObserver* observer) {
    return std::find(list.begin(), list.end(), observer) != list.end();
}

// Notifies over a snapshot; each observer is looked up again before it is called, so that one
// detached, destroyed or whose panel closed meanwhile is skipped.
template <class Observer, class Call>
void notifyPanel(short id, Call call) {
    PanelState* panel = findPanel(id);
    if (panel == nullptr) {
        return;
    }
    std::vector<DG::EventObserver*> snapshot = panel->observers;
    for (DG::EventObserver* observer : snapshot) {
        panel = findPanel(id);
        if (panel == nullptr) {
            return;
        }
        if (!isAttached(panel->observers, observer)) {
            continue;
        }
        if (auto* typed = dynamic_cast<Observer*>(observer)) {
            call(*typed);
        }
    }
}

DialogRecord* recordOf(short id) {
    auto it = table().recordOf.find(id);
    return it == table().recordOf.end() ? nullptr : &table().records[it->second];
}

void fail(short id, const std::string& why) {
    if (DialogRecord* record = recordOf(id)) {
        record->failures.push_back(why);
    }
}

bool isText(const std::string& kind) {
    return kind == "leftText" || kind == "centerText" || kind == "rightText";
}

const char* actionName(DialogAction::Kind kind) {
    static const char* const names[] = {"click",      "doubleClick",    "setText",  "typeCharacter",
                                        "leaveFocus", "selectRow",      "toggle",   "resize",
                                        "hotKey",     "drop",           "closeOK",  "closeCancel",
                                        "clickRow",   "doubleClickRow", "editCell", "clickHeader",
                                        "dragHeader", "resizeHeader",   "dragRows", "redraw"};
    return names[kind];
}

std::string encodeUTF8(UInt32 code) {
    std::string out;
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
    return out;
}

// The user item's update: a drawing context over its recording, the dirty rectangle its whole
// size. The recording is held while the observers run, so that one closing the panel does not
// pull it from under the others.
void updateUserItem(short id, short number) {
    PanelState* panel = findPanel(id);
    ItemState* item = panel != nullptr ? panel->findItem(number) : nullptr;
    if (item == nullptr || item->kind != "userItem" || !item->visible) {
        return;
    }
    if (!item->drawing) {
        item->drawing = std::make_shared<NewDisplay::Recording>();
    }
    std::shared_ptr<NewDisplay::Recording> drawing = item->drawing;
    drawing->dirty =
        NewDisplay::Rect{0.0, 0.0, double(item->right - item->left), double(item->bottom - item->top)};
    ++item->updates;
    DGUserUpdateData update;
    update.dialogID = id;
    update.itemID = number;
    update.drawContext = drawing.get();
    update.left = item->left;
    update.top = item->top;
    update.right = item->right;
    update.bottom = item->bottom;
    DG::UserItemUpdateEvent event(update);
    notifyItem<DG::UserItemObserver>(id, number, [&](auto& o) { o.UserItemUpdate(event); });
}

// The user items of the panel and of its tab pages, in item order: all of them, or those the
// program asked to redraw. Each asks again only after its update.
void updateUserItems(short id, bool pendingOnly) {
    std::vector<std::pair<short, short>> targets;
    for (auto& [panelId, panel] : table().panels) {
        if (panelId != id && !(panel.kind == PanelState::tabPage && panel.parent == id)) {
            continue;
        }
        for (auto& [number, item] : panel.items) {
            if (item.kind == "userItem" && (item.redrawPending || !pendingOnly)) {
                item.redrawPending = false;
                targets.emplace_back(panelId, number);
            }
        }
    }
    for (const auto& [panelId, number] : targets) {
        updateUserItem(panelId, number);
    }
}

// Close requests and aborts posted while the last action's notifications ran.
void processPending(short id) {
    for (;;) {
        PanelState* panel = findPanel(id);
        if (panel == nullptr || panel->closed) {
            return;
        }
        if (panel->pendingAbort) {
            panel->pendingAbort = false;
            panel->pendingClose = 0;
            panel->closed = true;
            panel->result = DG::ModalDialog::Cancel;
            return;
        }
        int response = panel->pendingClose;
        if (response == 0) {
            return;
        }
        panel->pendingClose = 0;
        bool accepted = true;
        notifyPanel<DG::PanelObserver>(id, [&](DG::PanelObserver& observer) {
            observer.PanelCloseRequested(DG::PanelCloseRequestEvent(id, response == DG::ModalDialog::Accept),
                                         &accepted);
        });
        panel = findPanel(id);
        if (panel == nullptr) {
            return;
        }
        if (!accepted) {
            if (DialogRecord* record = recordOf(id)) {
                ++record->refusedCloses;
            }
        } else if (panel->kind == PanelState::modal) {
            panel->closed = true;
            panel->result = response;
            return;
        }
    }
}

void performOnItem(short owner, short id, const DialogAction& action) {
    std::string what = std::string(actionName(action.kind)) + " " + std::to_string(action.item);
    PanelState* panel = findPanel(id);
    ItemState* item = panel->findItem(action.item);
    if (item == nullptr) {
        return fail(owner, what + ": no such item");
    }
    if (action.kind == DialogAction::redraw) {
        if (item->kind != "userItem") {
            return fail(owner, what + ": not a user item");
        }
        if (!item->visible) {
            return fail(owner, what + ": the item is hidden");
        }
        return updateUserItem(id, action.item);
    }
    if (!item->enabled) {
        return fail(owner, what + ": the item is disabled");
    }
    if (!item->visible) {
        return fail(owner, what + ": the item is hidden");
    }
    std::string failure;
    if (internal::performRowAction(id, action, failure)) {
        if (!failure.empty()) {
            fail(owner, what + ": " + failure);
        }
        return;
    }
    short number = action.item;
    DG::ItemEvent event(id, number);
    switch (action.kind) {
    case DialogAction::click:
        if (item->kind == "button") {
            notifyItem<DG::ButtonItemObserver>(id, number, [&](auto& o) { o.ButtonClicked(event); });
        } else if (isText(item->kind)) {
            notifyItem<DG::StaticTextObserver>(id, number, [&](auto& o) { o.StaticTextClicked(event); });
        } else if (item->kind == "checkBox") {
            item->value = item->value != 0 ? 0 : 1;
            notifyItem<DG::CheckItemObserver>(id, number, [&](auto& o) { o.CheckItemChanged(event); });
        } else {
            fail(owner, what + ": a " + item->kind + " cannot be clicked");
        }
        return;
    case DialogAction::doubleClick:
        if (!isText(item->kind)) {
            return fail(owner, what + ": a " + item->kind + " cannot be double-clicked");
        }
        notifyItem<DG::StaticTextObserver>(id, number, [&](auto& o) { o.StaticTextDoubleClicked(event); });
        return;
    case DialogAction::setText:
        if (item->kind != "textEdit") {
            return fail(owner, what + ": a " + item->kind + " cannot be edited");
        }
        panel->focus = number;
        item->text = action.text;
        notifyItem<DG::TextEditBaseObserver>(id, number, [&](auto& o) { o.TextEditChanged(event); });
        return;
    case DialogAction::typeCharacter: {
        if (item->kind != "textEdit") {
            return fail(owner, what + ": a " + item->kind + " cannot be typed into");
        }
        panel->focus = number;
        bool deny = false;
        DG::ItemCharEnterEvent charEvent(id, number, UInt32(action.value));
        notifyItem<DG::ItemObserver>(id, number, [&](auto& o) { o.ItemCharEntered(charEvent, &deny); });
        panel = findPanel(id);
        item = panel != nullptr ? panel->findItem(number) : nullptr;
        if (deny || item == nullptr) {
            return;
        }
        item->text += encodeUTF8(UInt32(action.value));
        notifyItem<DG::TextEditBaseObserver>(id, number, [&](auto& o) { o.TextEditChanged(event); });
        return;
    }
    case DialogAction::leaveFocus:
        if (panel->focus == number) {
            panel->focus = 0;
        }
        notifyItem<DG::ItemObserver>(id, number, [&](auto& o) { o.ItemFocusLost(event); });
        return;
    case DialogAction::selectRow:
        if (item->kind != "popup") {
            return fail(owner, what + ": a " + item->kind + " has no rows to select");
        }
        if (action.value < 0 || std::size_t(action.value) >= item->rows.size()) {
            return fail(owner, what + ": no row " + std::to_string(action.value));
        }
        item->value = short(action.value + 1);
        notifyItem<DG::PopUpObserver>(id, number, [&](auto& o) { o.PopUpChanged(event); });
        return;
    case DialogAction::toggle:
        if (item->kind != "checkBox") {
            return fail(owner, what + ": a " + item->kind + " cannot be toggled");
        }
        item->value = item->value != 0 ? 0 : 1;
        notifyItem<DG::CheckItemObserver>(id, number, [&](auto& o) { o.CheckItemChanged(event); });
        return;
    default:
        return;
    }
}

void performOnPanel(short owner, short id, const DialogAction& action) {
    std::string what = actionName(action.kind);
    PanelState* panel = findPanel(id);
    switch (action.kind) {
    case DialogAction::resize: {
        short hGrow = (panel->grow & 1) != 0 ? action.h : 0;
        short vGrow = (panel->grow & 2) != 0 ? action.v : 0;
        if (hGrow == 0 && vGrow == 0) {
            return fail(owner, what + ": the dialog cannot grow that way");
        }
        hGrow = short(std::max<int>(panel->minWidth, panel->width + hGrow) - panel->width);
        vGrow = short(std::max<int>(panel->minHeight, panel->height + vGrow) - panel->height);
        notifyPanel<DG::PanelObserver>(
            id, [&](auto& o) { o.PanelResizeEntered(DG::PanelResizeEvent(id, true, 0, 0)); });
        if ((panel = findPanel(id)) == nullptr) {
            return;
        }
        panel->width = short(panel->width + hGrow);
        panel->height = short(panel->height + vGrow);
        DG::PanelResizeEvent event(id, true, hGrow, vGrow);
        notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelResized(event); });
        notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelResizeExited(event); });
        return;
    }
    case DialogAction::hotKey: {
        auto it = std::find_if(panel->hotKeys.begin(), panel->hotKeys.end(),
                               [&](const HotKey& key) { return key.id == action.value; });
        if (it == panel->hotKeys.end()) {
            return fail(owner, what + ": no hot key " + std::to_string(action.value));
        }
        if (!panel->hotKeysEnabled) {
            return fail(owner, what + ": the hot keys are disabled");
        }
        bool processed = false;
        DG::PanelHotKeyEvent event(id, short(action.value));
        notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelHotkeyPressed(event, &processed); });
        return;
    }
    case DialogAction::drop: {
        if (!panel->dragDrop) {
            return fail(owner, what + ": the panel takes no drops");
        }
        DG::PanelDragDropEvent event(id, action.h, action.v);
        DG::DragDropEffect effect = DG::DragDrop_Reject;
        bool handled = false;
        notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelDragEntered(event, &effect, &handled); });
        notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelDragMoved(event, &effect, &handled); });
        if (effect == DG::DragDrop_Reject) {
            return fail(owner, what + ": the drop was refused");
        }
        notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelDropped(event, &effect, &handled); });
        return;
    }
    case DialogAction::closeOK:
    case DialogAction::closeCancel:
        panel->pendingClose =
            action.kind == DialogAction::closeOK ? DG::ModalDialog::Accept : DG::ModalDialog::Cancel;
        return;
    default:
        return performOnItem(owner, id, action);
    }
}

void perform(short id, const DialogAction& action) {
    short target = id;
    if (action.page != 0) {
        target = 0;
        for (auto& [pageId, page] : table().panels) {
            if (page.kind == PanelState::tabPage && page.parent == id && page.resourceID == action.page) {
                target = pageId;
                break;
            }
        }
        if (target == 0) {
            return fail(id, std::string(actionName(action.kind)) + ": no tab page " +
                                std::to_string(action.page));
        }
    }
    performOnPanel(id, target, action);
}

std::size_t newRecord(const PanelState& panel, bool modal, bool scripted) {
    DialogRecord record;
    record.resourceID = panel.resourceID;
    record.panelID = panel.id;
    record.modal = modal;
    record.scripted = scripted;
    table().records.push_back(record);
    table().recordOf[panel.id] = table().records.size() - 1;
    return table().records.size() - 1;
}

using nlohmann::json;

// An integer from low to high. The parser keeps every non-negative integer unsigned: read as
// signed, the largest ones would wrap round to small negative numbers.
bool isIntegerIn(const json& value, std::int64_t low, std::int64_t high) {
    if (value.is_number_unsigned()) {
        return high >= 0 && value.get<std::uint64_t>() <= std::uint64_t(high);
    }
    return value.is_number_integer() && value.get<std::int64_t>() >= low && value.get<std::int64_t>() <= high;
}

bool readShort(const json& object, const char* key, short& out, std::string& error,
               const std::string& where) {
    if (!object.contains(key)) {
        return true;
    }
    const json& value = object[key];
    if (!isIntegerIn(value, std::numeric_limits<short>::min(), std::numeric_limits<short>::max())) {
        error = where + "." + key + ": expected a 16-bit integer";
        return false;
    }
    out = short(value.get<std::int64_t>());
    return true;
}

bool readAction(const json& value, const std::string& where, DialogAction& action, std::string& error) {
    if (!value.is_object() || !value.contains("do") || !value["do"].is_string()) {
        error = where + ": an action is an object with \"do\"";
        return false;
    }
    std::string kind = value["do"].get<std::string>();
    int found = -1;
    for (int k = DialogAction::click; k <= DialogAction::redraw; ++k) {
        if (kind == actionName(DialogAction::Kind(k))) {
            found = k;
        }
    }
    if (found < 0) {
        error = where + ": unknown action " + escaped(kind);
        return false;
    }
    action.kind = DialogAction::Kind(found);
    for (auto it = value.begin(); it != value.end(); ++it) {
        static const char* const known[] = {"do", "item", "page", "text", "value", "h", "v"};
        if (std::none_of(std::begin(known), std::end(known),
                         [&](const char* key) { return it.key() == key; })) {
            error = where + ": unknown member " + escaped(it.key());
            return false;
        }
    }
    if (!readShort(value, "item", action.item, error, where) ||
        !readShort(value, "page", action.page, error, where) ||
        !readShort(value, "h", action.h, error, where) || !readShort(value, "v", action.v, error, where)) {
        return false;
    }
    if (value.contains("value")) {
        const json& number = value["value"];
        if (number.is_string() && number.get<std::string>().size() == 1) {
            action.value =
                Int32(static_cast<unsigned char>(number.get<std::string>()[0])); // a typed character
        } else if (isIntegerIn(number, std::numeric_limits<Int32>::min(),
                               std::numeric_limits<Int32>::max())) {
            action.value = Int32(number.get<std::int64_t>());
        } else {
            error = where + ".value: expected a 32-bit integer or one character";
            return false;
        }
    }
    if (value.contains("text")) {
        if (!value["text"].is_string()) {
            error = where + ".text: expected a text";
            return false;
        }
        action.text = value["text"].get<std::string>();
    }
    return true;
}

} // namespace

bool queueScriptedAnswers(std::string_view text, std::string* error) {
    std::string message;
    auto failed = [&](std::string why) {
        if (error != nullptr) {
            *error = std::move(why);
        }
        return false;
    };
    json root = parseJson(text, message);
    if (root.is_discarded()) {
        return failed("the answers are not read: " + message);
    }
    if (!root.is_object()) {
        return failed("the answers are not a JSON object");
    }
    std::vector<std::pair<short, DialogScript>> scripts;
    std::vector<short> answers;
    int cancelAt = -1;
    try {
        for (auto it = root.begin(); it != root.end(); ++it) {
            if (it.key() == "dialogs") {
                if (!it.value().is_object()) {
                    return failed("dialogs: expected an object keyed by dialog resource ID");
                }
                for (auto dialog = it.value().begin(); dialog != it.value().end(); ++dialog) {
                    std::string where = "dialogs." + escapedMember(dialog.key());
                    std::size_t used = 0;
                    long id = 0;
                    try {
                        id = std::stol(dialog.key(), &used);
                    } catch (...) {
                        used = 0;
                    }
                    if (used == 0 || used != dialog.key().size() || id < std::numeric_limits<short>::min() ||
                        id > std::numeric_limits<short>::max()) {
                        return failed(where + ": not a 16-bit resource ID");
                    }
                    if (!dialog.value().is_array()) {
                        return failed(where + ": expected a list of scripts");
                    }
                    for (std::size_t s = 0; s < dialog.value().size(); ++s) {
                        const json& list = dialog.value()[s];
                        std::string at = where + "[" + std::to_string(s) + "]";
                        if (!list.is_array()) {
                            return failed(at + ": a script is a list of actions");
                        }
                        DialogScript script;
                        for (std::size_t a = 0; a < list.size(); ++a) {
                            DialogAction action;
                            if (!readAction(list[a], at + "[" + std::to_string(a) + "]", action, message)) {
                                return failed(message);
                            }
                            script.push_back(action);
                        }
                        scripts.emplace_back(short(id), std::move(script));
                    }
                }
            } else if (it.key() == "alerts") {
                if (!it.value().is_array()) {
                    return failed("alerts: expected a list of button numbers");
                }
                for (const json& answer : it.value()) {
                    if (!isIntegerIn(answer, 1, 3)) {
                        return failed("alerts: the answers are buttons 1 to 3");
                    }
                    answers.push_back(short(answer.get<std::int64_t>()));
                }
            } else if (it.key() == "progressCancelAt") {
                if (!isIntegerIn(it.value(), 0, std::numeric_limits<int>::max())) {
                    return failed("progressCancelAt: expected a query number from 1, or 0 for never");
                }
                cancelAt = int(it.value().get<std::int64_t>());
            } else {
                return failed("unknown member " + escaped(it.key()));
            }
        }
    } catch (const std::exception& e) {
        return failed(e.what());
    }
    for (auto& [id, script] : scripts) {
        queueDialogScript(id, script);
    }
    for (short answer : answers) {
        queueAlertAnswer(answer);
    }
    if (cancelAt >= 0) {
        cancelProgressAtQuery(cancelAt);
    }
    return true;
}

ItemState* PanelState::findItem(short number) {
    auto it = items.find(number);
    return it == items.end() ? nullptr : &it->second;
}

PanelState* findPanel(short id) {
    auto it = table().panels.find(id);
    return it == table().panels.end() ? nullptr : &it->second;
}

std::vector<short> panelsOf(short resourceID) {
    std::vector<short> ids;
    for (auto& [id, panel] : table().panels) {
        if (panel.resourceID == resourceID) {
            ids.push_back(id);
        }
    }
    return ids;
}

void queueDialogScript(short resourceID, const DialogScript& script) {
    table().scripts[resourceID].push_back(script);
}

std::size_t pendingDialogScripts(short resourceID) {
    auto it = table().scripts.find(resourceID);
    return it == table().scripts.end() ? 0 : it->second.size();
}

bool actOnPalette(short resourceID, const DialogScript& actions) {
    for (short id : panelsOf(resourceID)) {
        PanelState* panel = findPanel(id);
        if (panel->kind != PanelState::palette || !panel->processing) {
            continue;
        }
        for (const DialogAction& action : actions) {
            panel = findPanel(id);
            if (panel == nullptr || !panel->processing) {
                break;
            }
            perform(id, action);
            processPending(id);
            if ((panel = findPanel(id)) != nullptr && panel->processing) {
                updateUserItems(id, true);
            }
        }
        return true;
    }
    return false;
}

const std::vector<DialogRecord>& dialogs() {
    return table().records;
}

void queueAlertAnswer(short button) {
    table().alertAnswers.push_back(button);
}

std::size_t pendingAlertAnswers() {
    return table().alertAnswers.size();
}

const std::vector<AlertRecord>& alerts() {
    return table().alerts;
}

namespace internal {

short createPanel(PanelState::Kind kind, GSResModule module, short resourceID, short parent) {
    const ResourceFile* file = resources(module);
    const DialogTemplate* dialog = file != nullptr ? file->findDialog(resourceID) : nullptr;
    if (dialog == nullptr) {
        return 0;
    }
    DialogTable& t = table();
    short id = t.lastId;
    do {
        id = short(id >= 32767 ? 1 : id + 1);
    } while (t.panels.count(id) != 0);
    t.lastId = id;
    PanelState& panel = t.panels[id];
    panel.id = id;
    panel.resourceID = resourceID;
    panel.module = module;
    panel.kind = kind;
    panel.parent = parent;
    panel.title = dialog->title;
    panel.width = dialog->width;
    panel.height = dialog->height;
    panel.minWidth = dialog->minWidth;
    panel.minHeight = dialog->minHeight;
    panel.grow = dialog->grow;
    panel.left = 100;
    panel.top = 100;
    for (const ItemTemplate& source : dialog->items) {
        ItemState& item = panel.items[source.number];
        item.number = source.number;
        item.kind = source.kind;
        item.left = source.left;
        item.top = source.top;
        item.right = source.right;
        item.bottom = source.bottom;
        item.text = source.text;
        item.enabled = source.enabled;
        item.visible = source.visible;
        item.image = source.image;
        item.rows = source.rows;
    }
    return id;
}

void destroyPanel(short id) {
    table().panels.erase(id);
    table().recordOf.erase(id);
}

void detachEverywhere(DG::EventObserver* observer) {
    auto remove = [observer](std::vector<DG::EventObserver*>& list) {
        list.erase(std::remove(list.begin(), list.end(), observer), list.end());
    };
    for (auto& [id, panel] : table().panels) {
        remove(panel.observers);
        for (auto& [number, item] : panel.items) {
            remove(item.observers);
        }
    }
}

int runModal(short id) {
    PanelState* panel = findPanel(id);
    if (panel == nullptr) {
        return DG::ModalDialog::Cancel;
    }
    panel->visible = true;
    panel->closed = false;
    panel->pendingClose = 0;
    panel->pendingAbort = false;
    DialogScript script;
    auto& queue = table().scripts[panel->resourceID];
    bool scripted = !queue.empty();
    if (scripted) {
        script = queue.front();
        queue.pop_front();
    }
    std::size_t index = newRecord(*panel, true, scripted);

    notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelOpened(DG::EventBase(id, 0)); });
    if ((panel = findPanel(id)) != nullptr) {
        table().records[index].title = panel->title;
    }
    updateUserItems(id, false);
    processPending(id);
    for (std::size_t i = 0; i < script.size(); ++i) {
        panel = findPanel(id);
        if (panel == nullptr || panel->closed) {
            table().records[index].failures.push_back(std::to_string(script.size() - i) +
                                                      " action(s) left: the dialog had closed");
            break;
        }
        perform(id, script[i]);
        processPending(id);
        if ((panel = findPanel(id)) != nullptr && !panel->closed) {
            updateUserItems(id, true);
        }
    }
    panel = findPanel(id);
    if (panel != nullptr && !panel->closed) {
        table().records[index].forcedCancel = true;
        panel->closed = true;
        panel->result = DG::ModalDialog::Cancel;
    }
    int result = panel != nullptr ? panel->result : DG::ModalDialog::Cancel;
    table().records[index].result = result;
    if (panel != nullptr) {
        for (const auto& [number, item] : panel->items) {
            table().records[index].texts[number] = item.text;
            if (item.drawing) {
                table().records[index].drawings[number] = item.drawing->calls;
            }
        }
        panel->visible = false;
        DG::PanelCloseEvent event(id, result == DG::ModalDialog::Accept);
        notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelClosed(event); });
    }
    return result;
}

void openPalette(short id) {
    PanelState* panel = findPanel(id);
    if (panel == nullptr) {
        return;
    }
    std::size_t index = newRecord(*panel, false, false);
    notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelOpened(DG::EventBase(id, 0)); });
    if ((panel = findPanel(id)) != nullptr) {
        table().records[index].title = panel->title;
    }
    updateUserItems(id, false);
    processPending(id);
}

void endPalette(short id) {
    PanelState* panel = findPanel(id);
    if (panel == nullptr || !panel->processing) {
        return;
    }
    panel->processing = false;
    panel->visible = false;
    notifyPanel<DG::PanelObserver>(id, [&](auto& o) { o.PanelClosed(DG::PanelCloseEvent(id, false)); });
}

std::string toUTF8(const GS::UniString& text) {
    return text.ToUTF8();
}

short answerAlert(AlertRecord record) {
    auto& queue = table().alertAnswers;
    record.scripted = !queue.empty();
    record.answer = 1;
    if (record.scripted) {
        record.answer = queue.front();
        queue.pop_front();
    }
    table().alerts.push_back(record);
    return record.answer;
}

} // namespace internal
} // namespace sim
