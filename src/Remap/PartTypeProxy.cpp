#include "Remap/PartTypeProxy.h"

namespace zelvane::remap {

namespace {

struct PartTypeName {
    API_LibTypeID type;
    char const* name;
};

constexpr PartTypeName names[] = {{APILib_WindowID, "window"},
                                  {APILib_DoorID, "door"},
                                  {APILib_ObjectID, "object"},
                                  {APILib_LampID, "lamp"}};

} // namespace

char const* PartTypeProxy::nameOf(API_LibTypeID type) {
    for (auto const& entry : names) {
        if (entry.type == type) {
            return entry.name;
        }
    }
    return nullptr;
}

bool PartTypeProxy::write(String& text) {
    char const* name = nameOf(*getValue());
    if (name == nullptr) {
        return false;
    }
    text = name;
    return true;
}

bool PartTypeProxy::read(String const& text) {
    for (auto const& entry : names) {
        if (text == entry.name) {
            setValue(entry.type);
            return true;
        }
    }
    return false;
}

} // namespace zelvane::remap
