// A line type of the project.
#pragma once

#include "Attribute/RecordAttribute.h"

namespace zelvane {

class LineStyle : public RecordAttribute<LineStyle, API_LinetypeType, 3> {
public:
    // Where a line type is applied; stepping wraps at both ends.
    enum class Use : UInt8 { first = 0, last = 2 };

    using RecordAttribute::RecordAttribute;
};

LineStyle::Use& operator++(LineStyle::Use& use);
LineStyle::Use& operator--(LineStyle::Use& use);
LineStyle::Use operator++(LineStyle::Use& use, int);
LineStyle::Use operator--(LineStyle::Use& use, int);

} // namespace zelvane
