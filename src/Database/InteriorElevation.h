// An interior elevation of the project; it shows model elements through proxies, which listing does not
// resolve.
#pragma once

#include "Database/Drawing.h"

namespace zelvane {

class InteriorElevation : public Drawing {
public:
    using Drawing::Drawing;

    String getDescription() const override { return "Interior Elevation"; }
    API_WindowTypeID getType() const override { return APIWind_InteriorElevationID; }
    Int32 getNavigationType() const override { return 21; }
    virtual bool setProxyType(ElementLink& link) const { return makeProxyType(link); }
    ElementLink initSeekLink(const ElementLink& link, const Filter& filter) const override {
        return proxySeekLink(link, filter);
    }
};

} // namespace zelvane
