#include "Preset/PresetUpdater.h"

#include "Environment/Host.h"
#include "GSRoot/GSRoot.hpp"
#include "Preset/PresetUpdateTransaction.h"

namespace zelvane {

EventSpec const PresetUpdater::spec(MakeGSType("HOST"), MakeGSType("UEPR"));

bool PresetUpdater::takeEvent(Event&) {
    PresetUpdateTransaction transaction(
        host.getLocalString(PresetUpdateTransaction::nameList, PresetUpdateTransaction::nameIndex));
    host.makeTransaction(transaction);
    return true;
}

} // namespace zelvane
