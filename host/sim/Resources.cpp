#include "sim/Resources.h"

#include "sim/Escaped.h"
#include "sim/JsonText.h"
#include "sim/ReadFile.h"
#include "sim/Sim.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

namespace sim {
namespace {

using nlohmann::json;

struct ResourceTable {
    std::map<AddOnID, GSResModule> modules;
    std::map<GSResModule, std::unique_ptr<ResourceFile>> files;
};

ResourceTable& table() {
    static auto* instance = new ResourceTable;
    return *instance;
}

const bool registered = registerReset([] {
    table().modules.clear();
    table().files.clear();
});

// Reading stops at the first bad value; the message names where it is.
class Reader {
public:
    bool fail(const std::string& where, const std::string& what) {
        m_error = where + ": " + what;
        return false;
    }
    const std::string& error() const { return m_error; }

    bool toShort(const json& value, const std::string& where, short& out) {
        if (!value.is_number_integer()) {
            return fail(where, "expected an integer");
        }
        // The parser keeps every non-negative integer unsigned: read as signed, the largest ones
        // would wrap round to small negative numbers.
        bool fits = value.is_number_unsigned()
                        ? value.get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<short>::max())
                        : value.get<std::int64_t>() >= std::numeric_limits<short>::min() &&
                              value.get<std::int64_t>() <= std::numeric_limits<short>::max();
        if (!fits) {
            return fail(where, "out of the 16-bit range");
        }
        out = short(value.get<std::int64_t>());
        return true;
    }

    bool toID(const std::string& key, const std::string& where, short& out) {
        std::size_t used = 0;
        long number = 0;
        try {
            number = std::stol(key, &used, 10);
        } catch (...) {
            used = 0;
        }
        if (used == 0 || used != key.size() || number < std::numeric_limits<short>::min() ||
            number > std::numeric_limits<short>::max()) {
            return fail(where, escaped(key) + " is not a 16-bit resource ID");
        }
        out = short(number);
        return true;
    }

    bool toText(const json& value, const std::string& where, std::string& out) {
        if (!value.is_string()) {
            return fail(where, "expected a text");
        }
        out = value.get<std::string>();
        return true;
    }

    bool toTexts(const json& value, const std::string& where, std::vector<std::string>& out) {
        if (!value.is_array()) {
            return fail(where, "expected a list of texts");
        }
        out.clear();
        for (std::size_t i = 0; i < value.size(); ++i) {
            std::string text;
            if (!toText(value[i], where + "[" + std::to_string(i) + "]", text)) {
                return false;
            }
            out.push_back(std::move(text));
        }
        return true;
    }

    bool toPair(const json& value, const std::string& where, short& first, short& second) {
        if (!value.is_array() || value.size() != 2) {
            return fail(where, "expected [width, height]");
        }
        return toShort(value[0], where + "[0]", first) && toShort(value[1], where + "[1]", second);
    }

    bool toBool(const json& value, const std::string& where, bool& out) {
        if (!value.is_boolean()) {
            return fail(where, "expected true or false");
        }
        out = value.get<bool>();
        return true;
    }

    // Rejects members the format does not know, so that a misspelt key is not silently ignored.
    bool onlyKeys(const json& object, const std::string& where, std::initializer_list<const char*> keys) {
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (std::none_of(keys.begin(), keys.end(), [&](const char* key) { return it.key() == key; })) {
                return fail(where, "unknown member " + escaped(it.key()));
            }
        }
        return true;
    }

    bool readItem(const json& value, const std::string& where, ItemTemplate& item) {
        if (!value.is_object()) {
            return fail(where, "expected an item object");
        }
        if (!onlyKeys(value, where,
                      {"number", "kind", "rect", "text", "enabled", "visible", "rows", "columns", "image",
                       "pages"})) {
            return false;
        }
        if (!value.contains("number") || !value.contains("kind") || !value.contains("rect")) {
            return fail(where, "an item needs \"number\", \"kind\" and \"rect\"");
        }
        if (!toShort(value["number"], where + ".number", item.number)) {
            return false;
        }
        if (item.number < 1) {
            return fail(where + ".number", "item numbers start at 1");
        }
        if (!toText(value["kind"], where + ".kind", item.kind)) {
            return false;
        }
        const auto& kinds = itemKinds();
        if (std::find(kinds.begin(), kinds.end(), item.kind) == kinds.end()) {
            return fail(where + ".kind", "unknown item kind " + escaped(item.kind));
        }
        const json& rect = value["rect"];
        if (!rect.is_array() || rect.size() != 4) {
            return fail(where + ".rect", "expected [left, top, right, bottom]");
        }
        if (!toShort(rect[0], where + ".rect[0]", item.left) ||
            !toShort(rect[1], where + ".rect[1]", item.top) ||
            !toShort(rect[2], where + ".rect[2]", item.right) ||
            !toShort(rect[3], where + ".rect[3]", item.bottom)) {
            return false;
        }
        if (value.contains("text") && !toText(value["text"], where + ".text", item.text)) {
            return false;
        }
        if (value.contains("enabled") && !toBool(value["enabled"], where + ".enabled", item.enabled)) {
            return false;
        }
        if (value.contains("visible") && !toBool(value["visible"], where + ".visible", item.visible)) {
            return false;
        }
        if (value.contains("rows") && !toTexts(value["rows"], where + ".rows", item.rows)) {
            return false;
        }
        if (value.contains("columns") && !toShort(value["columns"], where + ".columns", item.columns)) {
            return false;
        }
        if (value.contains("image") && !toShort(value["image"], where + ".image", item.image)) {
            return false;
        }
        if (value.contains("pages")) {
            const json& pages = value["pages"];
            if (!pages.is_array()) {
                return fail(where + ".pages", "expected a list of dialog IDs");
            }
            for (std::size_t i = 0; i < pages.size(); ++i) {
                short page = 0;
                if (!toShort(pages[i], where + ".pages[" + std::to_string(i) + "]", page)) {
                    return false;
                }
                item.pages.push_back(page);
            }
        }
        return true;
    }

    bool readDialog(const json& value, const std::string& where, DialogTemplate& dialog) {
        if (!value.is_object()) {
            return fail(where, "expected a dialog object");
        }
        if (!onlyKeys(value, where, {"title", "size", "minimumSize", "grow", "items"})) {
            return false;
        }
        if (!value.contains("size")) {
            return fail(where, "a dialog needs \"size\"");
        }
        if (value.contains("title") && !toText(value["title"], where + ".title", dialog.title)) {
            return false;
        }
        if (!toPair(value["size"], where + ".size", dialog.width, dialog.height)) {
            return false;
        }
        if (dialog.width < 0 || dialog.height < 0) {
            return fail(where + ".size", "a size cannot be negative");
        }
        dialog.minWidth = dialog.width;
        dialog.minHeight = dialog.height;
        if (value.contains("minimumSize") &&
            !toPair(value["minimumSize"], where + ".minimumSize", dialog.minWidth, dialog.minHeight)) {
            return false;
        }
        if (value.contains("grow")) {
            if (!toShort(value["grow"], where + ".grow", dialog.grow)) {
                return false;
            }
            if (dialog.grow < 0 || dialog.grow > 3) {
                return fail(where + ".grow", "expected 0 to 3");
            }
        }
        if (value.contains("items")) {
            const json& items = value["items"];
            if (!items.is_array()) {
                return fail(where + ".items", "expected a list of items");
            }
            for (std::size_t i = 0; i < items.size(); ++i) {
                ItemTemplate item;
                if (!readItem(items[i], where + ".items[" + std::to_string(i) + "]", item)) {
                    return false;
                }
                if (dialog.findItem(item.number) != nullptr) {
                    return fail(where + ".items[" + std::to_string(i) + "]",
                                "item " + std::to_string(item.number) + " appears twice");
                }
                dialog.items.push_back(std::move(item));
            }
        }
        return true;
    }

    bool readMenu(const json& value, const std::string& where, MenuTemplate& menu) {
        if (!value.is_object()) {
            return fail(where, "expected a menu object");
        }
        if (!onlyKeys(value, where, {"title", "items"})) {
            return false;
        }
        if (value.contains("title") && !toText(value["title"], where + ".title", menu.title)) {
            return false;
        }
        return !value.contains("items") || toTexts(value["items"], where + ".items", menu.items);
    }

    // Numbers are stored in the host's own byte order, as a resource compiled for it would be.
    template <class Number>
    bool appendNumbers(const json& value, const std::string& where, std::vector<unsigned char>& bytes) {
        if (!value.is_array()) {
            return fail(where, "expected a list of numbers");
        }
        for (std::size_t i = 0; i < value.size(); ++i) {
            const json& element = value[i];
            std::string at = where + "[" + std::to_string(i) + "]";
            if (!element.is_number_integer()) {
                return fail(at, "expected an integer");
            }
            bool fits =
                element.is_number_unsigned()
                    ? element.get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<Number>::max())
                    : element.get<std::int64_t>() >= std::int64_t(std::numeric_limits<Number>::min()) &&
                          element.get<std::int64_t>() <= std::int64_t(std::numeric_limits<Number>::max());
            if (!fits) {
                return fail(at, "out of range");
            }
            Number number = element.is_number_unsigned() ? Number(element.get<std::uint64_t>())
                                                         : Number(element.get<std::int64_t>());
            unsigned char raw[sizeof(Number)];
            std::memcpy(raw, &number, sizeof(Number));
            bytes.insert(bytes.end(), raw, raw + sizeof(Number));
        }
        return true;
    }

    bool readData(const json& value, const std::string& where, std::vector<unsigned char>& bytes) {
        if (!value.is_object() || value.size() != 1) {
            return fail(where, "expected one of {\"bytes\"|\"int16\"|\"int32\"|\"uint32\"|\"text\": ...}");
        }
        auto it = value.begin();
        std::string at = where + "." + escapedMember(it.key());
        if (it.key() == "bytes") {
            return appendNumbers<unsigned char>(it.value(), at, bytes);
        }
        if (it.key() == "int16") {
            return appendNumbers<Int16>(it.value(), at, bytes);
        }
        if (it.key() == "int32") {
            return appendNumbers<Int32>(it.value(), at, bytes);
        }
        if (it.key() == "uint32") {
            return appendNumbers<UInt32>(it.value(), at, bytes);
        }
        if (it.key() == "text") {
            std::string text;
            if (!toText(it.value(), at, text)) {
                return false;
            }
            bytes.assign(text.begin(), text.end());
            return true;
        }
        return fail(where, "unknown data form " + escaped(it.key()));
    }

    template <class Entry, class Read>
    bool readSection(const json& root, const char* name, std::map<short, Entry>& out, Read read) {
        if (!root.contains(name)) {
            return true;
        }
        const json& section = root[name];
        if (!section.is_object()) {
            return fail(name, "expected an object keyed by resource ID");
        }
        for (auto it = section.begin(); it != section.end(); ++it) {
            std::string where = std::string(name) + "." + escapedMember(it.key());
            short id = 0;
            if (!toID(it.key(), where, id)) {
                return false;
            }
            if (out.count(id) != 0) {
                return fail(where, "the ID appears twice");
            }
            Entry entry;
            if (!(this->*read)(it.value(), where, entry, id)) {
                return false;
            }
            out.emplace(id, std::move(entry));
        }
        return true;
    }

    bool readStringList(const json& value, const std::string& where, std::vector<std::string>& list, short) {
        return toTexts(value, where, list);
    }
    bool readMenuEntry(const json& value, const std::string& where, MenuTemplate& menu, short id) {
        menu.id = id;
        return readMenu(value, where, menu);
    }
    bool readDialogEntry(const json& value, const std::string& where, DialogTemplate& dialog, short id) {
        dialog.id = id;
        return readDialog(value, where, dialog);
    }

    bool readFile(const json& root, ResourceFile& file) {
        if (!root.is_object()) {
            return fail("(root)", "expected an object");
        }
        if (!onlyKeys(root, "(root)", {"strings", "menus", "dialogs", "data"})) {
            return false;
        }
        if (!readSection(root, "strings", file.strings, &Reader::readStringList) ||
            !readSection(root, "menus", file.menus, &Reader::readMenuEntry) ||
            !readSection(root, "dialogs", file.dialogs, &Reader::readDialogEntry)) {
            return false;
        }
        if (root.contains("data")) {
            const json& data = root["data"];
            if (!data.is_object()) {
                return fail("data", "expected an object keyed by resource type");
            }
            for (auto type = data.begin(); type != data.end(); ++type) {
                std::string where = "data." + escapedMember(type.key());
                if (type.key().size() != 4) {
                    return fail(where, "a resource type has four characters");
                }
                GSType code = 0;
                for (char c : type.key()) {
                    code = (code << 8) | GSType(UInt8(c));
                }
                if (!type.value().is_object()) {
                    return fail(where, "expected an object keyed by resource ID");
                }
                for (auto entry = type.value().begin(); entry != type.value().end(); ++entry) {
                    std::string at = where + "." + escapedMember(entry.key());
                    short id = 0;
                    std::vector<unsigned char> bytes;
                    if (!toID(entry.key(), at, id) || !readData(entry.value(), at, bytes)) {
                        return false;
                    }
                    // "1" and "01" name the same resource.
                    if (!file.data.emplace(std::make_pair(code, id), std::move(bytes)).second) {
                        return fail(at, "the ID appears twice");
                    }
                }
            }
        }
        return true;
    }

private:
    std::string m_error;
};

} // namespace

const ItemTemplate* DialogTemplate::findItem(short number) const {
    auto it = std::find_if(items.begin(), items.end(),
                           [&](const ItemTemplate& item) { return item.number == number; });
    return it == items.end() ? nullptr : &*it;
}

const std::string* ResourceFile::findString(short id, short index) const {
    auto it = strings.find(id);
    if (it == strings.end() || index < 1 || std::size_t(index) > it->second.size()) {
        return nullptr;
    }
    return &it->second[std::size_t(index) - 1];
}

const DialogTemplate* ResourceFile::findDialog(short id) const {
    auto it = dialogs.find(id);
    return it == dialogs.end() ? nullptr : &it->second;
}

const MenuTemplate* ResourceFile::findMenu(short id) const {
    auto it = menus.find(id);
    return it == menus.end() ? nullptr : &it->second;
}

const std::vector<unsigned char>* ResourceFile::findData(GSType type, short id) const {
    auto it = data.find({type, id});
    return it == data.end() ? nullptr : &it->second;
}

const std::vector<std::string>& itemKinds() {
    static const std::vector<std::string> kinds{"button",     "leftText", "centerText",  "rightText",
                                                "textEdit",   "popup",    "listBox",     "checkBox",
                                                "tabControl", "userItem", "userControl", "icon"};
    return kinds;
}

bool parseResources(std::string_view text, ResourceFile& file, std::string& error) {
    json root = parseJson(text, error);
    if (root.is_discarded()) {
        return false;
    }
    Reader reader;
    ResourceFile read;
    bool ok = false;
    try {
        ok = reader.readFile(root, read);
    } catch (const std::exception& e) {
        reader.fail("(root)", e.what());
    }
    if (!ok) {
        error = reader.error();
        return false;
    }
    file = std::move(read);
    return true;
}

bool loadResourcesText(AddOnID addOn, std::string_view text, std::string* error) {
    auto file = std::make_unique<ResourceFile>();
    std::string message;
    if (!parseResources(text, *file, message)) {
        if (error != nullptr) {
            *error = message;
        }
        return false;
    }
    table().files[resourceModule(addOn)] = std::move(file);
    return true;
}

bool loadResources(AddOnID addOn, const std::filesystem::path& path, std::string* error) {
    std::string text;
    std::string message;
    bool loaded = false;
    if (std::error_code read = readFile(path, text); read == std::errc::invalid_argument) {
        const std::string kind = notAFile(path);
        message = kind.empty() ? "it is no longer a regular file" : "it is " + kind + ", not a file";
    } else if (read == std::errc::file_too_large) {
        message = "it holds more than the " + std::to_string(inputFileLimit >> 20) +
                  " MiB the host reads of a file";
    } else if (read) {
        message = "cannot be read, " + read.message();
    } else {
        loaded = loadResourcesText(addOn, text, &message);
    }
    if (!loaded && error != nullptr) {
        *error = escaped(path.string()) + ": " + message;
    }
    return loaded;
}

bool loadResources(const std::filesystem::path& path, std::string* error) {
    return loadResources(currentAddOn().id, path, error);
}

GSResModule resourceModule(AddOnID addOn) {
    auto& modules = table().modules;
    auto it = modules.find(addOn);
    if (it != modules.end()) {
        return it->second;
    }
    GSResModule module = GSResModule(modules.size()) + 1;
    modules.emplace(addOn, module);
    return module;
}

const ResourceFile* resources(GSResModule module) {
    auto it = table().files.find(module);
    return it == table().files.end() ? nullptr : it->second.get();
}

} // namespace sim
