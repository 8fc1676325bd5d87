// A real number written in fixed-point notation with a set number of decimals.
#pragma once

#include "XML/XMLTypeProxy.h"

namespace zelvane {

class XMLNumber : public XMLTypeProxy<double> {
public:
    using XMLTypeProxy<double>::XMLTypeProxy;

    bool write(String& text) override;
    virtual unsigned short getPrecision() const = 0;
};

} // namespace zelvane
