// The images and icons of the add-on's resource file, as the dialog library finds them by ID.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace sim {

// Adds (or replaces) an image or an icon resource of that ID and size. Images and icons have
// separate IDs.
void addResourceImage(Int16 id, UInt32 width, UInt32 height);
void addResourceIcon(Int16 id, UInt32 width, UInt32 height);

struct ResourcePicture {
    bool found = false;
    UInt32 width = 0;
    UInt32 height = 0;
};
ResourcePicture resourceImage(Int16 id);
ResourcePicture resourceIcon(Int16 id);

} // namespace sim
