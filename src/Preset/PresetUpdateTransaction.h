// The preset update command: applies the presets of the add-on's library configuration to every
// element of the project as one undoable step.
#pragma once

#include "Addon/Transaction.h"

namespace zelvane {

class PresetUpdateTransaction : public Transaction {
public:
    // The localised name of the undo step.
    static constexpr short nameList = 32707;
    static constexpr short nameIndex = 12;

    explicit PresetUpdateTransaction(String const& name) : Transaction(name) {}

    // Only while the add-on runs.
    bool initialise() override;
    GSErrCode run() override;
};

} // namespace zelvane
