// A font of the project.
#pragma once

#include "Attribute/RecordAttribute.h"

namespace zelvane {

class Font : public RecordAttribute<Font, API_FontType, 10> {
public:
    using RecordAttribute::RecordAttribute;
};

} // namespace zelvane
