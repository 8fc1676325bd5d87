#include "Interface/InterfacePanel.h"

#include "Addon/ActionEvent.h"
#include "Addon/Addon.h"
#include "Addon/ChangeEvent.h"
#include "Addon/DialogEvent.h"
#include "Addon/DropEvent.h"
#include "Addon/FocusEvent.h"
#include "Addon/ItemEvent.h"
#include "Addon/KeyEvent.h"
#include "Addon/ListHeaderClickEvent.h"
#include "Addon/ListHeaderDragEvent.h"
#include "Addon/ListHeaderResizeEvent.h"
#include "Addon/MoveEvent.h"
#include "Addon/PaintEvent.h"
#include "Addon/ProjectSubscriber.h"
#include "Addon/ResizeEvent.h"
#include "Addon/SplitterDragEvent.h"
#include "DG/DGItems.hpp"
#include "DG/DGPanel.hpp"
#include "Interface/GenericObserver.h"
#include "Interface/InterfacePanelObserver.h"

#include <algorithm>

namespace zelvane {
namespace {

// Closes every live panel when the project closes (32) or the host quits (64).
class Projector : public ProjectSubscriber {
public:
    void getSpec(std::vector<EventSpec>& specs) const override {
        ProjectSubscriber::getSpec(specs);
        registered = true;
    }

    bool handleEvent(ProjectEvent& event) override {
        if (event.getID() == 32 || event.getID() == 64) {
            InterfacePanel::closeAll();
        }
        return false;
    }

    mutable bool registered = false;
};

Projector& projector() {
    static Projector instance;
    return instance;
}

template <class Event>
InterfaceEvent* make(Int32 message, const ControlLink& link, const InterfaceEvent::Data& data) {
    return Event::create(UInt32(message), link, data);
}

int notificationDepth = 0;

std::vector<std::shared_ptr<void>>& deferred() {
    static std::vector<std::shared_ptr<void>> objects;
    return objects;
}

} // namespace

std::map<Int32, InterfacePanel*>* InterfacePanel::m_active = nullptr;
InterfacePanel::Factories* InterfacePanel::m_creator = nullptr;
InterfacePanel::Factories* InterfacePanel::m_adapter = nullptr;
Int32 InterfacePanel::m_count = 0;

InterfacePanel::NotificationScope::NotificationScope() {
    ++notificationDepth;
}

InterfacePanel::NotificationScope::~NotificationScope() {
    if (--notificationDepth == 0) {
        // Released outside the scope: a destructor may open another one.
        std::vector<std::shared_ptr<void>> objects;
        objects.swap(deferred());
        objects.clear();
    }
}

void InterfacePanel::reportFailure() {
    if (addon == nullptr) {
        return;
    }
    try {
        addon->reportUnexpectedFailure();
    } catch (...) {
        // The report is the last thing that can be told.
    }
}

void InterfacePanel::releaseLater(std::shared_ptr<void> object) {
    if (notificationDepth > 0 && object) {
        deferred().push_back(std::move(object));
    }
}

void InterfacePanel::startup() {
    if (m_active == nullptr) {
        m_active = new std::map<Int32, InterfacePanel*>;
    }
    delete m_creator;
    m_creator = new Factories{
        {1, make<DialogEvent>},
        {3, make<DialogEvent>},
        {4, make<ActionEvent>},
        {5, make<ActionEvent>},
        {6, make<ItemEvent>},
        {7, make<ChangeEvent>},
        {8, make<MoveEvent>},
        {9, make<FocusEvent>},
        {10, make<KeyEvent>},
        {11, make<DialogEvent>},
        {13, make<ResizeEvent>},
        {14, make<DialogEvent>},
        {16, make<PaintEvent>},
        {17, make<DropEvent>},
        {23, make<ListHeaderClickEvent>},
        {24, make<ListHeaderDragEvent>},
        {25, make<ListHeaderResizeEvent>},
        {27, make<SplitterDragEvent>},
    };
}

void InterfacePanel::shutdown() {
    delete m_active;
    m_active = nullptr;
    delete m_creator;
    m_creator = nullptr;
    delete m_adapter;
    m_adapter = nullptr;
    projector().registered = false;
}

void InterfacePanel::addAdapter(Int32 message, EventFactory factory) {
    if (factory == nullptr) {
        return;
    }
    if (m_adapter == nullptr) {
        m_adapter = new Factories;
    }
    m_adapter->emplace(Int16(message), factory);
}

InterfaceEvent* InterfacePanel::createEvent(Int32 message, const ControlLink& link,
                                            const InterfaceEvent::Data& data) {
    for (Factories* table : {m_adapter, m_creator}) {
        if (table == nullptr) {
            continue;
        }
        auto range = table->equal_range(Int16(message));
        for (auto it = range.first; it != range.second; ++it) {
            if (InterfaceEvent* event = it->second(message, link, data)) {
                return event;
            }
        }
    }
    return nullptr;
}

InterfacePanel* InterfacePanel::findPanelByIndex(Int32 index) {
    if (m_active == nullptr) {
        return nullptr;
    }
    auto it = m_active->find(index);
    return it == m_active->end() ? nullptr : it->second;
}

InterfacePanel* InterfacePanel::findPanelByID(Int16 dialogID) {
    // 0 is the ID of every panel that is not open: no host dialog has it.
    if (m_active == nullptr || dialogID == 0) {
        return nullptr;
    }
    for (const auto& entry : *m_active) {
        if (entry.second->getDialogID() == dialogID) {
            return entry.second;
        }
    }
    return nullptr;
}

Subscriber& InterfacePanel::getProjector() {
    return projector();
}

void InterfacePanel::closeAll() {
    if (m_active == nullptr) {
        return;
    }
    // A panel may close, or delete, others while it closes: walk a copy and look each up again.
    std::vector<Int32> indexes;
    for (const auto& entry : *m_active) {
        indexes.push_back(entry.first);
    }
    for (Int32 index : indexes) {
        if (InterfacePanel* panel = findPanelByIndex(index)) {
            panel->close();
        }
    }
}

InterfacePanel::InterfacePanel(Int16 resourceID, bool sizeFlag)
    : m_controls(std::make_shared<List<DialogControl>>()),
      m_controlObservers(std::make_shared<std::map<UInt32, std::unique_ptr<ControlObserver>>>()),
      m_index(++m_count), m_resourceID(resourceID), m_sizeFlag(sizeFlag) {
    // Without an add-on there is nothing to register the projector with.
    if (!projector().registered && addon != nullptr) {
        addon->addSubscriber(&projector());
    }
    if (m_active != nullptr) {
        (*m_active)[m_index] = this;
    }
}

InterfacePanel::~InterfacePanel() {
    if (m_active != nullptr) {
        m_active->erase(m_index);
    }
    releaseLater(m_controls);
    releaseLater(m_controlObservers);
    releaseLater(m_observer);
}

DialogControl* InterfacePanel::getControl(Int16 item) const {
    for (DialogControl* control : *m_controls) {
        if (control->isItem(item)) {
            return control;
        }
    }
    return nullptr;
}

void InterfacePanel::addControl(DialogControl* control) {
    if (control != nullptr &&
        std::find(m_controls->begin(), m_controls->end(), control) == m_controls->end()) {
        m_controls->push_back(control);
    }
}

void InterfacePanel::removeControl(Int16 item) {
    auto it = std::find_if(m_controls->begin(), m_controls->end(),
                           [item](const DialogControl* control) { return control->isItem(item); });
    if (it == m_controls->end()) {
        return;
    }
    if (notificationDepth > 0) {
        // The control may be the one whose event is being handled.
        std::shared_ptr<DialogControl> kept(*it);
        m_controls->release(it);
        releaseLater(kept);
    } else {
        m_controls->erase(it);
    }
    m_attached.erase(item);
}

bool InterfacePanel::getChildren(InterfacePanelList& children) const {
    bool any = false;
    if (m_active == nullptr) {
        return false;
    }
    for (const auto& entry : *m_active) {
        if (entry.second != this && entry.second->getParent() == this) {
            children.push_back(entry.second);
            any = true;
        }
    }
    return any;
}

void InterfacePanel::setObserver(InterfacePanelObserver* observer) {
    releaseLater(m_observer);
    m_observer.reset(observer);
}

ScreenPoint InterfacePanel::getSize(ScreenPoint::Type type) const {
    short width = 0, height = 0;
    DGGetDialogSize(getDialogID(), short(type), &width, &height);
    return ScreenPoint(width, height, type);
}

ScreenPoint InterfacePanel::getMinimumSize(ScreenPoint::Type type) const {
    short width = 0, height = 0;
    DGGetDialogMinSize(getDialogID(), short(type), &width, &height);
    return ScreenPoint(width, height, type);
}

ScreenPoint InterfacePanel::getLocation(ScreenPoint::Type, ScreenPoint::Context) const {
    return ScreenPoint();
}

void InterfacePanel::setSize(const ScreenPoint& size, ScreenPoint::Anchor anchor) {
    if (isStarted()) {
        DGSetDialogSize(getDialogID(), short(size.getType()), size.getX(), size.getY(), short(anchor));
    }
}

void InterfacePanel::setMinimumSize(const ScreenPoint& size, ScreenPoint::Type type) {
    DGSetDialogMinSize(getDialogID(), short(type), size.getX(), size.getY());
}

void InterfacePanel::setDragDrop() {
    if (const DG::Panel* panel = getPanel()) {
        panel->EnableDragAndDropEvent();
    }
}

void InterfacePanel::removeFocus() {
    DGSetFocus(getDialogID(), -1);
}

void InterfacePanel::redraw() {
    if (isStarted()) {
        DGRedrawDialog(getDialogID());
    }
}

bool InterfacePanel::broadcastEvent(Event& event) {
    auto* interfaceEvent = dynamic_cast<InterfaceEvent*>(&event);
    if (interfaceEvent == nullptr) {
        publishEvent(event);
        return false;
    }
    // A handler may reset or delete the panel: the controls stay alive until this returns, and
    // the panel is looked up again before it is used.
    Int32 index = m_index;
    std::shared_ptr<List<DialogControl>> controls = m_controls;
    auto alive = [this, index] { return findPanelByIndex(index) == this; };
    bool result = false;
    if (interfaceEvent->getItem() >= 1) {
        if (DialogControl* control = getControl(interfaceEvent->getItem())) {
            control->publishEvent(event);
        }
        if (!alive()) {
            return false;
        }
        publishEvent(event);
    } else if (interfaceEvent->getID() == 1) {
        std::vector<DialogControl*> snapshot(controls->begin(), controls->end());
        bool taken = false;
        for (DialogControl* control : snapshot) {
            if (control->publishEvent(event)) {
                taken = true;
            }
            if (!alive()) {
                return taken;
            }
        }
        if (taken) {
            result = true;
        } else {
            publishEvent(event);
        }
    } else {
        publishEvent(event);
    }
    if (alive() &&
        (dynamic_cast<ActionEvent*>(&event) != nullptr || dynamic_cast<ItemEvent*>(&event) != nullptr)) {
        handleEdit(*interfaceEvent);
    }
    return result;
}

void InterfacePanel::dropControls() {
    releaseLater(m_controls);
    m_controls = std::make_shared<List<DialogControl>>();
    releaseLater(m_controlObservers);
    m_controlObservers = std::make_shared<std::map<UInt32, std::unique_ptr<ControlObserver>>>();
}

void InterfacePanel::reset() {
    dropControls();
    m_dialogID = 0;
    m_attached.clear();
    removeReference();
}

void InterfacePanel::addReference() {
    const DG::Panel* panel = getPanel();
    if (panel == nullptr) {
        return;
    }
    auto observers = m_controlObservers;
    auto controls = m_controls;
    const UInt32 genericCode = MakeGSType("CLLA");
    auto generic = observers->find(genericCode);
    if (generic == observers->end()) {
        generic = observers->emplace(genericCode, std::make_unique<GenericObserver>()).first;
    }
    std::vector<DialogControl*> snapshot(controls->begin(), controls->end());
    for (DialogControl* control : snapshot) {
        Int16 item = control->getIndex(0);
        if (!m_attached.insert(item).second) {
            continue;
        }
        control->addReference(*panel);
        generic->second->attach(*panel, *control);
        ControlObserver* observer = nullptr;
        auto found = observers->find(control->getType());
        if (found != observers->end()) {
            observer = found->second.get();
        } else if ((observer = control->getObserver()) != nullptr) {
            (*observers)[control->getType()].reset(observer);
        }
        if (observer != nullptr) {
            observer->attach(*panel, *control);
        }
    }
}

void InterfacePanel::removeReference() {
    releaseLater(m_controlObservers);
    m_controlObservers = std::make_shared<std::map<UInt32, std::unique_ptr<ControlObserver>>>();
    m_attached.clear();
    auto controls = m_controls;
    for (DialogControl* control : *controls) {
        control->removeReference();
    }
}

} // namespace zelvane
