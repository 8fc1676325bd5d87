// Lets the add-on's library parts ask for a project-wide preset update through the add-on event
// ('HOST', 'UEPR'): the presets are applied to every element as one undoable step. Registered with
// the project package 'PSET' when the first preset type is; the preset module owns it.
#pragma once

#include "Addon/Subscriber.h"

namespace zelvane {

class PresetUpdater : public Subscriber {
public:
    static EventSpec const spec;

    void getSpec(std::vector<EventSpec>& specs) const override { specs.push_back(spec); }
    // Runs the update command; the event is always taken.
    bool takeEvent(Event& event) override;
};

} // namespace zelvane
