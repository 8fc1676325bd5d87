// The dialog library's operations on panels and items by panel ID and item number. They work
// from the moment a panel exists, whether or not an item object was made for the item; calls on
// an unknown panel or item do nothing and answer zero, false or empty.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/UniString.hpp"

// Dialog size and position measures: 0, 2 and 4 the client area, 1, 3 and 5 the frame.
constexpr short DG_CLIENT = 0;
constexpr short DG_FRAME = 1;

// Font codes of item texts.
constexpr short DG_IS_LARGE = 0;
constexpr short DG_IS_SMALL = 4;
constexpr short DG_IS_EXTRASMALL = 8;

// Anchors of a resize: the point of the dialog that stays put.
constexpr short DG_TOPLEFT = 1;

constexpr short DG_TOPMOST = -32768;

GS::UniString DGGetItemText(short dialId, short item);
void DGSetItemText(short dialId, short item, const GS::UniString& text);

void DGEnableItem(short dialId, short item);
void DGDisableItem(short dialId, short item);
bool DGIsItemEnabled(short dialId, short item);
void DGShowItem(short dialId, short item);
void DGHideItem(short dialId, short item);
bool DGIsItemVisible(short dialId, short item);
void DGRedrawItem(short dialId, short item);
// item -1 takes the focus from every item.
void DGSetFocus(short dialId, short item);
short DGGetFocus(short dialId);
void DGSetItemFont(short dialId, short item, short font);
short DGGetItemFont(short dialId, short item);
void DGSetItemTextColor(short dialId, short item, UInt16 red, UInt16 green, UInt16 blue);
void DGSetItemBackgroundColor(short dialId, short item, UInt16 red, UInt16 green, UInt16 blue);
// The image resource shown by an item; 0 for none.
short DGGetItemImage(short dialId, short item);
void DGSetItemImage(short dialId, short item, short imageResID);

// The item's rectangle in client coordinates; false when there is no such item.
bool DGGetItemRect(short dialId, short item, short* left, short* top, short* right, short* bottom);
void DGMoveItem(short dialId, short item, short hDisp, short vDisp);
void DGGrowItem(short dialId, short item, short hGrow, short vGrow);
void DGMoveGrowItem(short dialId, short item, short hDisp, short vDisp, short hGrow, short vGrow);

// The dialog's size and minimum size in the given measure; false for an unknown dialog.
bool DGGetDialogSize(short dialId, short type, short* hSize, short* vSize);
bool DGGetDialogMinSize(short dialId, short type, short* hSize, short* vSize);
void DGSetDialogSize(short dialId, short type, short hSize, short vSize, short anchor);
void DGSetDialogMinSize(short dialId, short type, short hSize, short vSize);
bool DGGetDialogPos(short dialId, short type, short* hPos, short* vPos);
void DGSetDialogPos(short dialId, short type, short hPos, short vPos);
GS::UniString DGGetDialogTitle(short dialId);
void DGSetDialogTitle(short dialId, const GS::UniString& title);
void DGSetDialogZPosition(short dialId, short zPosition);
void DGRedrawDialog(short dialId);
