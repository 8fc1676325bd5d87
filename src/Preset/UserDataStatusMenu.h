// The status pop-up of the user-data manager: all records, current records only, or deprecated
// records only, each row carrying its choice as user data.
#pragma once

#include "Interface/PopupMenu.h"

namespace zelvane {

class UserDataStatusMenu : public PopupMenu {
public:
    enum Choice : Int16 { all = 0, current = 1, deprecated = 2 };

    explicit UserDataStatusMenu(const ControlLink& link) : PopupMenu(link) {}
    UserDataStatusMenu* clone() const override { return new UserDataStatusMenu(*this); }

    // Replaces the rows by the three choices and selects `choice`.
    void initialise(Int16 choice);
    using PopupMenu::initialise;
    // Selects the row of that choice; nothing changes for a choice no row has.
    void setChoice(Int16 choice);
    // The selected row's choice; all records when nothing valid is selected.
    Int16 getChoice() const;

protected:
    UserDataStatusMenu(const UserDataStatusMenu& other) = default;
};

} // namespace zelvane
