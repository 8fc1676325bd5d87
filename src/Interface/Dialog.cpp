#include "Interface/Dialog.h"

#include "ACAPI/Resources.hpp"
#include "Addon/ActionEvent.h"
#include "Addon/Addon.h"
#include "DG/DGItems.hpp"
#include "DG/DGPanel.hpp"
#include "Interface/Button.h"
#include "Interface/DialogObserver.h"

namespace zelvane {

Dialog::Dialog(Int16 resourceID, bool modal, bool sizeFlag, bool locationFlag)
    : InterfacePanel(resourceID, sizeFlag), m_modal(modal), m_locationFlag(locationFlag) {}

Dialog::~Dialog() {
    close();
    releaseLater(m_dialog);
}

Int16 Dialog::show(bool activate) {
    if (!(isStarted() && m_dialog)) {
        GSResModule module = ACAPI_GetOwnResModule();
        if (m_modal) {
            m_dialog = std::make_shared<DG::ModalDialog>(module, getResourceID());
        } else {
            m_dialog = std::make_shared<DG::Palette>(module, getResourceID(), GS::Guid(m_dockingID));
        }
        if (!m_dialog->IsValid()) {
            m_dialog.reset();
            return 0;
        }
    }
    if (!isStarted()) {
        auto* observer = new DialogObserver(getIndex());
        setObserver(observer);
        m_dialog->Attach(*observer);
        setDialogID(m_dialog->GetId());
        if (m_modal) {
            // Held here: the dialog's handlers may drop the dialog's own reference meanwhile.
            auto modal = std::static_pointer_cast<DG::ModalDialog>(m_dialog);
            bool accepted = modal->Invoke();
            reset();
            m_dialog.reset();
            return accepted ? 1 : 2;
        }
        auto palette = std::static_pointer_cast<DG::Palette>(m_dialog);
        palette->BeginEventProcessing();
        palette->Show(DG_TOPMOST);
        if (activate) {
            palette->Activate();
        }
        return 0;
    }
    if (!m_modal) {
        auto palette = std::static_pointer_cast<DG::Palette>(m_dialog);
        palette->Show(DG_TOPMOST);
        palette->Activate();
    }
    return 0;
}

void Dialog::close() {
    if (!isStarted() || !m_dialog) {
        return;
    }
    if (m_modal) {
        std::static_pointer_cast<DG::ModalDialog>(m_dialog)->Abort();
        return;
    }
    // The palette's closed notification resets the panel; the host object goes once the
    // notification that asked for the close (if any) has returned.
    auto palette = std::static_pointer_cast<DG::Palette>(m_dialog);
    m_dialog.reset();
    releaseLater(palette);
    palette->EndEventProcessing();
}

void Dialog::requestClose(bool accept) {
    if (!m_modal) {
        close();
    } else if (m_dialog) {
        std::static_pointer_cast<DG::ModalDialog>(m_dialog)->PostCloseRequest(
            accept ? DG::ModalDialog::Accept : DG::ModalDialog::Cancel);
    }
}

void Dialog::hide() {
    if (!m_modal && m_dialog && isStarted()) {
        std::static_pointer_cast<DG::Palette>(m_dialog)->Hide();
    }
}

void Dialog::bringToFront() {
    DGSetDialogZPosition(getDialogID(), DG_TOPMOST);
}

bool Dialog::isVisible() const {
    return !m_modal && m_dialog && std::static_pointer_cast<DG::Palette>(m_dialog)->IsVisible();
}

String Dialog::getTitle() const {
    return isStarted() ? String(DGGetDialogTitle(getDialogID())) : String();
}

void Dialog::setTitle(const String& title) {
    if (isStarted()) {
        DGSetDialogTitle(getDialogID(), GS::UniString(title));
    }
}

ScreenPoint Dialog::getLocation(ScreenPoint::Type type, ScreenPoint::Context context) const {
    short h = 0, v = 0;
    if (type > 5 || !isStarted() || !DGGetDialogPos(getDialogID(), short(type), &h, &v)) {
        return ScreenPoint();
    }
    return ScreenPoint(h, v, type, context);
}

void Dialog::setLocation(const ScreenPoint& location) {
    if (location.getType() <= 5 && isStarted()) {
        DGSetDialogPos(getDialogID(), short(location.getType()), location.getX(), location.getY());
    }
}

void Dialog::setResizeType(Int16 growType) {
    if (m_dialog) {
        m_dialog->SetGrowType(growType);
    }
}

Int16 Dialog::registerHotkey(Int16 key, ModifierKey first, ModifierKey second, ModifierKey third) {
    return m_dialog ? m_dialog->RegisterHotKey(key, first, second, third) : 0;
}

void Dialog::setHotkeyEnabled(bool enabled) {
    if (!m_dialog) {
        return;
    }
    if (enabled) {
        m_dialog->EnableHotKeys();
    } else {
        m_dialog->DisableHotKeys();
    }
}

bool Dialog::broadcastEvent(Event& event) {
    // A handler may delete the dialog: nothing of it is read afterwards until it is found again.
    Int32 index = getIndex();
    bool modal = m_modal;
    auto* action = dynamic_cast<ActionEvent*>(&event);
    bool result = false;
    if (!modal && action != nullptr && addon != nullptr) {
        // A palette's buttons act outside any host callback.
        addon->runExternalEntry([&] { result = InterfacePanel::broadcastEvent(event); });
    } else {
        result = InterfacePanel::broadcastEvent(event);
    }
    if (modal && action != nullptr && findPanelByIndex(index) == this) {
        Int16 item = action->getItem();
        if ((item == 1 || item == 2) && dynamic_cast<Button*>(getControl(item)) != nullptr) {
            requestClose(item == 1);
        }
    }
    return result;
}

void Dialog::reset() {
    InterfacePanel::reset();
    if (std::shared_ptr<InterfacePanelObserver> observer = getObserver()) {
        if (m_dialog) {
            m_dialog->Detach(*observer);
        }
        setObserver(nullptr);
    }
}

const DG::Panel* Dialog::getPanel() const {
    return m_dialog.get();
}

void Dialog::addReference() {
    InterfacePanel::addReference();
    if (!m_modal || getPanel() == nullptr) {
        return;
    }
    bool made = false;
    for (Int16 item : {Int16(1), Int16(2)}) {
        if (getControl(item) == nullptr) {
            new Button(ControlLink(item, this));
            made = true;
        }
    }
    if (made) {
        InterfacePanel::addReference();
    }
}

} // namespace zelvane
