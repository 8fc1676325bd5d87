#include "ACAPI/LibPartSaveDialog.hpp"

#include "ACAPI/ErrorCodes.hpp"
#include "IO/Location.hpp"
#include "sim/FileDialogs.h"
#include "sim/Interface.h"

namespace {

GSErrCode saveLibPartDialog(void* par1, void* par2, void* par3) {
    auto* location = static_cast<IO::Location*>(par2);
    auto* confirmed = static_cast<bool*>(par3);
    if (location == nullptr || confirmed == nullptr) {
        return APIERR_BADPARS;
    }
    sim::FileDialogRecord record;
    record.type = int(APIIo_SaveLibPartFileDialogID);
    record.option = par1 != nullptr && *static_cast<bool const*>(par1);
    if (!location->IsEmpty()) {
        location->ToPath(&record.folder);
    }
    sim::FileDialogAnswer answer = sim::answerFileDialog(record);
    *confirmed = answer.confirm;
    if (answer.confirm) {
        *location = IO::Location(answer.file.string().c_str());
    }
    return NoError;
}

const bool registered = sim::registerInterfaceRequest(APIIo_SaveLibPartFileDialogID, saveLibPartDialog);

} // namespace
