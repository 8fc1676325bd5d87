#include "Remap/ObjectMapFile.h"

#include "Addon/Addon.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/Host.h"
#include "Interface/NotifyAlert.h"
#include "Remap/ObjectMap.h"
#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include <memory>

namespace zelvane::remap {

namespace {

// Tells on the console that the object map is not read from or written to its folder, refused as
// not the player's: the folder as the user finds it and why (`refusal`).
void tellRefused(const String& refusal) {
    String message("The object map is not read from or written to ");
    message += refusal;
    message += ".\n";
    host.writeToConsole(message);
}

// Tells where the use of the file was refused for its folder, which the look before took for the
// player's: another user's folder put in its place since, say, or on its way.
void tellIfRefused(const DataFile& file) {
    if (!file.isFolderRefused()) {
        return;
    }
    const std::unique_ptr<Directory> folder(file.getParent());
    tellRefused(folder != nullptr ? folder->describeRefusal(file) : file.getPathName());
}

} // namespace

Directory* getObjectMapLocation(String& name, bool withExtension) {
    name = host.getLocalString(32528, 5);
    if (withExtension) {
        name += ".xml";
    }
    if (addon == nullptr) {
        return nullptr;
    }
    String refused;
    std::unique_ptr<Directory> folder(addon->takeUserPrefsDirectory(&refused));
    if (!refused.empty()) {
        tellRefused(refused);
    }
    return folder.release();
}

bool writeObjectMap(ObjectMap& map, bool fresh) {
    String name;
    std::unique_ptr<Directory> folder(getObjectMapLocation(name, true));
    bool written = false;
    // A folder that cannot be found loses the map as surely as a failed write.
    if (folder != nullptr && map.isWritable()) {
        DataFile file(*folder, name, DataFile::readWrite, false);
        auto write = [&map](DataFile& target) {
            DataBufferOut stream(&target);
            XMLWriter writer(&stream);
            return writer.exportFrom(map, true, true, true, true);
        };
        written = fresh ? file.makeContents(write) : file.replaceContents(write);
        tellIfRefused(file);
    }
    if (!written) {
        NotifyAlert().show(host.getLocalString(32524, 4));
    }
    return written;
}

ObjectMapFile readObjectMap(ObjectMap& map) {
    String name;
    std::unique_ptr<Directory> folder(getObjectMapLocation(name, true));
    if (folder == nullptr) {
        return ObjectMapFile::noFolder;
    }
    DataFile file(*folder, name, DataFile::readOnly, false);
    // A folder refused as it is used holds no map of the player's, readable or not.
    const bool opened = file.open(DataFile::readOnly);
    if (file.isFolderRefused()) {
        tellIfRefused(file);
        return ObjectMapFile::refused;
    }
    if (!opened) {
        return file.exists() ? ObjectMapFile::unreadable : ObjectMapFile::absent;
    }
    DataBufferIn stream(&file, Encoding::utf8);
    return readObjectMap(map, stream) ? ObjectMapFile::read : ObjectMapFile::unreadable;
}

bool readObjectMap(ObjectMap& map, DataBufferIn& stream) {
    map.setDefault();
    XMLReader reader(&stream);
    return reader.importTo(map) && map.isComplete();
}

} // namespace zelvane::remap
