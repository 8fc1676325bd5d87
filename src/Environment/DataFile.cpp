#include "Environment/DataFile.h"

#include "ACAPI/Interface.hpp"
#include "ACAPI/LibPartSaveDialog.hpp"
#include "DG/FileDialog.hpp"
#include "Environment/Directory.h"
#include "Environment/FileNode.h"
#include "Environment/Guid.h"
#include "Environment/Memory.h"
#include "Environment/Time.h"
#include "FTM/FileTypeManager.hpp"
#include "IO/File.hpp"
#include "IO/FileSystem.hpp"
#include "IO/Folder.hpp"
#include "IO/Name.hpp"
#include "IO/TreeEnumerator.hpp"

#include <algorithm>
#include <cctype>
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

// Whether `entry` is a temporary file of a replace of the file `name`: ".NAME.SUFFIX.tmp" with a
// hexadecimal suffix, or ".NAME.tmpN" as earlier versions named them.
bool isTemporaryOf(std::string const& entry, std::string const& name) {
    std::string head = "." + name + ".";
    if (entry.size() <= head.size() || entry.compare(0, head.size(), head) != 0) {
        return false;
    }
    std::string rest = entry.substr(head.size());
    auto all = [](std::string const& text, int (*test)(int)) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [test](char c) { return test(UInt8(c)) != 0; });
    };
    if (rest.size() > 4 && rest.compare(rest.size() - 4, 4, ".tmp") == 0) {
        return all(rest.substr(0, rest.size() - 4), isxdigit);
    }
    return rest.compare(0, 3, "tmp") == 0 && all(rest.substr(3), isdigit);
}

// Lists the temporary files of one file in its folder, without descending.
class TemporaryFiles : public IO::TreeEnumerator {
public:
    explicit TemporaryFiles(std::string name) : m_name(std::move(name)) {}
    std::vector<std::string> found;

protected:
    bool EntryFound(IO::Name const& entry, bool isFolder) override {
        std::string text = entry.ToUTF8();
        if (!isFolder && isTemporaryOf(text, m_name)) {
            found.push_back(text);
        }
        return false;
    }

private:
    std::string m_name;
};

// Deletes what earlier replaces of the file left behind when their clean-up failed.
void sweepTemporaries(IO::Location const& folder, std::string const& name) {
    IO::Folder directory(folder, IO::Folder::Fail);
    TemporaryFiles temporaries(name);
    if (directory.GetStatus() != NoError || temporaries.Enumerate(directory) != NoError) {
        return;
    }
    for (std::string const& entry : temporaries.found) {
        IO::Location leftover(folder, IO::Name(entry.c_str()));
        std::string path;
        // In a folder that other users may write, a file of another user's under such a name may
        // be that user's replace under way: only the user's own leftovers go.
        if (leftover.ToPath(&path) == NoError && FileNode::isOwnFile(path)) {
            IO::fileSystem.Delete(leftover, IO::FileSystem::EmptyOnly);
        }
    }
}

// The entry the links of the file at path lead to; error receives ErrParam for no path,
// ErrPermission for a link that another user may have put there (FileNode) and ErrNotFound for
// links that lead nowhere, else NoError.
FileNode followed(String const& path, int& error) {
    FileNode node(std::string(path.data(), path.dataLength()));
    error = node.isRefused()          ? ErrPermission
            : !node.getPath().empty() ? NoError
            : path.empty()            ? ErrParam
                                      : ErrNotFound;
    return node;
}

std::string pathOf(IO::Location const& location) {
    std::string path;
    return location.ToPath(&path) == NoError ? path : std::string();
}

// A name no replace has used: hexadecimal digits of a new identifier from the host.
std::string uniqueSuffix() {
    char text[Guid::textLength + 1];
    Guid().generate().copyTo(text);
    std::string suffix;
    for (char const* p = text; *p != 0 && suffix.size() < 16; ++p) {
        if (*p != '-') {
            suffix += *p;
        }
    }
    return suffix;
}

} // namespace

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
    IO::Location location;
    if (locationIn(parent.getData(), name, location)) {
        attach(location, create);
    }
}

DataFile::DataFile(DataFile const& other) : File(other), m_permission(other.m_permission) {
    if (other.m_file != nullptr) {
        attach(other.getLocation(), false);
    }
}

DataFile& DataFile::operator=(DataFile const& other) {
    if (this != &other) {
        close();
        m_file.reset();
        m_made = FileIdentity();
        File::operator=(other);
        m_permission = other.m_permission;
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
    // Whether this object made the file: nothing stood at its name before the host made it.
    const std::string path = create ? pathOf(location) : std::string();
    const bool absent = !path.empty() && FileNode::isAbsent(path);
    m_file.reset(new IO::File(location, create ? IO::File::Create : IO::File::Fail));
    m_lastError = m_file->GetStatus();
    m_made = absent && m_lastError == NoError ? FileIdentity::of(path) : FileIdentity();
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
    return m_file->IsOpen() || m_file->GetStatus() == NoError;
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
    if (m_file->IsOpen()) {
        if (p == m_permission) {
            return true;
        }
        // A position that cannot be told would have the file reopened at its start, where a write
        // would land over what was read.
        m_lastError = m_file->GetPosition(&position);
        if (m_lastError != NoError) {
            return false;
        }
        m_file->Close();
    }
    const String path = getPathName();
    const FileNode node(std::string(path.data(), path.dataLength()));
    if (node.isRefused()) {
        m_lastError = ErrPermission;
        return false;
    }
    // A FIFO opened only to read would wait for a writer; opened to write too, it does not.
    const bool fifo = p == readOnly && node.isFifo();
    m_lastError = m_file->Open(fifo ? readWrite : p, IO::File::Shared);
    if (m_lastError != NoError) {
        return false;
    }
    m_permission = p;
    if (position > 0) {
        UInt32 skipped = 0;
        m_lastError = m_file->Skip(clampToUnsigned(position), &skipped);
        if (m_lastError == NoError && skipped != clampToUnsigned(position)) {
            m_lastError = ErrEOF; // the file is shorter now than the position it was open at
        }
        if (m_lastError != NoError) {
            m_file->Close();
            return false;
        }
    }
    return true;
}

bool DataFile::open(Permission p) {
    return openAs(p);
}

bool DataFile::close() {
    if (m_file != nullptr && m_file->IsOpen()) {
        m_file->Close();
    }
    return true;
}

bool DataFile::isOpen() const {
    return m_file != nullptr && m_file->IsOpen();
}

unsigned int DataFile::getPosition() const {
    UInt64 position = 0;
    if (!openAs(m_permission) || m_file->GetPosition(&position) != NoError) {
        return 0;
    }
    return clampToUnsigned(position);
}

unsigned int DataFile::getSize() const {
    if (!openAs(m_permission)) {
        return 0;
    }
    UInt64 length = 0;
    m_lastError = m_file->GetDataLength(&length);
    return m_lastError == NoError ? clampToUnsigned(length) : 0;
}

bool DataFile::readBytes(char* buffer, unsigned int& length) const {
    if (!openAs(m_permission)) {
        length = 0;
        return false;
    }
    UInt32 read = 0;
    m_lastError = m_file->ReadBin(buffer, length, &read);
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
    m_lastError = m_file->Skip(count, &skipped);
    return skipped;
}

Directory* DataFile::getParent() const {
    String path = getPathName();
    unsigned int slash = path.rfind(pathDelimiter);
    if (slash == String::npos) {
        return nullptr;
    }
    return new Directory(path.substr(0, slash + 1), false);
}

bool DataFile::setPosition(unsigned int position) {
    if (!openAs(m_permission)) {
        return false;
    }
    m_lastError = m_file->SetPosition(position);
    return m_lastError == NoError;
}

bool DataFile::setSize(unsigned int size) {
    if (!openAs(m_permission)) {
        return false;
    }
    m_lastError = m_file->SetDataLength(size);
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
    m_lastError = m_file->WriteBin(text.data(), length);
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
    m_lastError = m_file->WriteBin(data, length);
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
    // The file the links lead to goes, and each link stays, as a write would reach it.
    FileNode node = followed(getPathName(), m_lastError);
    if (m_lastError != NoError) {
        return false;
    }
    // A FIFO or a device stores nothing to remove, and is the system's or another program's.
    if (node.isSpecial()) {
        m_lastError = NoError;
        return true;
    }
    // A file its user may not write is not the user's to remove either.
    if (!node.mayWrite()) {
        m_lastError = ErrPermission;
        return false;
    }
    // A folder standing under the file's name is never removed with what it holds.
    m_lastError = IO::fileSystem.Delete(IO::Location(node.getPath().c_str()), IO::FileSystem::EmptyOnly,
                                        IO::FileSystem::Permanent);
    return m_lastError == NoError;
}

bool DataFile::eraseMade() {
    close();
    const std::string path = pathOf(getLocation());
    // Only while its name leads to the file made, never through a link, and while it holds nothing
    // that someone else may have put in it since.
    const FileIdentity now = FileIdentity::of(path);
    if (!(now == m_made) || now.size != 0) {
        m_lastError = ErrPermission;
        return false;
    }
    m_lastError = IO::fileSystem.Delete(getLocation(), IO::FileSystem::EmptyOnly, IO::FileSystem::Permanent);
    m_made = FileIdentity();
    return m_lastError == NoError;
}

bool DataFile::isSpecial() const {
    const String path = getPathName();
    return FileNode(std::string(path.data(), path.dataLength())).isSpecial();
}

bool DataFile::flush() {
    if (m_file == nullptr) {
        return false;
    }
    if (!m_file->IsOpen()) {
        return true; // nothing written is pending
    }
    m_lastError = m_file->Flush();
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

bool DataFile::writeWhole(std::function<bool(DataFile&)> const& writer, bool replace) {
    if (m_file == nullptr) {
        m_lastError = ErrParam;
        return false;
    }
    close();
    // Written where the file's links lead: each link stays, and names the new content.
    FileNode node = followed(getPathName(), m_lastError);
    if (m_lastError != NoError) {
        return false;
    }
    // A folder is never written; a file that must be new is put in place only by a rename that
    // fails where an entry stands, and not made over a node at all.
    if (node.isFolder() || (!replace && node.isSpecial())) {
        m_lastError = ErrExists;
        return false;
    }
    // A file its user may not write (made read-only, or another user's) is kept as it is, though
    // the folder would let a rename replace it.
    if (!node.isSpecial() && !node.mayWrite()) {
        m_lastError = ErrPermission;
        return false;
    }
    IO::Location target(node.getPath().c_str());
    IO::Location folder = target;
    IO::Name name;
    if ((m_lastError = target.GetLastLocalName(&name)) != NoError ||
        (m_lastError = folder.DeleteLastLocalName()) != NoError) {
        return false;
    }
    sweepTemporaries(folder, name.ToUTF8());
    // A hidden name beside the target, new to each attempt, so that leftovers of failed clean-ups
    // never stand in the way. The file made stays open until it is renamed, so that only it is
    // renamed or removed, never a file another process put under its name meanwhile; one put there
    // before it was taken is left alone.
    std::unique_ptr<DataFile> temporary;
    std::string temporaryPath;
    TemporaryFile made;
    bool taken = false;
    for (int attempt = 0; attempt < 8 && temporary == nullptr; ++attempt) {
        std::string tempName = "." + name.ToUTF8() + "." + uniqueSuffix() + ".tmp";
        IO::Location location(folder, IO::Name(tempName.c_str()));
        if (location.IsEmpty() || location.ToPath(&temporaryPath) != NoError) {
            break;
        }
        IO::File probe(location, IO::File::Fail);
        if (probe.GetStatus() != ErrNotFound) {
            continue;
        }
        taken = made.make(temporaryPath, [&temporary, &location] {
            temporary.reset(new DataFile(location, readWrite, true));
            return temporary->exists();
        });
    }
    if (temporary == nullptr) {
        m_lastError = ErrExists;
        return false;
    }
    if (!temporary->exists()) {
        m_lastError = temporary->getLastError() != NoError ? temporary->getLastError() : ErrIO;
        return false;
    }
    if (!taken) {
        m_lastError = ErrExists;
        return false;
    }
    IO::Location location = temporary->getLocation();

    bool written = false;
    try {
        written = writer(*temporary);
    } catch (...) {
        written = false;
    }
    GSErrCode result = NoError;
    if (!written) {
        result = temporary->getLastError() != NoError ? temporary->getLastError() : Error;
    } else if (!temporary->flush()) {
        result = temporary->getLastError();
    }
    temporary->close();
    // The temporary file goes by its own name while that still leads to it; a link put there
    // meanwhile goes as the link, never the file it names, and another file is left alone.
    auto discard = [&made, &location, &temporaryPath] {
        if (made.isNamed() || FileNode::isLink(temporaryPath)) {
            IO::fileSystem.Delete(location, IO::FileSystem::EmptyOnly, IO::FileSystem::Permanent);
        }
    };
    if (result == NoError && node.isSpecial()) {
        // A FIFO or a device takes the content as it stands: replacing it would put a plain file
        // where the system or another program expects the node.
        result = node.writeInPlace(made.descriptor());
        discard();
        m_lastError = result;
        return result == NoError;
    }
    if (result == NoError && !made.finish(node)) {
        result = ErrIO;
    }
    if (result == NoError) {
        result = IO::fileSystem.Rename(location, name,
                                       replace ? IO::FileSystem::ReplaceFile : IO::FileSystem::KeepExisting);
    }
    if (result != NoError) {
        discard();
        m_lastError = result;
        return false;
    }
    m_lastError = NoError;
    return true;
}

bool DataFile::replaceContents(String const& text) {
    return replaceContents([&text](DataFile& file) { return file.write(text); });
}

} // namespace zelvane
