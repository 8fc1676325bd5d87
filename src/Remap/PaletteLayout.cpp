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
    // The grid starts at the smallest height, so the dialog never drops below it.
    if (h < minimumHeight || (h - minimumHeight) % rowHeight != 0) {
        h = Int16(h < minimumHeight ? minimumHeight
                                    : minimumHeight + (h - minimumHeight) / rowHeight * rowHeight);
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
