// Messages of the host dialog library: the message numbers a dialog's callback receives and the
// records some of them point to.
#pragma once

#include "GSRoot/GSRoot.hpp"

constexpr short DG_MSG_NULL = 0;
constexpr short DG_MSG_INIT = 1;
constexpr short DG_MSG_CLOSEREQUEST = 2;
constexpr short DG_MSG_CLOSE = 3;
constexpr short DG_MSG_CLICK = 4;
constexpr short DG_MSG_DOUBLECLICK = 5;
constexpr short DG_MSG_CHANGE = 6;
constexpr short DG_MSG_TRACK = 7;
constexpr short DG_MSG_MOUSEMOVE = 8;
constexpr short DG_MSG_FOCUS = 9;
constexpr short DG_MSG_FILTERCHAR = 10;
constexpr short DG_MSG_HOTKEY = 11;
constexpr short DG_MSG_GROW = 12;
constexpr short DG_MSG_RESIZE = 13;
constexpr short DG_MSG_ACTIVATE = 14;
constexpr short DG_MSG_TOPSTATUSCHANGE = 15;
constexpr short DG_MSG_UPDATE = 16;
constexpr short DG_MSG_DRAGDROP = 17;
constexpr short DG_MSG_LISTHEADERCLICK = 23;
constexpr short DG_MSG_LISTHEADERDRAG = 24;
constexpr short DG_MSG_LISTHEADERRESIZE = 25;
constexpr short DG_MSG_LISTHEADERBUTTONCLICK = 26;
constexpr short DG_MSG_SPLITTERDRAG = 27;

// DG_MSG_GROW, DG_MSG_RESIZE: a dialog was resized.
struct DGResizeMsgData {
    short subMessage = 0; // phase: 0 entered, 1 resized, 2 exited
    bool userResize = false;
    short hGrow = 0;
    short vGrow = 0;
};

// DG_MSG_UPDATE of a user item: the item to draw and the drawing context.
struct DGUserUpdateData {
    short dialogID = 0;
    short itemID = 0;
    void* drawContext = nullptr;
    Int32 left = 0, top = 0, right = 0, bottom = 0;
};

// DG_MSG_DRAGDROP: a drag over or a drop on an item or a dialog. The effect, deny-feedback value
// and right-drag-menu flag are answers written by the dialog's handler.
struct DGDragDropMsgData {
    short subMessage = 0; // 0 starting, 1 started, 2 ended, 4 entered, 5 moved, 6 left, 7 dropped
    Int32 effect = 0;
    short denyFeedback = 0;
    bool rightDragMenu = false;
    short x = 0; // target position, for drop-target messages
    short y = 0;
    short insertPos = 0;
    short relativePos = 0;
};

// A click, double click or other notification of a list box row.
struct DGListMsgData {
    short listItem = 0; // 1-based row under the mouse
    short xPos = 0;
    short yPos = 0;
    short modifiers = 0;
};

// DG_MSG_LISTHEADERCLICK, DG_MSG_LISTHEADERDRAG, DG_MSG_LISTHEADERRESIZE.
struct DGListHeaderMsgData {
    short subMessage = 0; // phase or drag status
    short itemIndex = 0;  // 1-based header item, or its old position when dragged
    short newIndex = 0;   // 1-based header item, or its new position when dragged
    short sizeChange = 0; // width change of a resized item
};

// DG_MSG_SPLITTERDRAG.
struct DGSplitterMsgData {
    Int32 position = 0;
    short dragStatus = 0;
};
