#include "Library/MakeParameter.h"

#include "Library/LongParameter.h"
#include "Library/RealParameter.h"
#include "Library/StringParameter.h"

namespace zelvane {

Parameter* MakeParameter::operator()(const API_MDCLParameter& record) const {
    switch (record.type) {
    case MDCLPar_string:
        return new StringParameter(record);
    case MDCLPar_int:
        return new LongParameter(record);
    case MDCLPar_float:
        return new RealParameter(record);
    default:
        return nullptr;
    }
}

} // namespace zelvane
