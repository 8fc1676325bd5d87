// An amount of money: read and written in whole hundredths.
#pragma once

#include "XML/XMLNumber.h"

namespace zelvane {

class XMLCurrency : public XMLNumber {
public:
    XMLCurrency(double& member, char const* tag, bool attribute = false, char const* nameSpace = nullptr)
        : XMLNumber(member, tag, attribute, nameSpace) {}

    unsigned short getPrecision() const override { return 2; }
    bool read(String const& text) override;
};

} // namespace zelvane
