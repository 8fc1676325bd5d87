// A pen of the project: its colour and line thickness.
#pragma once

#include "Attribute/CadColour.h"
#include "Attribute/RecordAttribute.h"

namespace zelvane {

class Pen : public RecordAttribute<Pen, API_PenType, 1> {
public:
    // Where a pen is applied; stepping wraps at both ends.
    enum class Use : UInt8 { first = 0, last = 17 };

    using RecordAttribute::RecordAttribute;

    static void setDefaults(API_PenType& record) { record.width = 0.1; }

    // Opaque.
    CadColour getColour() const;
    void setColour(const CadColour& colour);
    // 0xRRGGBB, each channel the component times 255 truncated.
    UInt32 getRGBColour() const;
    // Each channel divided by 255.
    void setRGBColour(UInt32 rgb);
    // In millimetres.
    double getThickness() const { return data().width; }
    void setThickness(double thickness) { data().width = thickness; }
};

Pen::Use& operator++(Pen::Use& use);
Pen::Use operator++(Pen::Use& use, int);
Pen::Use& operator--(Pen::Use& use);
Pen::Use operator--(Pen::Use& use, int);

} // namespace zelvane
