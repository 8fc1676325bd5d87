#include "Preset/PresetEditor.h"

#include "GSRoot/GSRoot.hpp"

namespace zelvane {

EventSpec const PresetEditor::spec(MakeGSType("HOST"), MakeGSType("EPDB"));

bool PresetEditor::takeEvent(Event&) {
    return false;
}

} // namespace zelvane
