#include "Preset/PresetEditor.h"

#include "Database/Project.h"
#include "Environment/Host.h"
#include "GSRoot/GSRoot.hpp"
#include "Preset/PresetDatabase.h"
#include "Preset/PresetDialog.h"

namespace zelvane {

EventSpec const PresetEditor::spec(MakeGSType("HOST"), MakeGSType("EPDB"));

bool PresetEditor::takeEvent(Event&) {
    Project* project = host.getProject();
    if (project == nullptr ||
        dynamic_cast<PresetDatabase*>(project->getPreference(PresetDatabase::ID.getFamily())) == nullptr) {
        return true;
    }
    PresetDialog dialog;
    dialog.show();
    return true;
}

} // namespace zelvane
