#include "Library/MakeParameter.h"

#include "Library/AngleParameter.h"
#include "Library/ColourParameter.h"
#include "Library/FillParameter.h"
#include "Library/IntensityParameter.h"
#include "Library/LengthParameter.h"
#include "Library/LineStyleParameter.h"
#include "Library/LongParameter.h"
#include "Library/MaterialParameter.h"
#include "Library/PenParameter.h"
#include "Library/SeparatorParameter.h"
#include "Library/StringParameter.h"
#include "Library/SwitchParameter.h"
#include "Library/TitleParameter.h"

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

Parameter* MakeParameter::operator()(const API_AddParType& record) const {
    if (!Parameter::isReadable(record)) {
        return nullptr;
    }
    switch (record.typeID) {
    case APIParT_Integer:
        return new IntegerParameter(record);
    case APIParT_Length:
        return new LengthParameter(record);
    case APIParT_Angle:
        return new AngleParameter(record);
    case APIParT_RealNum:
        return new RealParameter(record);
    case APIParT_LightSw:
        return new SwitchParameter(record);
    case APIParT_ColRGB:
        return new ColourParameter(record);
    case APIParT_Intens:
        return new IntensityParameter(record);
    case APIParT_LineTyp:
        return new LineStyleParameter(record);
    case APIParT_Mater:
        return new MaterialParameter(record);
    case APIParT_FillPat:
        return new FillParameter(record);
    case APIParT_PenCol:
        return new PenParameter(record);
    case APIParT_CString:
        return new StringParameter(record);
    case APIParT_Boolean:
        return new BooleanParameter(record);
    case APIParT_Separator:
        return new SeparatorParameter(record);
    case APIParT_Title:
        return new TitleParameter(record);
    default:
        return nullptr;
    }
}

} // namespace zelvane
