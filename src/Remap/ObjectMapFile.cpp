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
#include "fileio/FileError.h"

#include <memory>

namespace zelvane::remap {

namespace {

// Tells on the console that the object map is not read from or written to the folder `shown`, as
// the user finds it: another user's.
void tellRefused(const String& shown) {
    String message("The object map is not read from or written to ");
    message += shown;
    message += ": ";
    message += make_error_code(fileio::FileError::notPlayersFolder).message().c_str();
    message += ".\n";
    host.writeToConsole(message);
}

// Tells where the use of the file was refused for its folder, which the look before took for the
// player's: another user's folder put in its place since, say.
void tellIfRefused(const DataFile& file) {
    if (file.isFolderRefused()) {
        const std::unique_ptr<Directory> folder(file.getParent());
        tellRefused(folder != nullptr ? folder->getNameAsFound() : file.getPathName());
    }
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
    if (!file.exists()) {
        return ObjectMapFile::absent;
    }
    if (!file.open(DataFile::readOnly)) {
        tellIfRefused(file);
        return ObjectMapFile::unreadable;
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
