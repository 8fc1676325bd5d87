// A file whose bytes are read and written. Every byte operation first opens the file with the
// data file's permission; the file stays open until close, erase, setLocation, assignment or
// destruction. The file is opened once under the file rules (lib/fileio), and its bytes go
// through the host's file library on that open file.
#pragma once

#include "Environment/Encoding.h"
#include "Environment/File.h"

#include <sys/types.h>

#include <functional>
#include <memory>
#include <vector>

namespace IO {
class File;
}

namespace zelvane {

class Directory;

class DataFile : public File {
public:
    // The access mode handed to the host's open call: 0 reads, 3 reads and writes.
    using Permission = unsigned int;
    static constexpr Permission readOnly = 0;
    static constexpr Permission readWrite = 3;

    // The size of the pieces in which files are copied and read.
    static constexpr unsigned int defBufferSize = 16384;

    // create() answers this error for a name that is empty or made only of dots.
    static constexpr int invalidNameError = static_cast<int>(0x81060067u);

    // Byte order of UTF-16 and UTF-32 text. getEncoding answers Encoding::utf16 or Encoding::utf32
    // for a little-endian mark (FF FE, FF FE 00 00), and Encoding::utf16BigEndian or
    // Encoding::utf32BigEndian (the type with Encoding::bigEndianFlag added) for a big-endian mark
    // (FE FF, 00 00 FE FF). The text streams take the flag off and decode the text in the order it
    // gives; setEncoding writes the big-endian mark for a flagged type.
    static constexpr Encoding::Type bigEndianFlag = Encoding::bigEndianFlag;
    static constexpr bool isBigEndian(Encoding::Type type) { return (type & bigEndianFlag) != 0; }
    static constexpr Encoding::Type withoutByteOrder(Encoding::Type type) { return type & ~bigEndianFlag; }

    // A file by its status when it was made or opened: its node, and the state of its content.
    struct Identity {
        struct stat node {};
        bool known = false;
    };

    DataFile();
    // A data file on the host file's location; never created.
    DataFile(IO::File const& file, Permission permission);
    // With create a missing file is made, empty; an existing file is kept as it is.
    DataFile(IO::Location const& location, Permission permission, bool create);
    DataFile(String const& path, Permission permission, bool create);
    // The file `name` inside parent.
    DataFile(Directory const& parent, String const& name, Permission permission, bool create);
    DataFile(DataFile const& other);
    DataFile& operator=(DataFile const& other);
    ~DataFile() override;

    // Makes the file "name.extension" in parent (trailing dots of name dropped; no dot when the
    // extension is empty). error receives the host result, or invalidNameError for a name of dots
    // only. The new file, closed (the caller owns it), when it exists; else null. The two trailing
    // numbers (Macintosh type and creator) are not used here.
    static DataFile* create(Directory const& parent, String const& name, Permission permission, int& error,
                            String const& extension, unsigned int type = 0, unsigned int creator = 0);
    // Makes the file at a location; null when it does not exist afterwards.
    static DataFile* create(IO::Location const& location, Permission permission);

    // The host's file dialogs. Filter i shows "description i (*.extension i)"; selected names the
    // filter to pre-select and receives the filter the user chose. The chosen file (through
    // create), or null when the user cancels. types and the trailing name are not used.
    static DataFile* promptSave(String const& title, std::vector<String> const& descriptions, int& selected,
                                IO::Location const* folder, std::vector<String> const& extensions,
                                std::vector<unsigned int> const& types, Permission permission,
                                String const& name = String());
    static DataFile* promptOpen(String const& title, std::vector<String> const& descriptions, int& selected,
                                IO::Location const* folder, std::vector<String> const& extensions,
                                std::vector<unsigned int> const& types, Permission permission);
    static DataFile* promptSave(String const& title, String const& description, IO::Location const* folder,
                                String const& extension, unsigned int type, Permission permission,
                                String const& name = String());
    static DataFile* promptOpen(String const& title, String const& description, IO::Location const* folder,
                                String const& extension, unsigned int type, Permission permission);
    // The host's library-part save dialog, opened on *location (null: on no particular place),
    // which receives the chosen place; flag is handed to the host negated. The chosen file
    // (through create), or null when the user cancels or the host fails.
    static DataFile* promptObjectSave(IO::Location* location, bool flag, Permission permission);

    // The path names are equal.
    bool operator==(DataFile const& other) const;
    bool operator!=(DataFile const& other) const { return !(*this == other); }

    DataFile* clone() const override;
    bool exists() const override;
    bool isFolder() const override;
    IO::Location getLocation() const override;
    Time getModificationTime() const override;
    // Closes and points the object at the file of a location (not created); the host result.
    int setLocation(IO::Location const& location) override;

    // Opens with permission p (reopening at the same position when open with another one, which
    // fails unless the name still leads to the file open). A link that another user may have put
    // in a folder others may write is not followed, and another user's file, FIFO or device there
    // is not opened; the permission bits decide, for root too (ErrPermission). A FIFO is never
    // waited on.
    virtual bool open(Permission p);
    virtual bool close();
    virtual bool isOpen() const;
    virtual unsigned int getPosition() const;
    virtual unsigned int getSize() const;
    // Appends up to length bytes to text, exactly as read; length receives the count read.
    virtual bool read(String& text, unsigned int& length);
    // Reads up to length bytes (0: the size of the host pointer block) into buffer; length
    // receives the count read.
    virtual bool read(char* const& buffer, unsigned int& length);
    // Moves forward by count bytes, no further than the end; answers how far it moved.
    virtual unsigned int skip(unsigned int count);
    // The folder that holds the file (the caller owns it), or null.
    virtual Directory* getParent() const;
    virtual bool setPosition(unsigned int position);
    virtual bool setSize(unsigned int size);
    virtual bool write(String const& text);
    // Writes length bytes (0: the size of the host pointer block).
    virtual bool write(char* data, unsigned int length);
    // Copies the rest of source, from its current position, in pieces of defBufferSize bytes.
    virtual bool write(DataFile const& source);
    // Closes and deletes the file that the file's links lead to, keeping the links; a FIFO or a
    // device is kept (true is answered), and a folder of its name unless empty. A link that
    // another user may have put in a folder others may write is not followed, and a file its user
    // may not write is kept: false, with ErrPermission.
    virtual bool erase();
    virtual bool flush();

    // Closes and deletes the file only when this object made it (created it where nothing stood)
    // and it is still there under its name, empty; a link or another file put there since is kept
    // (false, with ErrPermission).
    bool eraseMade();
    // Whether this object made the file (created it where nothing stood).
    bool isMade() const { return m_made.known; }
    // The file's links lead to a node that is neither a regular file nor a folder (a FIFO, a
    // device), which holds no content of its own.
    bool isSpecial() const;
    // Marks the file as one every user of the machine is to change (the shared preferences):
    // another user's regular file at its name, in a folder others may write, is read, written and
    // given modes as the player's own. Their links, FIFOs and devices stay refused.
    void setChangedByEveryUser(bool everyUser) { m_everyUser = everyUser; }

    // The encoding its byte-order mark gives (0 for a file under 3 bytes; 99 without a mark);
    // with skipMark a position inside the mark moves past it, else the position is kept. The last
    // error is the first failure of its length, seeks and read, and with one the position and the
    // answer are not to be trusted.
    Encoding::Type getEncoding(bool skipMark);
    // Writes the byte-order mark of type over the first bytes of the file (for an empty file).
    void setEncoding(Encoding::Type type);

    // Replaces the file's whole content safely (fileio::writeWhole): writer fills a new, empty
    // temporary file beside the file that this one's links lead to, through a data file on the
    // descriptor it was made with; it is flushed, given the old file's owner and permission bits
    // (set-ID and sticky bits dropped), and renamed over it; the links stay. Where others may
    // rename entries of the folder, the temporary file lies in a folder of the player's made for
    // it. A FIFO or a device is written in place, never replaced and never waited on (one without
    // a reader, or whose reader leaves, is not written), and a folder is not written. A link
    // another user may have put in a folder others may write is not followed, and a file, FIFO or
    // device its user may not write, or another user's there, is kept (ErrPermission). On any
    // failure (writer answering false or throwing included) the temporary file is removed, the
    // old file stays as it was and false is answered, with the error of the data file the writer
    // wrote when it failed. This file is closed first.
    bool replaceContents(std::function<bool(DataFile&)> const& writer);
    bool replaceContents(String const& text);
    // As replaceContents, but the file is made only where there is none: one that stands there
    // when the content is put in place is kept, and false is answered with ErrExists.
    bool makeContents(std::function<bool(DataFile&)> const& writer);
    // As replaceContents, but only over the file `read` (getOpenIdentity of its read), where it
    // still stands at the name unchanged: none there, another entry, or that file changed since,
    // is kept, and false is answered with ErrIO (whyFailed tells it).
    bool replaceContents(std::function<bool(DataFile&)> const& writer, Identity const& read);
    // The file open now as it was when it was opened; unknown where none is open.
    Identity getOpenIdentity() const;

protected:
    bool isChangedByEveryUser() const override { return m_everyUser; }

private:
    // The file open: the layer's descriptor and the host's channel on it.
    struct Channel;
    void attach(IO::Location const& location, bool create);
    bool writeWhole(std::function<bool(DataFile&)> const& writer, bool replace,
                    Identity const* read = nullptr);
    bool readBytes(char* buffer, unsigned int& length) const;
    bool openAs(Permission p) const;

    // Names the file's own location (never opened): its status, location and modification time.
    std::unique_ptr<IO::File> m_file;
    mutable std::unique_ptr<Channel> m_channel;
    mutable Permission m_permission = readWrite;
    // The file this object made, as eraseMade may remove it; unknown when it made none.
    Identity m_made;
    bool m_everyUser = false;
};

} // namespace zelvane
