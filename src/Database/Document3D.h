// A 3D document of the project; it shows model elements through proxies, which listing does not resolve.
#pragma once

#include "Database/Drawing.h"

namespace zelvane {

class Document3D : public Drawing {
public:
    using Drawing::Drawing;

    String getDescription() const override { return "3D Document"; }
    API_WindowTypeID getType() const override { return APIWind_DocumentFrom3DID; }
    Int32 getNavigationType() const override { return 23; }
    virtual bool setProxyType(ElementLink& link) const { return makeProxyType(link); }
    ElementLink initSeekLink(const ElementLink& link, const Filter& filter) const override {
        return proxySeekLink(link, filter);
    }
};

} // namespace zelvane
