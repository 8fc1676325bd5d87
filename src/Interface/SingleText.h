// A control that shows one text: the base of static and edit texts.
#pragma once

#include "Interface/DialogControl.h"

namespace zelvane {

class SingleText : public DialogControl {
public:
    explicit SingleText(const ControlLink& link) : DialogControl(link) {}

    // The item's text on the host.
    virtual String getText() const;
    virtual void setText(const String& text);
    // A new text setting holding the text (the caller deletes it); null for an invalid cell.
    Setting* getSetting(Int16 row = 0, Int16 column = 0) const override;
    // The setting's text form becomes the text.
    void setSetting(const Setting& setting, Int16 row = 0, Int16 column = 0) override;
};

} // namespace zelvane
