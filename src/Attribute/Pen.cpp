#include "Attribute/Pen.h"

#include "Attribute/UseSteps.h"

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
    return stepUseForward(use);
}

Pen::Use operator++(Pen::Use& use, int) {
    return stepUseForwardAfter(use);
}

Pen::Use& operator--(Pen::Use& use) {
    return stepUseBack(use);
}

Pen::Use operator--(Pen::Use& use, int) {
    return stepUseBackAfter(use);
}

} // namespace zelvane
