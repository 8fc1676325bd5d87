#include "Attribute/Pen.h"

namespace zelvane {

CadColour Pen::getColour() const {
    const API_RGBColor& rgb = data().rgb;
    return CadColour(rgb.f_red, rgb.f_green, rgb.f_blue, 1.0);
}

void Pen::setColour(const CadColour& colour) {
    data().rgb = API_RGBColor{colour.getRed(), colour.getGreen(), colour.getBlue()};
}

UInt32 Pen::getRGBColour() const {
    return CadColour(data().rgb).getRGB();
}

void Pen::setRGBColour(UInt32 rgb) {
    data().rgb = CadColour::fromRGB(rgb);
}

Pen::Use& operator++(Pen::Use& use) {
    use = use == Pen::Use::last ? Pen::Use::first : Pen::Use(UInt8(use) + 1);
    return use;
}

Pen::Use operator++(Pen::Use& use, int) {
    Pen::Use old = use;
    ++use;
    return old;
}

Pen::Use& operator--(Pen::Use& use) {
    use = use == Pen::Use::first ? Pen::Use::last : Pen::Use(UInt8(use) - 1);
    return use;
}

Pen::Use operator--(Pen::Use& use, int) {
    Pen::Use old = use;
    --use;
    return old;
}

} // namespace zelvane
