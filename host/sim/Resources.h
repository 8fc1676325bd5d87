// The add-ons' resource files: localised string lists, menus, dialog templates and typed data,
// read from a JSON file of our own (see resources/README.md for the format). Each add-on has
// its own resource module; the host's resource calls (GSRoot/RS.hpp) and the dialog manager read
// them through here.
#pragma once

#include "GSRoot/RS.hpp"
#include "sim/AddOns.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

// One item of a dialog template. Rectangles are in dialog pixels, from the client area's top
// left corner.
struct ItemTemplate {
    short number = 0; // 1-based, unique in its dialog
    std::string kind; // one of itemKinds()
    short left = 0, top = 0, right = 0, bottom = 0;
    std::string text;
    bool enabled = true;
    bool visible = true;
    std::vector<std::string> rows; // pop-ups and list boxes: the initial rows
    short columns = 0;             // list boxes: the tab fields
    short image = 0;               // buttons and icons: an image resource ID, 0 for none
    std::vector<short> pages;      // tab controls: the tab pages' dialog resource IDs
};

struct DialogTemplate {
    short id = 0;
    std::string title;
    short width = 0, height = 0;       // client area
    short minWidth = 0, minHeight = 0; // the size when not given
    short grow = 0;                    // 0 none, 1 horizontal, 2 vertical, 3 both
    std::vector<ItemTemplate> items;   // in the order of the file
    const ItemTemplate* findItem(short number) const;
};

struct MenuTemplate {
    short id = 0;
    std::string title;
    std::vector<std::string> items;
};

struct ResourceFile {
    std::map<short, std::vector<std::string>> strings;
    std::map<short, MenuTemplate> menus;
    std::map<short, DialogTemplate> dialogs;
    std::map<std::pair<GSType, short>, std::vector<unsigned char>> data;

    // The text at a 1-based index, null when the list or the index is absent.
    const std::string* findString(short id, short index) const;
    const DialogTemplate* findDialog(short id) const;
    const MenuTemplate* findMenu(short id) const;
    const std::vector<unsigned char>* findData(GSType type, short id) const;
};

// The item kinds a template may name.
const std::vector<std::string>& itemKinds();

// Reads a resource file's text. On failure answers false, leaves `file` as it was and says why
// in `error` (with the JSON path of the offending value).
bool parseResources(std::string_view text, ResourceFile& file, std::string& error);

// Loads the resource file of an add-on (the current one when not named), replacing what it had.
// A file that cannot be read or parsed changes nothing: one that is not a regular file (a FIFO is
// not waited on) or holds more than inputFileLimit bytes is not read (see readFile).
bool loadResources(const std::filesystem::path& path, std::string* error = nullptr);
bool loadResources(AddOnID addOn, const std::filesystem::path& path, std::string* error = nullptr);
bool loadResourcesText(AddOnID addOn, std::string_view text, std::string* error = nullptr);

// The resource module of an add-on, made on first request; every add-on has one, loaded or not.
GSResModule resourceModule(AddOnID addOn);
// The file of a module; null for an unknown module or one with nothing loaded.
const ResourceFile* resources(GSResModule module);

} // namespace sim
