#include "sim/ReplaceFile.h"

#include "fileio/Entry.h"
#include "fileio/WriteWhole.h"
#include "sim/Files.h"

#include <sys/stat.h>

#include <cerrno>

namespace sim {
namespace {

fileio::WriteOptions regularOnly() {
    fileio::WriteOptions options;
    options.inPlace = false;
    return options;
}

std::error_code writeEntryInPlace(const fileio::Entry& entry, const std::string& text) {
    std::error_code error;
    fileio::Descriptor node = fileio::openInPlace(entry, fileio::Owners::player, error);
    if (!error) {
        error = fileio::writeAll(node.get(), text.data(), text.size());
    }
    if (node && !node.reset() && !error) {
        error = std::error_code(errno, std::generic_category());
    }
    return error;
}

} // namespace

std::filesystem::path followedPath(std::filesystem::path path, std::error_code& error) {
    const fileio::Entry entry(path);
    error = entry.error();
    return error ? std::filesystem::path() : std::filesystem::path(entry.path());
}

std::error_code writeFile(const std::filesystem::path& path, const std::string& text) {
    return writeFile(fileio::Entry(path), text);
}

std::error_code writeFile(const fileio::Entry& entry, const std::string& text) {
    OwnFileCalls own;
    // A node takes the text in place, straight from it: writeWhole would first fill a file beside
    // it, in a folder (/dev, /proc/self/fd) where none can be made.
    struct stat info {};
    if (!entry.error() && entry.status(info) && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        return writeEntryInPlace(entry, text);
    }
    return fileio::writeWhole(entry, fileio::textWriter(text), regularOnly());
}

std::error_code replaceFile(const std::filesystem::path& path, const std::string& text) {
    OwnFileCalls own;
    return fileio::writeWhole(fileio::Entry(path), fileio::textWriter(text), regularOnly());
}

std::error_code checkReplaceable(const std::filesystem::path& path) {
    OwnFileCalls own;
    return fileio::checkWritable(fileio::Entry(path), regularOnly());
}

std::error_code makeNewFile(const std::filesystem::path& path, const std::string& text) {
    OwnFileCalls own;
    fileio::WriteOptions options;
    options.mustBeNew = true;
    return fileio::writeWhole(fileio::Entry(path), fileio::textWriter(text), options);
}

int openInPlace(const std::filesystem::path& path, std::error_code& error) {
    OwnFileCalls own;
    return fileio::openInPlace(fileio::Entry(path), fileio::Owners::player, error).release();
}

std::error_code writeAll(int fd, const std::string& text) {
    OwnFileCalls own;
    return fileio::writeAll(fd, text.data(), text.size());
}

std::error_code writeInPlace(const std::filesystem::path& path, const std::string& text) {
    OwnFileCalls own;
    return writeEntryInPlace(fileio::Entry(path), text);
}

} // namespace sim
