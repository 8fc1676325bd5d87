// A real number written in fixed-point notation with six decimals.
#pragma once

#include "XML/XMLTypeProxy.h"

namespace zelvane {

class XMLDecimal : public XMLTypeProxy<double> {
public:
    using XMLTypeProxy<double>::XMLTypeProxy;

    bool write(String& text) override;
};

} // namespace zelvane
