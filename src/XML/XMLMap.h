// An array whose entries are handed back to it once read and validated.
#pragma once

#include "XML/XMLArray.h"

namespace zelvane {

class XMLMap : public XMLArray {
public:
    // Called with the entry's binding once it has been read; false fails the whole read.
    virtual bool insert(Shipping& entry) = 0;
};

} // namespace zelvane
