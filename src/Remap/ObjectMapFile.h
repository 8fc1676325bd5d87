// The object-map file: one XML file in the add-on's preferences folder.
#pragma once

#include "Environment/DataFile.h"
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

// As writeObjectMap, but replaces only the file `read` (readObjectMap's), while it stands at its
// name unchanged: none there, another entry, or that file changed since, is kept, as at a failure,
// and the reason is told on the console.
bool replaceObjectMap(ObjectMap& map, const DataFile::Identity& read);

// What reading the file found, as its open and its read answered:
// - noFolder: the add-on has no folder for it, or its folder is another user's at the look;
// - absent: neither the file nor its folder was there at the open;
// - read: a whole map;
// - unreadable: a file opened and read whose content is no whole map;
// - refused: its folder, or the file, refused by the file rules or the system as it was opened;
// - failed: any other failure to open or read it.
// Each of the last two is told on the console with its reason.
enum class ObjectMapFile { noFolder, absent, read, unreadable, refused, failed };

// Reads the file into the map as UTF-8. Unless the file was opened, the map is left as it was; a
// read that failed, or content that is no whole map, leaves what was read before. `read` (where
// given) receives the file as it was opened, for replaceObjectMap.
ObjectMapFile readObjectMap(ObjectMap& map, DataFile::Identity* read = nullptr);

// Reads a document into the map (emptied first); true only when the document's "objectMap"
// element was read whole. A failed read leaves what was read before the failure.
bool readObjectMap(ObjectMap& map, DataBufferIn& stream);

} // namespace zelvane::remap
