#include "Remap/PaletteLayout.h"

#include "Interface/Dialog.h"
#include "Interface/DialogControl.h"

namespace zelvane::remap {

void PaletteLayout::apply(Dialog& dialog, DialogControl& list, std::initializer_list<Int16> buttons) const {
    ScreenPoint size = dialog.getSize(0);
    Int16 w = size.getX();
    Int16 h = size.getY();
    bool changed = false;
    if (w > width) {
        w = width;
        changed = true;
    }
    // The list shows whole rows: the height is lowered to the frame plus whole rows. Where that
    // falls below the smallest height, the first such height above it is taken instead, so the
    // dialog never drops below its minimum nor leaves the grid.
    int grid = h > frameHeight ? frameHeight + (h - frameHeight) / rowHeight * rowHeight : frameHeight;
    if (grid < minimumHeight) {
        grid = frameHeight + (minimumHeight - frameHeight + rowHeight - 1) / rowHeight * rowHeight;
    }
    if (grid != h) {
        h = Int16(grid);
        changed = true;
    }
    if (changed) {
        dialog.setSize(ScreenPoint(w, h, 0), 0);
    }
    list.setSize(ScreenPoint(Int16(w - 40), Int16(h - frameHeight)));
    if (buttons.size() == 0) {
        return;
    }
    DialogControl* first = dialog.getControl(*buttons.begin());
    if (first == nullptr) {
        return;
    }
    auto shift = Int16(h - buttonInset - first->getBounds().getOrigin().getY());
    if (shift == 0) {
        return;
    }
    for (Int16 item : buttons) {
        if (DialogControl* button = dialog.getControl(item)) {
            button->offset(ScreenPoint(0, shift));
        }
    }
}

} // namespace zelvane::remap
