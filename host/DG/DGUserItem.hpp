// A user item: a rectangle of a panel that the program draws itself. The host sends it an update
// notification whenever it must be drawn, with a drawing context over the item's surface.
#pragma once

#include "DG/DGMessages.hpp"
#include "DG/DGPanel.hpp"

namespace DG {

class UserItem : public Item {
public:
    UserItem(const Panel& panel, short itemId) : Item(panel, itemId, "userItem") {}
};

// The item must be drawn: the update record names the panel, the item, its drawing context and
// its rectangle in panel coordinates.
class UserItemUpdateEvent : public ItemEvent {
public:
    explicit UserItemUpdateEvent(const DGUserUpdateData& update)
        : ItemEvent(update.dialogID, update.itemID), m_update(update) {}
    const DGUserUpdateData& GetUpdateData() const { return m_update; }
    void* GetDrawContext() const { return m_update.drawContext; }

private:
    const DGUserUpdateData& m_update;
};

class UserItemObserver : public virtual ItemObserver {
public:
    virtual void UserItemUpdate(const UserItemUpdateEvent&) {}
};

} // namespace DG
