#include "Element/Opening.h"

namespace zelvane {

Pen Opening::getPen(Pen::Use use) const {
    const API_OpeningBaseType& data = getOpeningData();
    switch (UInt8(use)) {
    case 0:
    case 1:
        return Pen(attribute_index(data.pen));
    case 10:
        return Pen(attribute_index(data.sectContPen));
    case 11:
        return Pen(attribute_index(data.sectFillPen));
    case 12:
        return Pen(attribute_index(data.sectBGPen));
    default:
        return Pen(attribute_index(0));
    }
}

void Opening::setPen(const Pen& pen, Pen::Use use) {
    API_OpeningBaseType& data = getOpeningData();
    const short index = short(pen.getIndex());
    switch (UInt8(use)) {
    case 0:
        data.pen = index;
        data.sectContPen = index;
        data.sectFillPen = index;
        data.sectBGPen = index;
        break;
    case 1:
        data.pen = index;
        break;
    case 6:
    case 11:
        data.sectFillPen = index;
        break;
    case 8:
    case 12:
        data.sectBGPen = index;
        break;
    case 10:
        data.sectContPen = index;
        break;
    default:
        break;
    }
}

Pattern* Opening::getPattern(UInt8 use) const {
    const short fill = getOpeningData().sectFill;
    return (use == 0 || use == 1 || use == 3) && fill != 0 ? new Fill(attribute_index(fill)) : nullptr;
}

void Opening::setPattern(const Pattern& pattern, UInt8 use) {
    const short index = short(pattern.getIndex());
    if ((use == 0 || use == 3) && index >= 1) {
        getOpeningData().sectFill = index;
    }
}

LineStyle Opening::getLineStyle(LineStyle::Use use) const {
    return LineStyle(attribute_index(UInt8(use) <= 1 ? getOpeningData().ltypeInd : short(0)));
}

void Opening::setLineStyle(const LineStyle& style, LineStyle::Use use) {
    if (UInt8(use) <= 1) {
        getOpeningData().ltypeInd = short(style.getIndex());
    }
}

Finish Opening::getFinish(Finish::Use use) const {
    return UInt8(use) <= 1 ? Finish(attribute_index(getOpeningData().mat)) : Finish();
}

void Opening::setFinish(const Finish& finish, Finish::Use use) {
    if (UInt8(use) <= 1) {
        getOpeningData().mat = short(finish.getIndex());
    }
}

} // namespace zelvane
