// An array whose entries are handed back to it once read and validated.
#pragma once

#include "XML/XMLArray.h"

namespace zelvane {

class XMLMap : public XMLArray {
public:
    // Called with the entry's binding once it has been read; false fails the whole read.
    virtual bool insert(Shipping& entry) = 0;
    // Called instead where the map keeps what it does not take (getKept), to tell in `taken`
    // whether it took the entry: one it did not is kept as written. By default every entry is.
    virtual bool insert(Shipping& entry, bool& taken) {
        taken = true;
        return insert(entry);
    }
};

} // namespace zelvane
