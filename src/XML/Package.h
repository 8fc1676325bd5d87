// A block of preferences or user data that is kept in a package store and read and written as
// XML, named by a four-character code.
#pragma once

#include "XML/XMLAssembly.h"

namespace zelvane {

class String;

class Package : public XMLAssembly {
public:
    // A new copy, owned by the caller.
    virtual Package* clone() const = 0;
    // A copy that shares nothing with this package.
    virtual Package* cloneIndependent() const { return clone(); }
    // A copy reset to its defaults.
    virtual Package* cloneEmpty() const;
    virtual unsigned int getID() const = 0;
    // A new package (owned by the caller) to be exported in this one's place; null for none.
    virtual Package* getExport() const { return nullptr; }
    virtual bool isExported() const { return true; }
    // Whether a store clearing its packages may leave this one as it is.
    virtual bool isClearOptional() const { return true; }
    // Lets a package rename what older versions called otherwise; false refuses the name.
    virtual bool updateLegacyName(String&) const { return true; }
    // Takes what it needs of another package of the same code.
    virtual void merge(Package const&) {}
    // Called when the add-on shuts down.
    virtual void shutdown() {}
};

} // namespace zelvane
