// Binds a library-part type as the name a rule's file gives it: "window", "door", "object" or
// "lamp". Other types have no name: writing one fails, as does reading any other text.
#pragma once

#include "ACAPI/LibraryParts.hpp"
#include "XML/XMLTypeProxy.h"

namespace zelvane::remap {

class PartTypeProxy : public XMLTypeProxy<API_LibTypeID> {
public:
    using XMLTypeProxy<API_LibTypeID>::XMLTypeProxy;

    // The name of a type, null for a type without one.
    static char const* nameOf(API_LibTypeID type);

    bool write(String& text) override;
    bool read(String const& text) override;
    // The object type.
    void setDefault() override { setValue(APILib_ObjectID); }
};

} // namespace zelvane::remap
