// The project preferences of the remapping add-on: for each source kind, the named source the user
// last chose in the mapping dialog, so that the next command of that kind opens with it.
#pragma once

#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"
#include "Remap/ObjectMap.h"
#include "XML/Package.h"

namespace zelvane::remap {

class RemappingPrefs : public Package {
public:
    static constexpr unsigned int ID = MakeGSType("RMPP");
    static constexpr std::size_t kindCount = 5;

    // Every name starts as the default source name.
    RemappingPrefs();

    Package* clone() const override { return new RemappingPrefs(*this); }
    unsigned int getID() const override { return ID; }
    char const* getTag() const override { return "remappingPrefs"; }
    void setDefault() override;

    std::size_t shippingSize() const override { return kindCount; }
    // The five names in kind order, each a child element; no other index has a field.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;

    // Kind none (or any value past legacy) names no source: std::out_of_range.
    String const& getSourceName(ObjectMap::Type type) const;
    void setSourceName(String const& name, ObjectMap::Type type);

private:
    String m_names[kindCount];
};

} // namespace zelvane::remap
