#include "ACAPI/Commands.hpp"

#include "sim/AddOns.h"
#include "sim/Sim.h"

GSErrCode ACAPI_Command_Test(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion) {
    if (GSErrCode err = sim::enter("ACAPI_Command_Test", cmdID); err != NoError) {
        return err;
    }
    if (mdid == nullptr) {
        return APIERR_BADPARS;
    }
    sim::AddOn* addOn = sim::findAddOn(sim::AddOnID{mdid->developerID, mdid->localID});
    if (addOn == nullptr) {
        return APIERR_MODULNOTINSTALLED;
    }
    bool supported = false;
    for (const sim::ServiceRegistration& service : addOn->services) {
        if (service.command == cmdID) {
            supported = true;
            if (service.version >= cmdVersion) {
                return NoError;
            }
        }
    }
    return supported ? APIERR_MODULCMDVERSNOTSUPPORTED : APIERR_MODULCMDNOTSUPPORTED;
}
