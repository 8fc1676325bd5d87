#include "sim/ReplaceFile.h"

#include "fileio/Entry.h"
#include "fileio/WriteWhole.h"
#include "sim/Files.h"

namespace sim {

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
    return fileio::writeWhole(entry, fileio::textWriter(text));
}

std::error_code replaceFile(const std::filesystem::path& path, const std::string& text) {
    return replaceFile(fileio::Entry(path), text);
}

std::error_code replaceFile(const fileio::Entry& entry, const std::string& text, fileio::Owners owners) {
    OwnFileCalls own;
    fileio::WriteOptions regularOnly;
    regularOnly.inPlace = false;
    regularOnly.owners = owners;
    return fileio::writeWhole(entry, fileio::textWriter(text), regularOnly);
}

} // namespace sim
