#include "DG/DGItems.hpp"

#include "DG/DGInternal.hpp"

#include <algorithm>

namespace {

sim::ItemState* item(short dialId, short number) {
    sim::PanelState* panel = sim::findPanel(dialId);
    return panel != nullptr ? panel->findItem(number) : nullptr;
}

// The frame adds a border and a title bar to the client area.
constexpr short frameWidth = 2;
constexpr short frameHeight = 24;

bool isFrame(short type) {
    return type % 2 != 0;
}

} // namespace

GS::UniString DGGetItemText(short dialId, short number) {
    sim::ItemState* found = item(dialId, number);
    return found != nullptr ? GS::UniString(found->text.c_str(), GS::USize(found->text.size()))
                            : GS::UniString();
}

void DGSetItemText(short dialId, short number, const GS::UniString& text) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->text = text.ToUTF8();
    }
}

void DGEnableItem(short dialId, short number) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->enabled = true;
    }
}

void DGDisableItem(short dialId, short number) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->enabled = false;
    }
}

bool DGIsItemEnabled(short dialId, short number) {
    sim::ItemState* found = item(dialId, number);
    return found != nullptr && found->enabled;
}

void DGShowItem(short dialId, short number) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->visible = true;
    }
}

void DGHideItem(short dialId, short number) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->visible = false;
    }
}

bool DGIsItemVisible(short dialId, short number) {
    sim::ItemState* found = item(dialId, number);
    return found != nullptr && found->visible;
}

void DGRedrawItem(short dialId, short number) {
    if (sim::ItemState* found = item(dialId, number)) {
        ++found->redraws;
        if (found->kind == "userItem") {
            found->redrawPending = true;
        }
    }
}

void DGSetFocus(short dialId, short number) {
    sim::PanelState* panel = sim::findPanel(dialId);
    if (panel != nullptr && (number == -1 || panel->findItem(number) != nullptr)) {
        panel->focus = number == -1 ? 0 : number;
    }
}

short DGGetFocus(short dialId) {
    sim::PanelState* panel = sim::findPanel(dialId);
    return panel != nullptr ? panel->focus : 0;
}

void DGSetItemFont(short dialId, short number, short font) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->font = font;
    }
}

short DGGetItemFont(short dialId, short number) {
    sim::ItemState* found = item(dialId, number);
    return found != nullptr ? found->font : 0;
}

void DGSetItemTextColor(short dialId, short number, UInt16 red, UInt16 green, UInt16 blue) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->textColourSet = true;
        found->textColour[0] = red;
        found->textColour[1] = green;
        found->textColour[2] = blue;
    }
}

void DGSetItemBackgroundColor(short dialId, short number, UInt16 red, UInt16 green, UInt16 blue) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->backgroundSet = true;
        found->background[0] = red;
        found->background[1] = green;
        found->background[2] = blue;
    }
}

short DGGetItemImage(short dialId, short number) {
    sim::ItemState* found = item(dialId, number);
    return found != nullptr ? found->image : 0;
}

void DGSetItemImage(short dialId, short number, short imageResID) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->image = imageResID;
    }
}

bool DGGetItemRect(short dialId, short number, short* left, short* top, short* right, short* bottom) {
    sim::ItemState* found = item(dialId, number);
    if (found == nullptr) {
        return false;
    }
    if (left != nullptr) {
        *left = found->left;
    }
    if (top != nullptr) {
        *top = found->top;
    }
    if (right != nullptr) {
        *right = found->right;
    }
    if (bottom != nullptr) {
        *bottom = found->bottom;
    }
    return true;
}

void DGMoveGrowItem(short dialId, short number, short hDisp, short vDisp, short hGrow, short vGrow) {
    if (sim::ItemState* found = item(dialId, number)) {
        found->left = short(found->left + hDisp);
        found->top = short(found->top + vDisp);
        // An item never becomes narrower than nothing.
        found->right = short(std::max(int(found->left), found->right + hDisp + hGrow));
        found->bottom = short(std::max(int(found->top), found->bottom + vDisp + vGrow));
    }
}

void DGMoveItem(short dialId, short number, short hDisp, short vDisp) {
    DGMoveGrowItem(dialId, number, hDisp, vDisp, 0, 0);
}

void DGGrowItem(short dialId, short number, short hGrow, short vGrow) {
    DGMoveGrowItem(dialId, number, 0, 0, hGrow, vGrow);
}

bool DGGetDialogSize(short dialId, short type, short* hSize, short* vSize) {
    sim::PanelState* panel = sim::findPanel(dialId);
    if (panel == nullptr || hSize == nullptr || vSize == nullptr) {
        return false;
    }
    *hSize = short(panel->width + (isFrame(type) ? frameWidth : 0));
    *vSize = short(panel->height + (isFrame(type) ? frameHeight : 0));
    return true;
}

bool DGGetDialogMinSize(short dialId, short type, short* hSize, short* vSize) {
    sim::PanelState* panel = sim::findPanel(dialId);
    if (panel == nullptr || hSize == nullptr || vSize == nullptr) {
        return false;
    }
    *hSize = short(panel->minWidth + (isFrame(type) ? frameWidth : 0));
    *vSize = short(panel->minHeight + (isFrame(type) ? frameHeight : 0));
    return true;
}

void DGSetDialogSize(short dialId, short type, short hSize, short vSize, short /*anchor*/) {
    if (sim::PanelState* panel = sim::findPanel(dialId)) {
        short width = short(hSize - (isFrame(type) ? frameWidth : 0));
        short height = short(vSize - (isFrame(type) ? frameHeight : 0));
        panel->width = std::max(width, panel->minWidth);
        panel->height = std::max(height, panel->minHeight);
    }
}

void DGSetDialogMinSize(short dialId, short type, short hSize, short vSize) {
    if (sim::PanelState* panel = sim::findPanel(dialId)) {
        panel->minWidth = std::max<short>(0, short(hSize - (isFrame(type) ? frameWidth : 0)));
        panel->minHeight = std::max<short>(0, short(vSize - (isFrame(type) ? frameHeight : 0)));
    }
}

bool DGGetDialogPos(short dialId, short type, short* hPos, short* vPos) {
    sim::PanelState* panel = sim::findPanel(dialId);
    if (panel == nullptr || hPos == nullptr || vPos == nullptr) {
        return false;
    }
    *hPos = short(panel->left - (isFrame(type) ? frameWidth / 2 : 0));
    *vPos = short(panel->top - (isFrame(type) ? frameHeight - frameWidth / 2 : 0));
    return true;
}

void DGSetDialogPos(short dialId, short type, short hPos, short vPos) {
    if (sim::PanelState* panel = sim::findPanel(dialId)) {
        panel->left = short(hPos + (isFrame(type) ? frameWidth / 2 : 0));
        panel->top = short(vPos + (isFrame(type) ? frameHeight - frameWidth / 2 : 0));
    }
}

GS::UniString DGGetDialogTitle(short dialId) {
    sim::PanelState* panel = sim::findPanel(dialId);
    return panel != nullptr ? GS::UniString(panel->title.c_str(), GS::USize(panel->title.size()))
                            : GS::UniString();
}

void DGSetDialogTitle(short dialId, const GS::UniString& title) {
    if (sim::PanelState* panel = sim::findPanel(dialId)) {
        panel->title = title.ToUTF8();
    }
}

void DGSetDialogZPosition(short dialId, short zPosition) {
    if (sim::PanelState* panel = sim::findPanel(dialId)) {
        panel->zPosition = zPosition;
    }
}

void DGRedrawDialog(short dialId) {
    if (sim::PanelState* panel = sim::findPanel(dialId)) {
        ++panel->redraws;
        for (auto& [number, item] : panel->items) {
            item.redrawPending = item.redrawPending || item.kind == "userItem";
        }
    }
}
