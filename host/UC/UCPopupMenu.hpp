// The user-control pop-up: a button that shows the chosen row's text and/or icon and opens a menu
// of rows. The button shows what the program puts on it; choosing a row only changes the choice.
#pragma once

#include "DG/DGImage.hpp"
#include "DG/DGPanel.hpp"
#include "DG/DGPopUp.hpp"

namespace DG {

// A control item of the user-control library.
class UserControl : public Item {
protected:
    UserControl(const Panel& panel, short itemId) : Item(panel, itemId, "userControl") {}
};

class UserControlObserver : public virtual ItemObserver {
public:
    virtual void UserControlChanged(const ItemEvent&) {}
};

} // namespace DG

namespace UC {

class PopupMenu : public DG::UserControl, public DG::PopupRows {
public:
    // Control kinds: what the button shows.
    static constexpr Int32 TextAndIcon = 0;
    static constexpr Int32 IconOnly = 1;
    static constexpr Int32 TextOnly = 2;
    // Item statuses.
    static constexpr short Enabled = 0;
    static constexpr short Disabled = 1;

    PopupMenu(const DG::Panel& panel, short itemId)
        : UserControl(panel, itemId), PopupRows(GetPanelId(), itemId, "userControl") {}

    Int32 GetControlKind() const;
    void SetControlKind(Int32 kind) const;

    // The chosen row; 0 none.
    short GetValue() const;
    void SetValue(short popupItem) const;

    GS::UniString GetButtonText() const;
    void SetButtonText(const GS::UniString& text) const;
    DG::Icon GetButtonIcon() const;
    void SetButtonIcon(const DG::Icon& icon) const;
};

} // namespace UC
