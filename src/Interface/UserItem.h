// A rectangle of a panel that the add-on draws itself: each host update of the item reaches the
// panel as a PaintEvent for the item, whose native context draws into the item.
#pragma once

#include "DG/DGUserItem.hpp"
#include "Interface/ControlObserver.h"
#include "Interface/DialogControl.h"

#include <memory>

namespace zelvane {

class UserItem : public DialogControl {
public:
    static constexpr UInt32 type = MakeGSType("USIT");

    class Observer : public ControlObserver, public DG::UserItemObserver {
    public:
        void attach(const DG::Panel& panel, const DialogControl& control) override;
        // Broadcasts a PaintEvent over the host's update record; nothing is thrown back.
        void UserItemUpdate(const DG::UserItemUpdateEvent& event) override;
    };

    explicit UserItem(const ControlLink& link) : DialogControl(link) {}

    UserItem* clone() const override { return new UserItem(*this); }
    // A user item holds no value.
    Setting* getSetting(Int16 row = 0, Int16 column = 0) const override;
    void setSetting(const Setting& setting, Int16 row = 0, Int16 column = 0) override;
    UInt32 getType() const override { return type; }
    ControlObserver* getObserver() const override { return new Observer; }
    void addReference(const DG::Panel& panel) override;
    void removeReference() override { m_item.reset(); }

    const DG::UserItem* getItem() const { return m_item.get(); }

private:
    UserItem(const UserItem&) = default;

    std::shared_ptr<DG::UserItem> m_item;
};

} // namespace zelvane
