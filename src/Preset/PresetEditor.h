// Opens the preset manager when the add-on event ('HOST', 'EPDB') is published. Registered with the
// project package 'PSET' when the first preset type is; the preset module owns it.
#pragma once

#include "Addon/Subscriber.h"

namespace zelvane {

class PresetEditor : public Subscriber {
public:
    static EventSpec const spec;

    void getSpec(std::vector<EventSpec>& specs) const override { specs.push_back(spec); }
    // Shows the preset dialog on a copy of the project's presets, which OK makes the project's.
    // The event is taken in any case: without a project or presets nothing opens.
    bool takeEvent(Event& event) override;
};

} // namespace zelvane
