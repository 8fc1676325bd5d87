#include "MacOS/Folders.hpp"

#include "MacOS/FileRef.hpp"
#include "fileio/FileError.h"
#include "sim/ReadFile.h"
#include "sim/Sim.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

namespace {

// The sandbox folder that stands for a folder type; null for a type the system does not know.
const char* folderName(OSType folderType) {
    switch (folderType) {
    case kPreferencesFolderType:
        return "Preferences";
    case kSharedDataFolderType:
    case kApplicationSupportFolderType:
        return "SharedData";
    case kDocumentsFolderType:
        return "Documents";
    case kTemporaryFolderType:
        return "Temp";
    case kCurrentUserFolderType:
        return "Home";
    default:
        return nullptr;
    }
}

} // namespace

OSErr FSFindFolder(Int16 vRefNum, OSType folderType, Boolean createFolder, FSRef* foundRef) {
    if (GSErrCode err = sim::enter("FSFindFolder", folderType); err != NoError) {
        return OSErr(err);
    }
    if (foundRef == nullptr) {
        return paramErr;
    }
    if (vRefNum != kOnAppropriateDisk && vRefNum != kUserDomain && vRefNum != kLocalDomain &&
        vRefNum != kSystemDomain) {
        return nsvErr;
    }
    const char* name = folderName(folderType);
    if (name == nullptr) {
        return fnfErr;
    }
    struct stat info {};
    if (!createFolder && !(sim::statusOf(sim::sandboxRoot() / name, info) && S_ISDIR(info.st_mode))) {
        return fnfErr;
    }
    std::error_code error;
    const std::filesystem::path folder = sim::specialFolder(name, error);
    if (error == fileio::FileError::notPlayersFolder) {
        return afpAccessDenied;
    }
    if (error == fileio::FileError::exposedWay) {
        return permErr;
    }
    if (folder.empty() || !(sim::statusOf(folder, info) && S_ISDIR(info.st_mode))) {
        return fnfErr;
    }
    return macos::setPath(*foundRef, folder.string()) ? noErr : paramErr;
}

OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize) {
    if (ref == nullptr || path == nullptr) {
        return paramErr;
    }
    std::string text = macos::path(*ref);
    if (text.empty() || text.size() >= maxPathSize) {
        return paramErr;
    }
    std::memcpy(path, text.c_str(), text.size() + 1);
    return noErr;
}

OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
    if (GSErrCode err = sim::enter("FSPathMakeRef"); err != NoError) {
        return err;
    }
    if (path == nullptr || ref == nullptr) {
        return paramErr;
    }
    std::string text(reinterpret_cast<const char*>(path));
    struct stat info {};
    if (text.empty() || !sim::statusOf(text, info)) {
        return fnfErr;
    }
    if (!macos::setPath(*ref, text)) {
        return paramErr;
    }
    if (isDirectory != nullptr) {
        *isDirectory = S_ISDIR(info.st_mode);
    }
    return noErr;
}
