// One panel of the host dialog library (a dialog, a palette or a tab page) built from a dialog
// resource of the add-on. It owns its controls, binds them to the host items when the host panel
// opens, turns host notifications into interface events and offers each first to the control it
// concerns and then to its own subscribers. Host observers keep only a panel's serial number and
// find the panel again in the class's table of live panels.
#pragma once

#include "Addon/InterfaceEvent.h"
#include "Addon/Publisher.h"
#include "Environment/List.h"
#include "Interface/DialogControl.h"
#include "Interface/ScreenPoint.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace DG {
class Panel;
}

namespace zelvane {

class ActionEvent;
class ControlObserver;
class InterfacePanel;
class InterfacePanelObserver;
class Subscriber;

using InterfacePanelList = std::vector<InterfacePanel*>;

class InterfacePanel : public Publisher {
public:
    // Makes a new interface event for a host message, or null when it makes none.
    using EventFactory = InterfaceEvent* (*)(Int32 message, const ControlLink& link,
                                             const InterfaceEvent::Data& data);

    InterfacePanel(Int16 resourceID, bool sizeFlag);
    InterfacePanel(const InterfacePanel&) = delete;
    InterfacePanel& operator=(const InterfacePanel&) = delete;
    ~InterfacePanel() override;

    // The class-wide tables; called by the add-on's framework start-up and shutdown.
    static void startup();
    static void shutdown();
    // Adds a factory for a host message, asked before the standard ones.
    static void addAdapter(Int32 message, EventFactory factory);
    // The event for a host message (the caller deletes it), or null.
    static InterfaceEvent* createEvent(Int32 message, const ControlLink& link,
                                       const InterfaceEvent::Data& data);
    static InterfacePanel* findPanelByIndex(Int32 index);
    // The first live panel, in index order, open as that host dialog; null for 0.
    static InterfacePanel* findPanelByID(Int16 dialogID);
    // The subscriber that closes every live panel when the project closes or the host quits.
    static Subscriber& getProjector();
    // Asks every live panel to close, in index order.
    static void closeAll();

    DialogControl* getControl(Int16 item) const;
    // The panel owns the control from now on.
    void addControl(DialogControl* control);
    void removeControl(Int16 item);
    // Appends the live panels whose parent is this one, in index order; true when it appended any.
    bool getChildren(InterfacePanelList& children) const;
    std::shared_ptr<InterfacePanelObserver> getObserver() const { return m_observer; }
    // Takes ownership of the observer (null clears it).
    void setObserver(InterfacePanelObserver* observer);

    Int32 getIndex() const { return m_index; }
    Int16 getResourceID() const { return m_resourceID; }
    bool getSizeFlag() const { return m_sizeFlag; }
    bool isStarted() const { return m_dialogID != 0; }

    virtual Int16 getDialogID() const { return m_dialogID; }
    virtual InterfacePanel* getParent() const { return nullptr; }
    virtual ScreenPoint getSize(ScreenPoint::Type type) const;
    virtual ScreenPoint getMinimumSize(ScreenPoint::Type type) const;
    virtual ScreenPoint getLocation(ScreenPoint::Type type, ScreenPoint::Context context) const;
    // Only while started: the point's own type, its coordinates and the anchor go to the host.
    virtual void setSize(const ScreenPoint& size, ScreenPoint::Anchor anchor);
    void setMinimumSize(const ScreenPoint& size, ScreenPoint::Type type);
    virtual void setDragDrop();
    void removeFocus();
    void redraw();
    virtual void close() {}
    // Offers the event to the control of its item and to the panel's subscribers; see the .cpp.
    virtual bool broadcastEvent(Event& event);

    virtual void handleInitialise() {}
    virtual void handleOpen() {}
    virtual void handleEdit(const InterfaceEvent& /*event*/) {}
    virtual void handleAccept(ActionEvent& /*event*/) {}
    virtual void handleCancel(ActionEvent& /*event*/) {}
    virtual void handleClose() {}

    // Deletes the controls, their observers and the binding; the dialog ID becomes 0.
    virtual void reset();
    // The host panel while there is one, else null.
    virtual const DG::Panel* getPanel() const = 0;
    // Binds every control not yet bound to the host panel (see the .cpp).
    virtual void addReference();
    void removeReference();

    // Host notifications run inside a scope: objects released meanwhile (controls of a panel that
    // was reset, host objects of a palette that closed) live until the outermost one ends, since
    // the code that notified may still be running on them.
    class NotificationScope {
    public:
        NotificationScope();
        ~NotificationScope();
        NotificationScope(const NotificationScope&) = delete;
        NotificationScope& operator=(const NotificationScope&) = delete;
    };
    // Releases the object now, or when the outermost notification scope ends.
    static void releaseLater(std::shared_ptr<void> object);
    // Tells the user, through the add-on's failure report, of a failure that a host notification
    // caught, since nothing may cross back into the host; nothing escapes from it either.
    static void reportFailure();

protected:
    void setDialogID(Int16 dialogID) { m_dialogID = dialogID; }

private:
    using Factories = std::multimap<Int16, EventFactory>;

    static std::map<Int32, InterfacePanel*>* m_active;
    static Factories* m_creator;
    static Factories* m_adapter;
    static Int32 m_count;

    // Drops the control list and the control observers (later, inside a notification).
    void dropControls();

    std::shared_ptr<InterfacePanelObserver> m_observer;
    std::shared_ptr<List<DialogControl>> m_controls;
    std::shared_ptr<std::map<UInt32, std::unique_ptr<ControlObserver>>> m_controlObservers;
    std::set<Int16> m_attached;
    Int32 m_index;
    Int16 m_resourceID;
    Int16 m_dialogID = 0;
    bool m_sizeFlag;
};

} // namespace zelvane
