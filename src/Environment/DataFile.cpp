#include "Environment/DataFile.h"

#include "ACAPI/Interface.hpp"
#include "ACAPI/LibPartSaveDialog.hpp"
#include "DG/FileDialog.hpp"
#include "Environment/Directory.h"
#include "Environment/Memory.h"
#include "Environment/Time.h"
#include "FTM/FileTypeManager.hpp"
#include "IO/File.hpp"
#include "IO/Folder.hpp"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/WriteWhole.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>
#include <vector>

namespace zelvane {

namespace {

constexpr Encoding::Type utf8 = Encoding::utf8;
constexpr Encoding::Type utf16 = Encoding::utf16;
constexpr Encoding::Type utf32 = Encoding::utf32;

// The file types of the dialogs' filters: Macintosh type '????' and creator 'TEXT'.
constexpr UInt32 anyMacType = 0x3F3F3F3F;
constexpr UInt32 textCreator = 0x54455854;

unsigned int clampToUnsigned(UInt64 value) {
    return value > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(value);
}

DataFile* prompt(DG::FileDialog::Type type, String const& title, std::vector<String> const& descriptions,
                 int& selected, IO::Location const* folder, std::vector<String> const& extensions,
                 DataFile::Permission permission) {
    DG::FileDialog dialog(type);
    dialog.SetTitle(title.data());
    dialog.SetFolder(folder != nullptr ? *folder : IO::Location());
    FTM::FileTypeManager manager("zelvaneManager");
    // The description index of each filter the dialog took, so that a type the host refuses
    // does not shift the indices of the others.
    std::vector<int> filterIndex;
    int preselect = -1;
    for (std::size_t i = 0; i < descriptions.size() && i < extensions.size(); ++i) {
        FTM::FileType fileType{descriptions[i].data(), extensions[i].data(), anyMacType, textCreator};
        FTM::TypeID id = manager.FindType(fileType);
        if (id == FTM::UnknownType) {
            id = manager.AddType(fileType, FTM::RootGroup);
        }
        String text(descriptions[i]);
        text += " (*.";
        text += extensions[i];
        text += ")";
        Int32 added = dialog.AddFilter(id, text.data());
        if (added < 0) {
            continue;
        }
        if (int(i) == selected) {
            preselect = added;
        }
        filterIndex.resize(std::size_t(added) + 1, -1);
        filterIndex[std::size_t(added)] = int(i);
    }
    if (preselect >= 0) {
        dialog.SelectFilter(UInt32(preselect));
    }
    if (!dialog.Invoke()) {
        return nullptr;
    }
    UInt32 chosen = dialog.GetSelectedFilter();
    selected = chosen < filterIndex.size() ? filterIndex[chosen] : -1;
    return DataFile::create(dialog.GetSelectedFile(), permission);
}

std::string pathOf(IO::Location const& location) {
    std::string path;
    return location.ToPath(&path) == NoError ? path : std::string();
}

// The open call's access for a permission: 0 reads, 1 and 2 write, 3 reads and writes.
int accessOf(DataFile::Permission permission) {
    return permission == DataFile::readOnly    ? O_RDONLY
           : permission == DataFile::readWrite ? O_RDWR
                                               : O_WRONLY;
}

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

} // namespace

struct DataFile::Channel {
    // The file the rules let through, open as long as the channel.
    fileio::Descriptor descriptor;
    Identity identity;
    // The host's file on "/dev/fd/N" of that descriptor: the host opens the very file open, and
    // logs and fails each of its calls as for any file.
    std::unique_ptr<IO::File> file;
};

DataFile::DataFile() = default;

DataFile::DataFile(IO::File const& file, Permission permission) : m_permission(permission) {
    attach(locationOf(&file), false);
}

DataFile::DataFile(IO::Location const& location, Permission permission, bool create)
    : m_permission(permission) {
    attach(location, create);
}

DataFile::DataFile(String const& path, Permission permission, bool create) : m_permission(permission) {
    attach(IO::Location(path.data()), create);
}

DataFile::DataFile(Directory const& parent, String const& name, Permission permission, bool create)
    : m_permission(permission) {
    setInPlayersFolder(parent.holdsPlayersFiles());
    IO::Location location;
    if (locationIn(parent.getData(), name, location)) {
        attach(location, create);
    }
}

DataFile::DataFile(DataFile const& other)
    : File(other), m_permission(other.m_permission), m_everyUser(other.m_everyUser) {
    if (other.m_file != nullptr) {
        attach(other.getLocation(), false);
    }
}

DataFile& DataFile::operator=(DataFile const& other) {
    if (this != &other) {
        close();
        m_file.reset();
        m_made = Identity();
        File::operator=(other);
        m_permission = other.m_permission;
        m_everyUser = other.m_everyUser;
        if (other.m_file != nullptr) {
            attach(other.getLocation(), false);
        }
    }
    return *this;
}

DataFile::~DataFile() {
    close();
}

void DataFile::attach(IO::Location const& location, bool create) {
    m_made = Identity();
    // The host's file object names the location alone (its status and modification time); it is
    // never opened.
    m_file.reset(new IO::File(location, IO::File::Fail));
    const std::string path = create ? pathOf(location) : std::string();
    if (!path.empty()) {
        // A link at the name is an entry that stands there, dangling or not: nothing is made
        // through it. What this object made is the file of the descriptor it was made with.
        const fileio::Entry entry = walk(path, fileio::Entry::keepLink);
        struct stat info {};
        std::error_code error;
        const fileio::Descriptor made =
            entry.status(info) ? fileio::Descriptor() : fileio::makeFile(entry, error);
        if (made && ::fstat(made.get(), &info) == 0) {
            m_made = Identity{info, true};
        } else if (error && error != std::errc::file_exists) {
            keepFailure(error);
            return;
        }
    }
    m_lastError = m_file->GetStatus();
}

DataFile* DataFile::create(Directory const& parent, String const& name, Permission permission, int& error,
                           String const& extension, unsigned int, unsigned int) {
    error = 0;
    unsigned int last = name.findLastNotOf(".");
    if (last == String::npos) {
        error = invalidNameError;
        return nullptr;
    }
    String fileName = name.substr(0, last + 1);
    if (!extension.empty()) {
        fileName += ".";
        fileName += extension;
    }
    std::unique_ptr<DataFile> file(new DataFile(parent, fileName, permission, true));
    error = file->getLastError();
    if (!file->exists()) {
        return nullptr;
    }
    file->close();
    return file.release();
}

DataFile* DataFile::create(IO::Location const& location, Permission permission) {
    std::unique_ptr<DataFile> file(new DataFile(location, permission, true));
    return file->exists() ? file.release() : nullptr;
}

DataFile* DataFile::promptSave(String const& title, std::vector<String> const& descriptions, int& selected,
                               IO::Location const* folder, std::vector<String> const& extensions,
                               std::vector<unsigned int> const&, Permission permission, String const&) {
    return prompt(DG::FileDialog::Save, title, descriptions, selected, folder, extensions, permission);
}

DataFile* DataFile::promptOpen(String const& title, std::vector<String> const& descriptions, int& selected,
                               IO::Location const* folder, std::vector<String> const& extensions,
                               std::vector<unsigned int> const&, Permission permission) {
    return prompt(DG::FileDialog::OpenFile, title, descriptions, selected, folder, extensions, permission);
}

DataFile* DataFile::promptSave(String const& title, String const& description, IO::Location const* folder,
                               String const& extension, unsigned int type, Permission permission,
                               String const& name) {
    int selected = 0;
    return promptSave(title, std::vector<String>{description}, selected, folder,
                      std::vector<String>{extension}, std::vector<unsigned int>{type}, permission, name);
}

DataFile* DataFile::promptOpen(String const& title, String const& description, IO::Location const* folder,
                               String const& extension, unsigned int type, Permission permission) {
    int selected = 0;
    return promptOpen(title, std::vector<String>{description}, selected, folder,
                      std::vector<String>{extension}, std::vector<unsigned int>{type}, permission);
}

DataFile* DataFile::promptObjectSave(IO::Location* location, bool flag, Permission permission) {
    IO::Location local;
    IO::Location* target = location != nullptr ? location : &local;
    bool option = !flag;
    bool confirmed = false;
    if (ACAPI_Interface(APIIo_SaveLibPartFileDialogID, &option, target, &confirmed) != NoError ||
        !confirmed) {
        return nullptr;
    }
    return create(*target, permission);
}

bool DataFile::operator==(DataFile const& other) const {
    return getPathName() == other.getPathName();
}

DataFile* DataFile::clone() const {
    return new DataFile(*this);
}

bool DataFile::exists() const {
    if (m_file == nullptr) {
        return false;
    }
    return isOpen() || m_file->GetStatus() == NoError;
}

bool DataFile::isFolder() const {
    return false;
}

IO::Location DataFile::getLocation() const {
    return locationOf(m_file.get());
}

Time DataFile::getModificationTime() const {
    return modificationTimeOf(m_file.get());
}

int DataFile::setLocation(IO::Location const& location) {
    close();
    attach(location, false);
    return m_lastError;
}

bool DataFile::openAs(Permission p) const {
    if (m_file == nullptr) {
        return false;
    }
    UInt64 position = 0;
    Identity was;
    if (isOpen()) {
        if (p == m_permission) {
            return true;
        }
        // A position that cannot be told would have the file reopened at its start, where a write
        // would land over what was read.
        m_lastError = m_channel->file->GetPosition(&position);
        if (m_lastError != NoError) {
            return false;
        }
        was = m_channel->identity;
        m_channel.reset();
    }
    const std::string named = entryPath();
    if (named.empty()) {
        m_lastError = ErrParam;
        return false;
    }
    // Walked once and opened under the rules; a reopen reaches the file it had open, or fails.
    std::unique_ptr<Channel> channel(new Channel);
    std::error_code error;
    channel->descriptor = walk(named).openFile(accessOf(p), owners(), error);
    struct stat info {};
    if (!error && ::fstat(channel->descriptor.get(), &info) != 0) {
        error = lastError();
    }
    if (!error && was.known && !fileio::sameNode(info, was.node)) {
        error = fileio::FileError::changed;
    }
    if (error) {
        keepFailure(error);
        return false;
    }
    channel->identity = Identity{info, true};
    const std::string open = "/dev/fd/" + std::to_string(channel->descriptor.get());
    channel->file.reset(new IO::File(IO::Location(open.c_str()), IO::File::Fail));
    m_lastError = channel->file->Open(p, IO::File::Shared);
    if (m_lastError != NoError) {
        return false;
    }
    m_channel = std::move(channel);
    m_permission = p;
    if (position > 0) {
        UInt32 skipped = 0;
        m_lastError = m_channel->file->Skip(clampToUnsigned(position), &skipped);
        if (m_lastError == NoError && skipped != clampToUnsigned(position)) {
            m_lastError = ErrEOF; // the file is shorter now than the position it was open at
        }
        if (m_lastError != NoError) {
            m_channel.reset();
            return false;
        }
    }
    return true;
}

bool DataFile::open(Permission p) {
    return openAs(p);
}

bool DataFile::close() {
    // The host's channel first, then the descriptor it was opened on.
    m_channel.reset();
    return true;
}

bool DataFile::isOpen() const {
    return m_channel != nullptr && m_channel->file->IsOpen();
}

unsigned int DataFile::getPosition() const {
    UInt64 position = 0;
    if (!openAs(m_permission) || m_channel->file->GetPosition(&position) != NoError) {
        return 0;
    }
    return clampToUnsigned(position);
}

unsigned int DataFile::getSize() const {
    if (!openAs(m_permission)) {
        return 0;
    }
    UInt64 length = 0;
    m_lastError = m_channel->file->GetDataLength(&length);
    return m_lastError == NoError ? clampToUnsigned(length) : 0;
}

bool DataFile::readBytes(char* buffer, unsigned int& length) const {
    if (!openAs(m_permission)) {
        length = 0;
        return false;
    }
    UInt32 read = 0;
    m_lastError = m_channel->file->ReadBin(buffer, length, &read);
    length = read;
    return m_lastError == NoError;
}

bool DataFile::read(String& text, unsigned int& length) {
    unsigned int wanted = length;
    length = 0;
    if (!openAs(m_permission)) {
        return false;
    }
    // Read in pieces, so that a length far beyond the file's end takes no more memory than the
    // bytes that are there.
    std::vector<char> buffer(std::min(wanted, defBufferSize));
    while (length < wanted) {
        unsigned int piece = std::min(wanted - length, defBufferSize);
        unsigned int got = piece;
        bool ok = readBytes(buffer.data(), got);
        text.append(buffer.data(), got);
        length += got;
        if (!ok) {
            if (m_lastError == ErrEOF && length > 0) {
                m_lastError = NoError; // the end of the file after some bytes: a short read
                return true;
            }
            return false;
        }
        if (got < piece) {
            break;
        }
    }
    return true;
}

bool DataFile::read(char* const& buffer, unsigned int& length) {
    if (length == 0) {
        length = static_cast<unsigned int>(getPtrSize(buffer));
        if (length == 0) {
            return true;
        }
    }
    return readBytes(buffer, length);
}

unsigned int DataFile::skip(unsigned int count) {
    if (!openAs(m_permission)) {
        return 0;
    }
    UInt32 skipped = 0;
    m_lastError = m_channel->file->Skip(count, &skipped);
    return skipped;
}

Directory* DataFile::getParent() const {
    String path = getPathName();
    unsigned int slash = path.rfind(pathDelimiter);
    if (slash == String::npos) {
        return nullptr;
    }
    auto* parent = new Directory(path.substr(0, slash + 1), false);
    if (isInPlayersFolder()) {
        parent->takeForPlayer();
    }
    return parent;
}

bool DataFile::setPosition(unsigned int position) {
    if (!openAs(m_permission)) {
        return false;
    }
    m_lastError = m_channel->file->SetPosition(position);
    return m_lastError == NoError;
}

bool DataFile::setSize(unsigned int size) {
    if (!openAs(m_permission)) {
        return false;
    }
    m_lastError = m_channel->file->SetDataLength(size);
    return m_lastError == NoError;
}

bool DataFile::write(String const& text) {
    unsigned int length = text.dataLength();
    if (length == 0) {
        return true;
    }
    if (!openAs(m_permission)) {
        return false;
    }
    m_lastError = m_channel->file->WriteBin(text.data(), length);
    return m_lastError == NoError;
}

bool DataFile::write(char* data, unsigned int length) {
    if (length == 0) {
        length = static_cast<unsigned int>(getPtrSize(data));
        if (length == 0) {
            return true;
        }
    }
    if (!openAs(m_permission)) {
        return false;
    }
    m_lastError = m_channel->file->WriteBin(data, length);
    return m_lastError == NoError;
}

bool DataFile::write(DataFile const& source) {
    unsigned int size = source.getSize();
    if (source.getLastError() != NoError) {
        m_lastError = source.getLastError();
        return false;
    }
    unsigned int position = source.getPosition();
    unsigned int remaining = size > position ? size - position : 0;
    std::vector<char> buffer(std::min(remaining, defBufferSize));
    while (remaining > 0) {
        unsigned int piece = std::min(remaining, defBufferSize);
        if (!source.readBytes(buffer.data(), piece) || piece == 0) {
            m_lastError = source.getLastError() != NoError ? source.getLastError() : ErrEOF;
            return false;
        }
        if (!write(buffer.data(), piece)) {
            return false;
        }
        remaining -= piece;
    }
    return true;
}

bool DataFile::erase() {
    close();
    const std::string named = entryPath();
    if (named.empty()) {
        m_lastError = ErrParam;
        return false;
    }
    // The file the links lead to goes, and each link stays, as a write would reach it.
    const fileio::Entry entry = walk(named);
    struct stat info {};
    if (entry.error() || !entry.status(info)) {
        keepFailure(entry.error() ? entry.error() : lastError());
        return false;
    }
    // A FIFO or a device stores nothing to remove, and is the system's or another program's.
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        m_lastError = NoError;
        return true;
    }
    // A file its user may not write is not the user's to remove either, though its folder would
    // let it go; a folder standing under the file's name goes only when empty.
    m_lastError = errorOf(S_ISREG(info.st_mode) && !fileio::bitsLetWrite(info)
                              ? make_error_code(fileio::FileError::notWritable)
                              : entry.remove(owners()));
    return m_lastError == NoError;
}

bool DataFile::eraseMade() {
    close();
    // Only while its name leads to the file made, never through a link, and while it holds nothing
    // that someone else may have put in it since.
    const fileio::Entry entry = walk(entryPath(), fileio::Entry::keepLink);
    struct stat info {};
    if (!m_made.known || !entry.status(info) || !S_ISREG(info.st_mode) ||
        !fileio::sameNode(info, m_made.node) || info.st_nlink != 1 || info.st_size != 0) {
        m_lastError = ErrPermission;
        return false;
    }
    m_lastError = errorOf(entry.remove());
    m_made = Identity();
    return m_lastError == NoError;
}

bool DataFile::isSpecial() const {
    const fileio::Entry entry = walk(entryPath());
    struct stat info {};
    return entry.status(info) && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

bool DataFile::flush() {
    if (m_file == nullptr) {
        return false;
    }
    if (!isOpen()) {
        return true; // nothing written is pending
    }
    m_lastError = m_channel->file->Flush();
    return m_lastError == NoError;
}

Encoding::Type DataFile::getEncoding(bool skipMark) {
    unsigned int size = getSize();
    if (size < 3) {
        return Encoding::undetermined;
    }
    unsigned int position = getPosition();
    // A start that cannot be read is taken as UTF-8 without a mark: skipping a mark that was never
    // seen would drop the first bytes of the text once the reads succeed again.
    unsigned int markLength = 0;
    Encoding::Type type = utf8;
    GSErrCode failure = NoError;
    if (!setPosition(0)) {
        failure = m_lastError;
    } else {
        unsigned char bytes[4] = {};
        unsigned int length = size >= 4 ? 4 : 3;
        if (!readBytes(reinterpret_cast<char*>(bytes), length)) {
            failure = m_lastError;
        } else if (length >= 3) {
            auto starts = [&](std::initializer_list<unsigned char> mark) {
                return mark.size() <= length && std::equal(mark.begin(), mark.end(), bytes);
            };
            if (starts({0xEF, 0xBB, 0xBF})) {
                type = utf8;
                markLength = 3;
            } else if (starts({0xFF, 0xFE, 0x00, 0x00})) {
                type = utf32;
                markLength = 4;
            } else if (starts({0xFF, 0xFE})) {
                type = utf16;
                markLength = 2;
            } else if (starts({0xFE, 0xFF})) {
                type = utf16 | bigEndianFlag;
                markLength = 2;
            } else if (starts({0x00, 0x00, 0xFE, 0xFF})) {
                type = utf32 | bigEndianFlag;
                markLength = 4;
            }
        }
    }
    // A seek back that fails leaves the position moved, as a skipped mark would: the caller is
    // told of that too.
    if (!setPosition(skipMark && position < markLength ? markLength : position) && failure == NoError) {
        failure = m_lastError;
    }
    m_lastError = failure;
    return type;
}

void DataFile::setEncoding(Encoding::Type type) {
    char mark[4] = {};
    unsigned int length = 0;
    switch (type) {
    case utf8:
        mark[0] = char(0xEF), mark[1] = char(0xBB), mark[2] = char(0xBF);
        length = 3;
        break;
    case utf16:
        mark[0] = char(0xFF), mark[1] = char(0xFE);
        length = 2;
        break;
    case utf32:
        mark[0] = char(0xFF), mark[1] = char(0xFE);
        length = 4;
        break;
    case Encoding::utf16BigEndian:
        mark[0] = char(0xFE), mark[1] = char(0xFF);
        length = 2;
        break;
    case Encoding::utf32BigEndian:
        mark[2] = char(0xFE), mark[3] = char(0xFF);
        length = 4;
        break;
    default:
        return;
    }
    unsigned int position = getPosition();
    if (!setPosition(0)) {
        return;
    }
    if (write(mark, length) && position != 0) {
        setPosition(position + length);
    }
}

bool DataFile::replaceContents(std::function<bool(DataFile&)> const& writer) {
    return writeWhole(writer, true);
}

bool DataFile::makeContents(std::function<bool(DataFile&)> const& writer) {
    return writeWhole(writer, false);
}

bool DataFile::replaceContents(std::function<bool(DataFile&)> const& writer, Identity const& read) {
    if (!read.known) {
        close();
        m_lastError = ErrParam;
        return false;
    }
    return writeWhole(writer, true, &read);
}

DataFile::Identity DataFile::getOpenIdentity() const {
    return isOpen() ? m_channel->identity : Identity();
}

bool DataFile::writeWhole(std::function<bool(DataFile&)> const& writer, bool replace, Identity const* read) {
    if (m_file == nullptr) {
        m_lastError = ErrParam;
        return false;
    }
    close();
    const std::string named = entryPath();
    if (named.empty()) {
        m_lastError = ErrParam;
        return false;
    }
    // Written where the file's links lead: each link stays, and names the new content.
    const fileio::Entry entry = walk(named);
    fileio::removeLeftovers(entry);
    // The writer writes the new file through a data file on the descriptor it was made with, so
    // that the host's file library does every byte of it; its failure is the host's error.
    GSErrCode written = NoError;
    auto fill = [&writer, &written](int fd) {
        DataFile made(String(("/dev/fd/" + std::to_string(fd)).c_str()), readWrite, false);
        bool done = false;
        try {
            done = writer(made);
        } catch (...) {
            done = false;
        }
        if (!done) {
            written = made.getLastError() != NoError ? made.getLastError() : Error;
        } else if (!made.flush()) {
            written = made.getLastError();
        }
        made.close();
        return written == NoError ? std::error_code() : std::make_error_code(std::errc::io_error);
    };
    fileio::WriteOptions options;
    options.owners = owners();
    options.mustBeNew = !replace;
    options.asRead = read != nullptr ? &read->node : nullptr;
    const std::error_code failure = fileio::writeWhole(entry, fill, options);
    keepFailure(failure);
    if (written != NoError) {
        m_lastError = written;
    }
    return !failure;
}

bool DataFile::replaceContents(String const& text) {
    return replaceContents([&text](DataFile& file) { return file.write(text); });
}

} // namespace zelvane
