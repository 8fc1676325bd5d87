// The remapping menu: each of its five commands runs the remapping command for one source kind
// as one undoable host command.
#pragma once

#include "Addon/MenuSubscriber.h"
#include "Remap/ObjectMap.h"

namespace zelvane::remap {

class ObjectMapTransaction;

class RemappingMenu : public MenuSubscriber {
public:
    static constexpr Int16 menuID = 32500;
    // The host's menu of import and export commands.
    static constexpr API_MenuCodeID menuCode = MenuCode_Interoperability;

    RemappingMenu(Int16 menu, Int16 prompt, API_MenuCodeID code, GSFlags flags)
        : MenuSubscriber(menu, prompt, code, flags) {}

    // The source kind of an item of the menu: items 1 to 5 are IFC, DWG, GSM, missing and legacy;
    // any other item is none.
    static ObjectMap::Type kindOf(Int32 itemIndex);

    // Hands the host a remapping command of the item's kind and answers what the host answers. An
    // item without a kind shows a warning once; its command collects nothing.
    bool handleEvent(MenuEvent& event) override;

protected:
    // Hands the command to the host facade, which runs it as one undoable host command.
    virtual bool runTransaction(ObjectMapTransaction& transaction);
};

} // namespace zelvane::remap
