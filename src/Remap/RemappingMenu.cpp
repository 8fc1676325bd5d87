#include "Remap/RemappingMenu.h"

#include "Environment/Host.h"
#include "Interface/WarnAlert.h"
#include "Remap/ObjectMapTransaction.h"

namespace zelvane::remap {

ObjectMap::Type RemappingMenu::kindOf(Int32 itemIndex) {
    if (itemIndex < 1 || itemIndex > static_cast<Int32>(ObjectMap::typeCount)) {
        return ObjectMap::none;
    }
    return static_cast<ObjectMap::Type>(itemIndex - 1);
}

bool RemappingMenu::handleEvent(MenuEvent& event) {
    ObjectMapTransaction transaction(ObjectMap::none);
    if (event.getMenuID() == menuID) {
        ObjectMap::Type kind = kindOf(event.getItemIndex());
        if (kind == ObjectMap::none) {
            WarnAlert().show(String("This functionality is coming in a future release"));
        }
        transaction.setSourceKind(kind);
    }
    return runTransaction(transaction);
}

bool RemappingMenu::runTransaction(ObjectMapTransaction& transaction) {
    return host.makeTransaction(transaction);
}

} // namespace zelvane::remap
