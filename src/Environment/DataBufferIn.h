// Buffered input stream: reads characters from a data file or from memory, decodes them from the
// source encoding into the target encoding, keeps the row and column, and cuts the input at
// delimiter characters.
#pragma once

#include "Environment/Encoding.h"
#include "Environment/StreamBase.h"

#include <memory>
#include <string>
#include <vector>

namespace zelvane {

class DataFile;
class MemoryBlock;
class String;

class DataBufferIn : public virtual StreamBase {
public:
    static constexpr int bufferSize = 61440;

    // Results of a delimiter scan (iterateTo, getLine).
    static constexpr int foundDelimiter = 1;
    static constexpr int reachedEnd = 2;
    static constexpr int loadFailed = 3;
    static constexpr int undecodable = 4;

    // An empty stream.
    DataBufferIn();
    // Reads the file from its current position; a byte-order mark there gives the source
    // encoding and is skipped. A null file gives an empty stream; a file whose position, length or
    // first bytes cannot be read gives a failed one that holds nothing.
    explicit DataBufferIn(DataFile const* file, Encoding::Type target = Encoding::utf8);
    // Memory sources are read as UTF-8 and are borrowed: they must outlive the stream.
    // A host pointer block (its whole size).
    DataBufferIn(char* block, Encoding::Type target);
    DataBufferIn(void const* data, int length, Encoding::Type target);
    explicit DataBufferIn(MemoryBlock const& block, Encoding::Type target = Encoding::utf8);
    explicit DataBufferIn(String const& text, Encoding::Type target = Encoding::utf8);
    // A temporary would be gone before the first read.
    DataBufferIn(MemoryBlock&&, Encoding::Type = Encoding::utf8) = delete;
    DataBufferIn(String&&, Encoding::Type = Encoding::utf8) = delete;
    DataBufferIn(DataBufferIn const&) = delete;
    DataBufferIn& operator=(DataBufferIn const&) = delete;
    ~DataBufferIn() override;

    // Each starts reading afresh: state, counts, row, column and source encoding are reset.
    void setSource(DataFile const* file, Encoding::Type target);
    void setSource(char* block, Encoding::Type target);
    void setSource(void const* data, int length, Encoding::Type target);
    void setSource(MemoryBlock const& block, Encoding::Type target);
    void setSource(String const& text, Encoding::Type target);
    void setSource(MemoryBlock&&, Encoding::Type) = delete;
    void setSource(String&&, Encoding::Type) = delete;

    int getCapacity() const;
    int getLastError() const override;
    // 1 at the start; each CR, LF or CR LF read counts one line.
    virtual int getRowPosition() const;
    // Characters read by scans since the last line break.
    virtual int getColPosition() const;
    Encoding::Type getSourceEncoding() const { return m_sourceEncoding; }
    Encoding::Type getTargetEncoding() const { return m_targetEncoding; }
    // The encoding of the bytes still to read, for a reader that finds it named in the text. UTF-16
    // and UTF-32 keep the byte order of the mark unless the type carries the big-endian flag.
    void setSourceEncoding(Encoding::Type type);
    void setTargetEncoding(Encoding::Type type);
    // Whether a byte-order mark at the start of the source file chose the source encoding.
    bool hasByteOrderMark() const { return m_markFound; }
    // Binary files: the bytes taken for a byte-order mark are read as data after all, and the
    // source is read as UTF-8. Only before the first read; false when it is too late, and when the
    // file cannot be repositioned or measured, which fails the stream.
    bool readMarkAsData();

    // One raw byte, not decoded; nothing when the state is not clear after loading.
    DataBufferIn& get(char& c);
    // Appends up to count decoded characters; stops early at the end, a failure or an
    // undecodable character.
    void getString(String& out, unsigned int count, bool = false);
    // Passes over count raw bytes.
    void skip(int count);

    // Reads characters up to one of the delimiter characters (plain mode) or up to the whole
    // delimiter sequence in any order of its characters (sequence mode), appending them to out
    // (null: discarded). The delimiter is appended when include is set and read past when consume
    // is set. A character that breaks off a started sequence ends the scan and stays unread.
    // Answers foundDelimiter, or reachedEnd, loadFailed or undecodable for what ended the scan.
    int iterateTo(String const& delimiters, String* out, bool consume, bool include, bool sequence);
    int iterateTo(String const& delimiters, String* out, bool consume);
    int iterateTo(char delimiter, String* out, bool consume);
    // A line ending in CR, LF, CR LF or LF CR; the line end is appended when include is set
    // (without it, the CR of CR LF is still part of the text).
    int getLine(String& out, bool include);

    // Tokens end at white space, which stays unread; a token that fails to parse gives 0 and
    // the failure bit. A read in a failed state leaves the target unchanged.
    DataBufferIn& operator>>(double& value);
    DataBufferIn& operator>>(int& value);
    DataBufferIn& operator>>(short& value);
    DataBufferIn& operator>>(unsigned short& value);
    // Passes over everything before the first digit, point or minus sign.
    DataBufferIn& operator>>(unsigned int& value);
    DataBufferIn& operator>>(bool& value);

private:
    // One decoded character in the target encoding.
    struct Char {
        unsigned char length = 0;
        unsigned char lineBreak = 0; // 1 CR, 2 LF
        char bytes[14] = {};
        bool operator==(Char const& other) const;
    };

    void reset(Encoding::Type target);
    void adopt(char const* data, int length);
    bool fillBuffer();
    void refill(int n);
    int decode(Char& c, int& next);
    bool convertInto(Char& c, char const* bytes, int length, Encoding::Type from);
    // A character of the code-page source in the target encoding, converted once per stream and
    // encodings and then taken from the stream's table.
    bool convertCodePage(Char& c, unsigned char const* bytes, int length);
    void consume(Char const& c, int next);
    void trackLine(unsigned char lineBreak);
    int scan(char const* delimiters, unsigned int length, String* out, bool consume, bool include,
             bool sequence);
    int scanTo(char delimiter, String* out, bool consume, bool include);
    void splitDelimiters(char const* delimiters, unsigned int length);
    bool readToken(String& token, bool skipToNumber);
    // The next token read by Parser into value: 0 and the failure bit when it is no number.
    template <typename Parser, typename Value>
    void readNumber(Value& value, bool skipToNumber);

    DataFile* m_source = nullptr;
    char const* m_buffer = nullptr;
    char* m_ownedBuffer = nullptr; // the file buffer, a host pointer block
    int m_position = 0;
    int m_size = 0;
    int m_remaining = 0;
    int m_row = 1;
    int m_column = 0;
    Encoding::Type m_targetEncoding = Encoding::utf8;
    Encoding::Type m_sourceEncoding = Encoding::utf8;
    bool m_afterCR = false;
    bool m_markFound = false;
    unsigned int m_markStart = 0; // file position of a skipped mark
    int m_markLength = 0;
    bool m_bigEndian = false; // byte order of UTF-16 and UTF-32 sources
    std::string m_scanned;
    std::vector<Char> m_delimiters;
    struct ConvertedChars;
    std::unique_ptr<ConvertedChars> m_converted; // made when a code-page character is converted
};

} // namespace zelvane
