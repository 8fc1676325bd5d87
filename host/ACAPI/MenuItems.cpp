#include "ACAPI/MenuItems.hpp"

#include "sim/AddOns.h"
#include "sim/Interface.h"
#include "sim/Sim.h"
#include "sim/Toolbox.h"

#include <map>
#include <string>
#include <utility>

namespace {

struct Item {
    GSFlags flags = 0;
    std::string text;
};

using Key = std::pair<short, short>;

std::map<Key, Item>& items() {
    static auto* instance = new std::map<Key, Item>;
    return *instance;
}

// The item named by the reference, when the calling add-on registered its menu.
Item* findItem(const void* par1) {
    auto* ref = static_cast<const API_MenuItemRef*>(par1);
    if (ref == nullptr || ref->itemIndex < 1) {
        return nullptr;
    }
    for (const sim::MenuRegistration& menu : sim::currentAddOn().menus) {
        if (menu.menuResID == ref->menuResID) {
            return &items()[Key(ref->menuResID, ref->itemIndex)];
        }
    }
    return nullptr;
}

GSErrCode getFlags(void* par1, void* par2, void*) {
    Item* item = findItem(par1);
    if (item == nullptr || par2 == nullptr) {
        return APIERR_BADPARS;
    }
    *static_cast<GSFlags*>(par2) = item->flags;
    return NoError;
}

GSErrCode setFlags(void* par1, void* par2, void*) {
    Item* item = findItem(par1);
    if (item == nullptr || par2 == nullptr) {
        return APIERR_BADPARS;
    }
    item->flags = *static_cast<GSFlags*>(par2);
    return NoError;
}

GSErrCode setText(void* par1, void*, void* par3) {
    Item* item = findItem(par1);
    if (item == nullptr || par3 == nullptr) {
        return APIERR_BADPARS;
    }
    item->text = static_cast<const char*>(par3);
    return NoError;
}

const bool registered = sim::registerReset([] { items().clear(); }) &&
                        sim::registerInterfaceRequest(APIIo_GetMenuItemFlagsID, getFlags) &&
                        sim::registerInterfaceRequest(APIIo_SetMenuItemFlagsID, setFlags) &&
                        sim::registerInterfaceRequest(APIIo_SetMenuItemTextID, setText);

} // namespace

namespace sim {

GSFlags menuItemFlags(short menuResID, short itemIndex) {
    auto it = items().find(Key(menuResID, itemIndex));
    return it == items().end() ? 0 : it->second.flags;
}

std::string menuItemText(short menuResID, short itemIndex) {
    auto it = items().find(Key(menuResID, itemIndex));
    return it == items().end() ? std::string() : it->second.text;
}

} // namespace sim
