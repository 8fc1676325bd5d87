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

#include <functional>
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

// Tells on the console that the file in `folder`, named `name`, could not be `done` ("read from",
// say), for the reason its failing use answered: its folder refused, or the file's own failure.
void tellFailed(const Directory& folder, const String& name, const DataFile& file, const char* done) {
    if (file.isFolderRefused()) {
        tellIfRefused(file);
        return;
    }
    String message("The object map could not be ");
    message += done;
    message += " ";
    message += folder.getNameAsFound();
    message += "/";
    message += name;
    message += ": ";
    message += file.whyFailed();
    message += ".\n";
    host.writeToConsole(message);
}

// Writes the map into its file through `put` (replaceContents or makeContents, with the map's
// writer); a failure is shown, and told on the console where `tell` asks.
bool writeThrough(
    ObjectMap& map, bool tell,
    const std::function<bool(DataFile& file, const std::function<bool(DataFile&)>& writer)>& put) {
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
        written = put(file, write);
        if (!written && tell) {
            tellFailed(*folder, name, file, "written to");
        } else {
            tellIfRefused(file);
        }
    }
    if (!written) {
        NotifyAlert().show(host.getLocalString(32524, 4));
    }
    return written;
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
    return writeThrough(map, false, [fresh](DataFile& file, const std::function<bool(DataFile&)>& writer) {
        return fresh ? file.makeContents(writer) : file.replaceContents(writer);
    });
}

bool replaceObjectMap(ObjectMap& map, const DataFile::Identity& read) {
    return writeThrough(map, true, [&read](DataFile& file, const std::function<bool(DataFile&)>& writer) {
        return file.replaceContents(writer, read);
    });
}

ObjectMapFile readObjectMap(ObjectMap& map, DataFile::Identity* read) {
    String name;
    std::unique_ptr<Directory> folder(getObjectMapLocation(name, true));
    if (folder == nullptr) {
        return ObjectMapFile::noFolder;
    }
    DataFile file(*folder, name, DataFile::readOnly, false);
    // What the open answered decides, never a look after it: the file, or its folder, may stand at
    // its name again by then. Only a map opened and read, and found no whole map, is unreadable.
    if (!file.open(DataFile::readOnly)) {
        if (file.getLastError() == ErrNotFound) {
            return ObjectMapFile::absent;
        }
        tellFailed(*folder, name, file, "read from");
        return file.getLastError() == ErrPermission ? ObjectMapFile::refused : ObjectMapFile::failed;
    }
    if (read != nullptr) {
        *read = file.getOpenIdentity();
    }
    DataBufferIn stream(&file, Encoding::utf8);
    const bool whole = readObjectMap(map, stream);
    // A read that failed tells nothing of the content: the map on disk may well be whole.
    if (stream.failed() && file.getLastError() != NoError) {
        tellFailed(*folder, name, file, "read from");
        return ObjectMapFile::failed;
    }
    return whole ? ObjectMapFile::read : ObjectMapFile::unreadable;
}

bool readObjectMap(ObjectMap& map, DataBufferIn& stream) {
    map.setDefault();
    XMLReader reader(&stream);
    return reader.importTo(map) && map.isComplete();
}

} // namespace zelvane::remap
