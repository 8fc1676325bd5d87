#include "Interface/SingleText.h"

#include "DG/DGItems.hpp"
#include "Environment/StringSetting.h"

namespace zelvane {

String SingleText::getText() const {
    return String(DGGetItemText(getDialogID(), getIndex(0)));
}

void SingleText::setText(const String& text) {
    DGSetItemText(getDialogID(), getIndex(0), GS::UniString(text));
}

Setting* SingleText::getSetting(Int16 row, Int16 column) const {
    return isValidCell(row, column) ? new StringSetting(getText()) : nullptr;
}

void SingleText::setSetting(const Setting& setting, Int16 row, Int16 column) {
    if (isValidCell(row, column)) {
        String text;
        setting.getValue(text);
        setText(text);
    }
}

} // namespace zelvane
