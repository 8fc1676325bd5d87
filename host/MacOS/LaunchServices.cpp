#include "MacOS/LaunchServices.hpp"

#include "MacOS/FileRef.hpp"
#include "fileio/Entry.h"
#include "sim/Files.h"
#include "sim/Platform.h"
#include "sim/ReadFile.h"
#include "sim/Sim.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <vector>

namespace {

struct Launcher {
    std::map<std::string, std::filesystem::path> applications; // by name without ".app"
    std::vector<sim::Launch> launches;
    OSStatus result = noErr;
};

Launcher& launcher() {
    static Launcher* instance = new Launcher; // host calls may come from static destructors
    return *instance;
}

const bool registered = sim::registerReset([] { launcher() = Launcher(); });

std::string text(CFStringRef ref) {
    CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(ref), kCFStringEncodingUTF8) + 1;
    std::string buffer(std::size_t(size > 0 ? size : 1), '\0');
    if (!CFStringGetCString(ref, buffer.data(), CFIndex(buffer.size()), kCFStringEncodingUTF8)) {
        return std::string();
    }
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

OSStatus record(std::string kind, std::string target, OSStatus status) {
    launcher().launches.push_back(sim::Launch{std::move(kind), std::move(target), status});
    return status;
}

} // namespace

OSStatus LSFindApplicationForInfo(OSType, CFStringRef, CFStringRef inName, FSRef* outAppRef,
                                  CFURLRef* outAppURL) {
    if (GSErrCode err = sim::enter("LSFindApplicationForInfo"); err != NoError) {
        return err;
    }
    std::string name = text(inName);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".app") == 0) {
        name.resize(name.size() - 4);
    }
    auto it = launcher().applications.find(name);
    struct stat info {};
    if (name.empty() || it == launcher().applications.end() || !sim::statusOf(it->second, info) ||
        !S_ISDIR(info.st_mode)) {
        return kLSApplicationNotFoundErr;
    }
    if (outAppRef != nullptr && !macos::setPath(*outAppRef, it->second.string())) {
        return paramErr;
    }
    if (outAppURL != nullptr) {
        std::string url = "file://" + it->second.string() + "/";
        *outAppURL = CFURLCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(url.data()),
                                          CFIndex(url.size()), kCFStringEncodingUTF8, nullptr);
    }
    return noErr;
}

OSStatus LSOpenFSRef(const FSRef* inRef, FSRef* outLaunchedRef) {
    if (GSErrCode err = sim::enter("LSOpenFSRef"); err != NoError) {
        return err;
    }
    if (inRef == nullptr) {
        return paramErr;
    }
    std::filesystem::path target = macos::path(*inRef);
    struct stat info {};
    const bool exists = sim::statusOf(target, info);
    bool application = target.extension() == ".app" && exists && S_ISDIR(info.st_mode);
    const char* kind = application ? "application" : "file";
    if (!exists) {
        return record(kind, target.string(), fnfErr);
    }
    OSStatus status = record(kind, target.string(), launcher().result);
    if (status == noErr && outLaunchedRef != nullptr) {
        *outLaunchedRef = *inRef;
    }
    return status;
}

OSStatus LSOpenCFURLRef(CFURLRef inURL, CFURLRef* outLaunchedURL) {
    if (GSErrCode err = sim::enter("LSOpenCFURLRef"); err != NoError) {
        return err;
    }
    CFStringRef string = CFURLGetString(inURL);
    if (string == nullptr) {
        return paramErr;
    }
    std::string url = text(string);
    // A URL without a scheme names no application to open it.
    std::size_t colon = url.find(':');
    if (colon == 0 || colon == std::string::npos ||
        url.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.") < colon) {
        return record("url", url, kLSApplicationNotFoundErr);
    }
    OSStatus status = record("url", url, launcher().result);
    if (status == noErr && outLaunchedURL != nullptr) {
        *outLaunchedURL = static_cast<CFURLRef>(CFRetain(inURL));
    }
    return status;
}

std::filesystem::path sim::installApplication(std::string const& name) {
    const std::filesystem::path folder = specialFolder("Applications");
    if (folder.empty()) {
        return folder; // a folder the host does not take as its own (sim::specialFolder)
    }
    std::filesystem::path bundle = folder / (name + ".app");
    {
        OwnFileCalls own;
        fileio::Entry(bundle).makeFolder();
    }
    launcher().applications[name] = bundle;
    return bundle;
}

const std::vector<sim::Launch>& sim::launches() {
    return launcher().launches;
}

void sim::setLaunchResult(Int32 status) {
    launcher().result = status;
}
