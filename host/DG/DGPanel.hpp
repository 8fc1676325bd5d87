// The host dialog library's panels (modal dialogs, palettes, tab pages), their items and the
// observers through which they notify. No screen: a modal dialog's Invoke runs the script that
// sim/Dialogs.h registered for its resource ID, and palettes are driven from there too.
//
// Observers are notified synchronously, in attachment order, over a snapshot of the list: an
// observer detached (or destroyed) during a notification is not called afterwards, and a panel
// destroyed during a notification notifies no further. An observer detaches itself from
// everything when it is destroyed.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Guid.hpp"
#include "GSRoot/RS.hpp"
#include "GSRoot/UniString.hpp"

namespace DG {

class Panel;

// What a panel or item notification tells: the panel's ID and, for items, the item's number.
class EventBase {
public:
    EventBase(short panelId, short itemId) : m_panelId(panelId), m_itemId(itemId) {}
    short GetPanelId() const { return m_panelId; }
    short GetItemId() const { return m_itemId; }

private:
    short m_panelId;
    short m_itemId;
};

class PanelCloseRequestEvent : public EventBase {
public:
    PanelCloseRequestEvent(short panelId, bool accepted) : EventBase(panelId, 0), m_accepted(accepted) {}
    // The user asked to close with OK (true) or Cancel (false).
    bool IsAccepted() const { return m_accepted; }

private:
    bool m_accepted;
};

class PanelCloseEvent : public EventBase {
public:
    PanelCloseEvent(short panelId, bool accepted) : EventBase(panelId, 0), m_accepted(accepted) {}
    bool IsAccepted() const { return m_accepted; }

private:
    bool m_accepted;
};

class PanelResizeEvent : public EventBase {
public:
    PanelResizeEvent(short panelId, bool userResize, short hGrow, short vGrow)
        : EventBase(panelId, 0), m_userResize(userResize), m_hGrow(hGrow), m_vGrow(vGrow) {}
    bool IsUserResize() const { return m_userResize; }
    short GetHorizontalChange() const { return m_hGrow; }
    short GetVerticalChange() const { return m_vGrow; }

private:
    bool m_userResize;
    short m_hGrow;
    short m_vGrow;
};

class PanelDragDropEvent : public EventBase {
public:
    PanelDragDropEvent(short panelId, short x, short y) : EventBase(panelId, 0), m_x(x), m_y(y) {}
    short GetX() const { return m_x; }
    short GetY() const { return m_y; }

private:
    short m_x;
    short m_y;
};

class PanelHotKeyEvent : public EventBase {
public:
    PanelHotKeyEvent(short panelId, short keyId) : EventBase(panelId, 0), m_keyId(keyId) {}
    short GetKeyId() const { return m_keyId; }

private:
    short m_keyId;
};

class ItemCharEnterEvent : public EventBase {
public:
    ItemCharEnterEvent(short panelId, short itemId, UInt32 charCode)
        : EventBase(panelId, itemId), m_charCode(charCode) {}
    UInt32 GetCharCode() const { return m_charCode; }

private:
    UInt32 m_charCode;
};

using ItemEvent = EventBase;

// Detaches itself from every panel and item when destroyed.
class EventObserver {
public:
    EventObserver() = default;
    EventObserver(const EventObserver&) = delete;
    EventObserver& operator=(const EventObserver&) = delete;
    virtual ~EventObserver();
};

enum DragDropEffect : Int32 { DragDrop_Reject = 0, DragDrop_Copy = 1, DragDrop_Move = 2, DragDrop_Link = 3 };

class PanelObserver : public virtual EventObserver {
public:
    virtual void PanelOpened(const EventBase&) {}
    // Clear *accepted to refuse the close.
    virtual void PanelCloseRequested(const PanelCloseRequestEvent&, bool* /*accepted*/) {}
    virtual void PanelClosed(const PanelCloseEvent&) {}
    virtual void PanelResizeEntered(const PanelResizeEvent&) {}
    virtual void PanelResized(const PanelResizeEvent&) {}
    virtual void PanelResizeExited(const PanelResizeEvent&) {}
    virtual void PanelDragEntered(const PanelDragDropEvent&, DragDropEffect* /*effect*/, bool* /*handled*/) {}
    virtual void PanelDragMoved(const PanelDragDropEvent&, DragDropEffect* /*effect*/, bool* /*handled*/) {}
    virtual void PanelDropped(const PanelDragDropEvent&, DragDropEffect* /*effect*/, bool* /*handled*/) {}
    virtual void PanelHotkeyPressed(const PanelHotKeyEvent&, bool* /*processed*/) {}
};

class ItemObserver : public virtual EventObserver {
public:
    // Set *denyChar to drop the character.
    virtual void ItemCharEntered(const ItemCharEnterEvent&, bool* /*denyChar*/) {}
    virtual void ItemFocusGained(const ItemEvent&) {}
    virtual void ItemFocusLost(const ItemEvent&) {}
};

class ButtonItemObserver : public virtual ItemObserver {
public:
    virtual void ButtonClicked(const ItemEvent&) {}
};

class StaticTextObserver : public virtual ItemObserver {
public:
    virtual void StaticTextClicked(const ItemEvent&) {}
    virtual void StaticTextDoubleClicked(const ItemEvent&) {}
};

class TextEditBaseObserver : public virtual ItemObserver {
public:
    virtual void TextEditChanged(const ItemEvent&) {}
};

class PopUpObserver : public virtual ItemObserver {
public:
    virtual void PopUpChanged(const ItemEvent&) {}
};

class CheckItemObserver : public virtual ItemObserver {
public:
    virtual void CheckItemChanged(const ItemEvent&) {}
};

class Panel {
public:
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;
    virtual ~Panel();

    // The panel's host ID; 0 when its resource could not be loaded.
    short GetId() const { return m_id; }
    bool IsValid() const { return m_id != 0; }

    void Attach(PanelObserver& observer) const;
    void Detach(PanelObserver& observer) const;

    // Registers a hot key (a key code and up to three modifier keys); answers its ID, 0 on failure.
    short RegisterHotKey(short key, short modifier1 = 0, short modifier2 = 0, short modifier3 = 0) const;
    void EnableHotKeys() const;
    void DisableHotKeys() const;
    void EnableDragAndDropEvent() const;

protected:
    enum Kind { ModalKind = 1, PaletteKind = 2, TabPageKind = 3 };
    // Makes the panel's state from the dialog template; the ID stays 0 when there is none.
    Panel(Kind kind, GSResModule module, short resID, short parentId);

private:
    short m_id = 0;
};

class Dialog : public Panel {
public:
    void SetGrowType(short growType) const;

protected:
    using Panel::Panel;
};

class ModalDialog : public Dialog {
public:
    enum ModalResponse { Accept = 1, Cancel = 2 };

    ModalDialog(GSResModule module, short resID);

    // Runs the dialog until it closes; true when it closed with Accept.
    bool Invoke();
    // Asks the dialog to close (processed when the current notification returns).
    void PostCloseRequest(ModalResponse response) const;
    // Closes the dialog with Cancel without asking its observers.
    void Abort() const;
    ModalResponse GetResult() const { return m_result; }

private:
    ModalResponse m_result = Cancel;
};

class Palette : public Dialog {
public:
    Palette(GSResModule module, short resID, const GS::Guid& dockingId = GS::Guid());

    // Starts the palette's event processing; its observers hear that it opened.
    void BeginEventProcessing() const;
    // Ends the palette's event processing; its observers hear that it closed.
    void EndEventProcessing() const;
    void Show(short zPosition = 0) const;
    void Hide() const;
    void Activate() const;
    bool IsVisible() const;
    const GS::Guid& GetDockingId() const { return m_dockingId; }

private:
    GS::Guid m_dockingId;
};

class Item {
public:
    Item(const Panel& panel, short itemId);
    virtual ~Item() = default;

    short GetId() const { return m_itemId; }
    short GetPanelId() const { return m_panelId; }
    // False when the panel has no such item (of the expected kind).
    bool IsValid() const;

    void Attach(ItemObserver& observer) const;
    void Detach(ItemObserver& observer) const;

protected:
    Item(const Panel& panel, short itemId, const char* kind);

private:
    short m_panelId;
    short m_itemId;
    const char* m_kind = nullptr;
};

class Button : public Item {
public:
    Button(const Panel& panel, short itemId) : Item(panel, itemId, "button") {}
};

class StaticText : public Item {
protected:
    StaticText(const Panel& panel, short itemId, const char* kind) : Item(panel, itemId, kind) {}
};

class LeftText : public StaticText {
public:
    LeftText(const Panel& panel, short itemId) : StaticText(panel, itemId, "leftText") {}
};

class CenterText : public StaticText {
public:
    CenterText(const Panel& panel, short itemId) : StaticText(panel, itemId, "centerText") {}
};

class RightText : public StaticText {
public:
    RightText(const Panel& panel, short itemId) : StaticText(panel, itemId, "rightText") {}
};

class TextEdit : public Item {
public:
    TextEdit(const Panel& panel, short itemId) : Item(panel, itemId, "textEdit") {}
};

class TabControl : public Item {
public:
    TabControl(const Panel& panel, short itemId) : Item(panel, itemId, "tabControl") {}
};

class TabPage : public Panel {
public:
    // The page-th tab (1-based) of the tab control, from the dialog template resID.
    TabPage(const TabControl& tabControl, short page, GSResModule module, short resID);

    short GetParentId() const { return m_parentId; }
    short GetWidth() const;
    short GetHeight() const;
    void SetSize(short width, short height) const;
    // The point of the page that stays put when its dialog is resized.
    Int32 GetFixPoint() const;
    void SetFixPoint(Int32 anchor) const;

private:
    short m_parentId;
};

} // namespace DG
