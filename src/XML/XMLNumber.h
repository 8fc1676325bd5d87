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

// The value in fixed-point notation with `precision` digits after the point, no point for 0.
String fixedPoint(double value, unsigned short precision);

} // namespace zelvane
