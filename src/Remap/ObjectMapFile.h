// The object-map file: one XML file in the add-on's preferences folder.
#pragma once

#include "Environment/String.h"

namespace zelvane {
class DataBufferIn;
class Directory;
} // namespace zelvane

namespace zelvane::remap {

class ObjectMap;

// The folder of the file (the caller deletes it), or null when the add-on has none or its folder
// is another user's (Addon::takeUserPrefsDirectory), which is told on the console; `name` becomes
// the file's name (localised string 32528/5, with ".xml" when asked).
Directory* getObjectMapLocation(String& name, bool withExtension);

// Replaces the file with the map, whole: written beside the old file and renamed over it, so a
// failure (shown as localised string 32524/4) keeps the old file as it was and a failed first
// write leaves no file. With `fresh` the file is made only where there is none: one that stands
// there is kept, as at a failure. A preferences folder that cannot be found is such a failure.
// Answers whether the file now holds the map.
bool writeObjectMap(ObjectMap& map, bool fresh = false);

// What reading the file found: `refused` where its folder, which the look took for the player's,
// was not the player's as the read held it (told on the console).
enum class ObjectMapFile { noFolder, absent, read, unreadable, refused };

// Reads the file into the map as UTF-8. Without a folder or a file, or with its folder refused, the
// map is left as it was; an unreadable file leaves what was read before the failure.
ObjectMapFile readObjectMap(ObjectMap& map);

// Reads a document into the map (emptied first); true only when the document's "objectMap"
// element was read whole. A failed read leaves what was read before the failure.
bool readObjectMap(ObjectMap& map, DataBufferIn& stream);

} // namespace zelvane::remap
