#include "ACAPI/Resources.hpp"

#include "sim/Resources.h"
#include "sim/Sim.h"

GSResModule ACAPI_GetOwnResModule() {
    return sim::resourceModule(sim::currentAddOn().id);
}

bool ACAPI_Resource_GetLocStr(GS::UniString* text, short resID, short index, GSResModule module) {
    if (text != nullptr) {
        text->Clear();
    }
    if (sim::enter("ACAPI_Resource_GetLocStr", resID) != NoError) {
        return false;
    }
    return RSGetIndString(text, resID, index, module);
}
