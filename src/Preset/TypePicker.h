// Observes the type pop-up of the preset dialog: another type chosen becomes the template of new
// records, and the list shows the records of that type.
#pragma once

#include "Addon/ItemSubscriber.h"

namespace zelvane {

class PresetDialog;

class TypePicker : public ItemSubscriber {
public:
    explicit TypePicker(PresetDialog& dialog) : m_dialog(&dialog) {}

    // Events of other panels are left alone.
    bool handleEvent(ItemEvent& event) override;

private:
    PresetDialog* m_dialog;
};

} // namespace zelvane
