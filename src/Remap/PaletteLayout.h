// The layout of the remapping dialogs as they are resized: the width stays fixed, the height moves
// in whole list rows, the list takes the room left by the rest and the buttons keep their distance
// from the bottom edge.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <initializer_list>

namespace zelvane {
class Dialog;
class DialogControl;
} // namespace zelvane

namespace zelvane::remap {

struct PaletteLayout {
    Int16 width;         // the dialog's only width
    Int16 minimumHeight; // the smallest height
    Int16 rowHeight;     // the list shows whole rows
    Int16 frameHeight;   // the height of everything but the list
    Int16 buttonInset;   // from the buttons' top edge to the dialog's bottom edge

    // Sets the dialog's size back onto the grid (the frame plus whole rows, no lower than the
    // first grid height from the minimum up) when the user left it, then lays out the list and
    // moves the buttons (the first one's top edge tells how far).
    void apply(Dialog& dialog, DialogControl& list, std::initializer_list<Int16> buttons) const;
};

} // namespace zelvane::remap
