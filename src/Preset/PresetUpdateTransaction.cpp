#include "Preset/PresetUpdateTransaction.h"

#include "Addon/Addon.h"
#include "Preset/ZelvaneLibrary.h"

namespace zelvane {

bool PresetUpdateTransaction::initialise() {
    return addon != nullptr;
}

GSErrCode PresetUpdateTransaction::run() {
    if (addon != nullptr) {
        addon->getLibraryConfiguration().applyPresetsToProject(true);
    }
    return NoError;
}

} // namespace zelvane
