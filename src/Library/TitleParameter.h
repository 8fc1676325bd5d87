// A title in a part's parameter list; clearing it empties its name and description.
#pragma once

#include "Library/ValuelessParameter.h"

namespace zelvane {

class TitleParameter : public ValuelessParameter {
public:
    using ValuelessParameter::ValuelessParameter;
    TitleParameter(const TitleParameter&) = default;

    TitleParameter* clone() const override { return new TitleParameter(*this); }
    Int32 getTypeID() const override { return 15; }
    void clear() override {
        m_name.reset();
        m_description = String();
    }
};

} // namespace zelvane
