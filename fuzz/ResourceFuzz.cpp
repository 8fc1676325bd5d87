// Arbitrary text read by the simulated host as an add-on's resource file and as a scenario's
// dialog and alert answers, the two outside files that hostsim hands to the host. A failed read
// keeps what was loaded or queued before, with a reason; a successful resource read keeps every
// entry of the text (no repeated ID silently overwritten) and only valid dialog templates. Text
// nested beyond the readers' bound and integers beyond 64 bits are among the seeds.
#include "sim/Dialogs.h"
#include "sim/JsonText.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <nlohmann/json.hpp>

#include "FuzzFault.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <string_view>

namespace {

using nlohmann::json;

// What an add-on had loaded before the text came.
constexpr char const* loadedBefore = R"({
  "strings": {"32700": ["Error", "OK"]},
  "menus": {"32500": {"title": "Remap", "items": ["IFC", "DWG"]}},
  "dialogs": {"32600": {"title": "Name", "size": [320, 112], "grow": 1, "items": [
    {"number": 1, "kind": "button", "rect": [226, 76, 306, 98], "text": "OK"},
    {"number": 4, "kind": "textEdit", "rect": [10, 10, 300, 30], "rows": ["a"], "pages": [1, 2]}]}},
  "data": {"MDID": {"32500": {"uint32": [1234, 1]}}}
})";

// Every value of a resource file, in a canonical text.
std::string describe(sim::ResourceFile const& file) {
    json out;
    for (auto const& [id, texts] : file.strings) {
        out["strings"][std::to_string(id)] = texts;
    }
    for (auto const& [id, menu] : file.menus) {
        out["menus"][std::to_string(id)] = {menu.id, menu.title, menu.items};
    }
    for (auto const& [id, dialog] : file.dialogs) {
        json items = json::array();
        for (auto const& item : dialog.items) {
            items.push_back({item.number, item.kind, item.left, item.top, item.right, item.bottom, item.text,
                             item.enabled, item.visible, item.rows, item.columns, item.image, item.pages});
        }
        out["dialogs"][std::to_string(id)] = {dialog.id,       dialog.title,     dialog.width, dialog.height,
                                              dialog.minWidth, dialog.minHeight, dialog.grow,  items};
    }
    for (auto const& [key, bytes] : file.data) {
        out["data"][std::to_string(key.first) + "/" + std::to_string(key.second)] = bytes;
    }
    return out.dump();
}

std::size_t entriesUnder(json const& root, char const* section) {
    if (!root.is_object() || !root.contains(section) || !root[section].is_object()) {
        return 0;
    }
    if (std::string_view(section) != "data") {
        return root[section].size();
    }
    std::size_t count = 0;
    for (auto const& type : root[section]) {
        count += type.is_object() ? type.size() : 0;
    }
    return count;
}

void checkLoaded(sim::ResourceFile const& file, std::string_view text) {
    for (auto const& [id, dialog] : file.dialogs) {
        std::set<short> numbers;
        if (dialog.id != id || dialog.width < 0 || dialog.height < 0 || dialog.grow < 0 || dialog.grow > 3) {
            fault("a loaded dialog template is not valid", describe(file));
        }
        auto const& kinds = sim::itemKinds();
        for (auto const& item : dialog.items) {
            if (item.number < 1 || !numbers.insert(item.number).second ||
                std::find(kinds.begin(), kinds.end(), item.kind) == kinds.end()) {
                fault("a loaded dialog item is not valid", describe(file));
            }
        }
    }
    // Each entry of the text is one entry of the file: a repeated ID must fail the read instead.
    std::string ignored;
    json root = sim::parseJson(text, ignored);
    if (entriesUnder(root, "strings") != file.strings.size() ||
        entriesUnder(root, "menus") != file.menus.size() ||
        entriesUnder(root, "dialogs") != file.dialogs.size() ||
        entriesUnder(root, "data") != file.data.size()) {
        fault("the loaded file lost entries of the text", describe(file));
    }
}

void readResources(std::string_view text) {
    sim::AddOnID addOn = sim::defaultAddOn;
    if (!sim::loadResourcesText(addOn, loadedBefore)) {
        fault("the file loaded before did not load");
    }
    sim::ResourceFile const* before = sim::resources(sim::resourceModule(addOn));
    std::string beforeText = describe(*before);
    std::string error;
    if (!sim::loadResourcesText(addOn, text, &error)) {
        sim::ResourceFile const* now = sim::resources(sim::resourceModule(addOn));
        if (now != before || describe(*now) != beforeText) {
            fault("a failed read changed the loaded resources");
        }
        if (error.empty()) {
            fault("a failed read gave no reason");
        }
        return;
    }
    checkLoaded(*sim::resources(sim::resourceModule(addOn)), text);
}

// The scripts queued for the dialog the answers had before and for every dialog the text names.
std::size_t queuedScripts(std::string_view text) {
    std::set<short> ids{32600};
    std::string ignored;
    json root = sim::parseJson(text, ignored);
    if (root.is_object() && root.contains("dialogs") && root["dialogs"].is_object()) {
        for (auto it = root["dialogs"].begin(); it != root["dialogs"].end(); ++it) {
            for (char const* p = it.key().c_str(); *p != '\0'; ++p) {
                char* end = nullptr;
                long id = std::strtol(p, &end, 10);
                if (end != p && id >= std::numeric_limits<short>::min() &&
                    id <= std::numeric_limits<short>::max()) {
                    ids.insert(short(id));
                }
            }
        }
    }
    std::size_t count = 0;
    for (short id : ids) {
        count += sim::pendingDialogScripts(id);
    }
    return count;
}

void readAnswers(std::string_view text) {
    sim::queueDialogScript(32600, {sim::DialogAction{sim::DialogAction::closeOK, 0, 0, "", 0, 0, 0}});
    sim::queueAlertAnswer(2);
    std::string error;
    if (!sim::queueScriptedAnswers(text, &error)) {
        if (sim::pendingAlertAnswers() != 1 || sim::pendingDialogScripts(32600) != 1 ||
            queuedScripts(text) != 1) {
            fault("a failed read queued answers");
        }
        if (error.empty()) {
            fault("a failed read gave no reason");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(std::uint8_t const* data, std::size_t size) {
    if (size > (1u << 16)) {
        return 0;
    }
    std::string_view text(reinterpret_cast<char const*>(data), size);
    sim::reset();
    try {
        readResources(text);
        readAnswers(text);
    } catch (std::exception const& e) {
        fault("an exception escaped a reader:", e.what());
    }
    return 0;
}
