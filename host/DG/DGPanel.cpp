#include "DG/DGPanel.hpp"

#include "DG/DGInternal.hpp"
#include "sim/Sim.h"

#include <algorithm>

namespace DG {
namespace {

void attachTo(std::vector<EventObserver*>& list, EventObserver* observer) {
    if (std::find(list.begin(), list.end(), observer) == list.end()) {
        list.push_back(observer);
    }
}

void detachFrom(std::vector<EventObserver*>& list, EventObserver* observer) {
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

} // namespace

EventObserver::~EventObserver() {
    sim::internal::detachEverywhere(this);
}

Panel::Panel(Kind kind, GSResModule module, short resID, short parentId) {
    if (sim::enter("DG::Panel", resID) == NoError) {
        m_id = sim::internal::createPanel(sim::PanelState::Kind(kind), module, resID, parentId);
    }
}

Panel::~Panel() {
    sim::internal::destroyPanel(m_id);
}

void Panel::Attach(PanelObserver& observer) const {
    if (sim::PanelState* panel = sim::findPanel(m_id)) {
        attachTo(panel->observers, &observer);
    }
}

void Panel::Detach(PanelObserver& observer) const {
    if (sim::PanelState* panel = sim::findPanel(m_id)) {
        detachFrom(panel->observers, &observer);
    }
}

short Panel::RegisterHotKey(short key, short modifier1, short modifier2, short modifier3) const {
    sim::PanelState* panel = sim::findPanel(m_id);
    if (sim::enter("DG::Panel::RegisterHotKey", key) != NoError || panel == nullptr) {
        return 0;
    }
    sim::HotKey hotKey;
    hotKey.id = short(panel->hotKeys.size() + 1);
    hotKey.key = key;
    hotKey.modifiers[0] = modifier1;
    hotKey.modifiers[1] = modifier2;
    hotKey.modifiers[2] = modifier3;
    panel->hotKeys.push_back(hotKey);
    return hotKey.id;
}

void Panel::EnableHotKeys() const {
    if (sim::PanelState* panel = sim::findPanel(m_id)) {
        panel->hotKeysEnabled = true;
    }
}

void Panel::DisableHotKeys() const {
    if (sim::PanelState* panel = sim::findPanel(m_id)) {
        panel->hotKeysEnabled = false;
    }
}

void Panel::EnableDragAndDropEvent() const {
    if (sim::PanelState* panel = sim::findPanel(m_id)) {
        panel->dragDrop = true;
    }
}

void Dialog::SetGrowType(short growType) const {
    sim::PanelState* panel = sim::findPanel(GetId());
    if (panel != nullptr && growType >= 0 && growType <= 3) {
        panel->grow = growType;
    }
}

ModalDialog::ModalDialog(GSResModule module, short resID) : Dialog(ModalKind, module, resID, 0) {}

bool ModalDialog::Invoke() {
    if (sim::enter("DG::ModalDialog::Invoke", GetId()) != NoError || !IsValid()) {
        m_result = Cancel;
        return false;
    }
    m_result = ModalResponse(sim::internal::runModal(GetId()));
    return m_result == Accept;
}

void ModalDialog::PostCloseRequest(ModalResponse response) const {
    sim::PanelState* panel = sim::findPanel(GetId());
    if (panel != nullptr && !panel->closed && (response == Accept || response == Cancel)) {
        panel->pendingClose = response;
    }
}

void ModalDialog::Abort() const {
    sim::PanelState* panel = sim::findPanel(GetId());
    if (panel != nullptr && !panel->closed) {
        panel->pendingAbort = true;
    }
}

Palette::Palette(GSResModule module, short resID, const GS::Guid& dockingId)
    : Dialog(PaletteKind, module, resID, 0), m_dockingId(dockingId) {}

void Palette::BeginEventProcessing() const {
    sim::PanelState* panel = sim::findPanel(GetId());
    if (sim::enter("DG::Palette::BeginEventProcessing", GetId()) != NoError || panel == nullptr ||
        panel->processing) {
        return;
    }
    panel->processing = true;
    sim::internal::openPalette(GetId());
}

void Palette::EndEventProcessing() const {
    sim::internal::endPalette(GetId());
}

void Palette::Show(short zPosition) const {
    if (sim::PanelState* panel = sim::findPanel(GetId())) {
        panel->visible = true;
        panel->zPosition = zPosition;
    }
}

void Palette::Hide() const {
    if (sim::PanelState* panel = sim::findPanel(GetId())) {
        panel->visible = false;
    }
}

void Palette::Activate() const {
    if (sim::PanelState* panel = sim::findPanel(GetId())) {
        panel->zPosition = -32768;
    }
}

bool Palette::IsVisible() const {
    sim::PanelState* panel = sim::findPanel(GetId());
    return panel != nullptr && panel->visible;
}

Item::Item(const Panel& panel, short itemId) : m_panelId(panel.GetId()), m_itemId(itemId) {}

Item::Item(const Panel& panel, short itemId, const char* kind)
    : m_panelId(panel.GetId()), m_itemId(itemId), m_kind(kind) {}

bool Item::IsValid() const {
    sim::PanelState* panel = sim::findPanel(m_panelId);
    sim::ItemState* item = panel != nullptr ? panel->findItem(m_itemId) : nullptr;
    return item != nullptr && (m_kind == nullptr || item->kind == m_kind);
}

void Item::Attach(ItemObserver& observer) const {
    sim::PanelState* panel = sim::findPanel(m_panelId);
    if (sim::ItemState* item = panel != nullptr ? panel->findItem(m_itemId) : nullptr) {
        attachTo(item->observers, &observer);
    }
}

void Item::Detach(ItemObserver& observer) const {
    sim::PanelState* panel = sim::findPanel(m_panelId);
    if (sim::ItemState* item = panel != nullptr ? panel->findItem(m_itemId) : nullptr) {
        detachFrom(item->observers, &observer);
    }
}

TabPage::TabPage(const TabControl& tabControl, short /*page*/, GSResModule module, short resID)
    : Panel(TabPageKind, module, resID, tabControl.IsValid() ? tabControl.GetPanelId() : 0),
      m_parentId(tabControl.IsValid() ? tabControl.GetPanelId() : 0) {}

short TabPage::GetWidth() const {
    sim::PanelState* panel = sim::findPanel(GetId());
    return panel != nullptr ? panel->width : 0;
}

short TabPage::GetHeight() const {
    sim::PanelState* panel = sim::findPanel(GetId());
    return panel != nullptr ? panel->height : 0;
}

void TabPage::SetSize(short width, short height) const {
    if (sim::PanelState* panel = sim::findPanel(GetId())) {
        panel->width = std::max<short>(width, 0);
        panel->height = std::max<short>(height, 0);
    }
}

Int32 TabPage::GetFixPoint() const {
    sim::PanelState* panel = sim::findPanel(GetId());
    return panel != nullptr ? panel->fixPoint : 0;
}

void TabPage::SetFixPoint(Int32 anchor) const {
    if (sim::PanelState* panel = sim::findPanel(GetId())) {
        panel->fixPoint = anchor;
    }
}

} // namespace DG
