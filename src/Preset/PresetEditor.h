// Opens the preset manager when the add-on event ('HOST', 'EPDB') is published. Registered with the
// project package 'PSET' when the first preset type is; the preset module owns it.
#pragma once

#include "Addon/Subscriber.h"

namespace zelvane {

class PresetEditor : public Subscriber {
public:
    static EventSpec const spec;

    void getSpec(std::vector<EventSpec>& specs) const override { specs.push_back(spec); }
    // The preset manager dialog is not part of the framework yet: the event is left to others.
    bool takeEvent(Event& event) override;
};

} // namespace zelvane
