#include "Attribute/ZoneCategory.h"

#include "Attribute/CadColour.h"

namespace zelvane {

String ZoneCategory::getCode() const {
    return String(data().catCode, unsigned(sizeof data().catCode));
}

void ZoneCategory::setCode(const String& code) {
    code.copyTo(data().catCode, unsigned(sizeof data().catCode));
}

String ZoneCategory::getStampName() const {
    return String(data().stampName, unsigned(sizeof data().stampName));
}

void ZoneCategory::setStampName(const String& name) {
    name.copyTo(data().stampName, unsigned(sizeof data().stampName));
}

UInt32 ZoneCategory::getColour() const {
    return CadColour(data().rgb).getRGB();
}

void ZoneCategory::setColour(UInt32 rgb) {
    data().rgb = CadColour::fromRGB(rgb);
}

} // namespace zelvane
