#include "Environment/DataBufferIn.h"

#include "Environment/DataFile.h"
#include "Environment/Memory.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "Environment/ToString.h"

#include "GSRoot/CharCount.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_map>

namespace zelvane {

namespace {

// The decoder keeps this many bytes ahead of it, the longest character of any source encoding.
constexpr int lookAhead = 6;

constexpr char whiteSpace[] = " \t\r\n";
constexpr char numberStart[] = "0123456789.-";

Encoding::Type normalised(Encoding::Type type) {
    return Encoding::normalise(type);
}

int encodeUTF8(UInt32 cp, char* out) {
    if (cp < 0x80) {
        out[0] = char(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = char(0xC0 | (cp >> 6));
        out[1] = char(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = char(0xE0 | (cp >> 12));
        out[1] = char(0x80 | ((cp >> 6) & 0x3F));
        out[2] = char(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (cp >> 18));
    out[1] = char(0x80 | ((cp >> 12) & 0x3F));
    out[2] = char(0x80 | ((cp >> 6) & 0x3F));
    out[3] = char(0x80 | (cp & 0x3F));
    return 4;
}

UInt32 readUnit(unsigned char const* p, int width, bool bigEndian) {
    UInt32 value = 0;
    for (int i = 0; i < width; ++i) {
        value = (value << 8) | p[bigEndian ? i : width - 1 - i];
    }
    return value;
}

unsigned char lineBreakOf(UInt32 cp) {
    return cp == '\r' ? 1 : cp == '\n' ? 2 : 0;
}

} // namespace

bool DataBufferIn::Char::operator==(Char const& other) const {
    return length == other.length && std::memcmp(bytes, other.bytes, length) == 0;
}

DataBufferIn::DataBufferIn() = default;

DataBufferIn::DataBufferIn(DataFile const* file, Encoding::Type target) {
    setSource(file, target);
}

DataBufferIn::DataBufferIn(char* block, Encoding::Type target) {
    setSource(block, target);
}

DataBufferIn::DataBufferIn(void const* data, int length, Encoding::Type target) {
    setSource(data, length, target);
}

DataBufferIn::DataBufferIn(MemoryBlock const& block, Encoding::Type target) {
    setSource(block, target);
}

DataBufferIn::DataBufferIn(String const& text, Encoding::Type target) {
    setSource(text, target);
}

DataBufferIn::~DataBufferIn() {
    disposePtr(&m_ownedBuffer);
}

void DataBufferIn::reset(Encoding::Type target) {
    disposePtr(&m_ownedBuffer);
    m_source = nullptr;
    m_buffer = nullptr;
    m_targetEncoding = normalised(target);
    m_sourceEncoding = Encoding::utf8;
    m_state = 0;
    m_position = 0;
    m_size = 0;
    m_remaining = 0;
    m_row = 1;
    m_column = 0;
    m_afterCR = false;
    m_bigEndian = false;
    m_markFound = false;
    m_markStart = 0;
    m_markLength = 0;
}

bool DataBufferIn::readMarkAsData() {
    if (m_markLength == 0) {
        return true;
    }
    // Only before the first load: afterwards the bytes after the mark are already in the buffer.
    if (m_source == nullptr || m_size != 0 || m_state != 0) {
        return false;
    }
    // A file that cannot be placed back or measured would be read from past the mark, or not at
    // all: the stream fails rather than give the data without its first bytes.
    long long size = m_source->setPosition(m_markStart) ? (long long)(m_source->getSize()) : 0;
    if (m_source->getLastError() != NoError) {
        addState(failure);
        m_remaining = 0;
        return false;
    }
    long long remaining = size - (long long)(m_markStart);
    int grown = int(std::clamp(remaining, 0LL, (long long)(INT_MAX)));
    char* buffer = allocatePtr(std::min(grown, bufferSize));
    disposePtr(&m_ownedBuffer);
    m_ownedBuffer = buffer;
    m_buffer = m_ownedBuffer;
    m_remaining = grown;
    m_markLength = 0;
    m_markFound = false;
    m_sourceEncoding = Encoding::utf8;
    m_bigEndian = false;
    return true;
}

void DataBufferIn::setSourceEncoding(Encoding::Type type) {
    // A flagged type names big-endian units; a plain one keeps the order a mark gave.
    if ((type & Encoding::bigEndianFlag) != 0) {
        m_bigEndian = true;
    }
    m_sourceEncoding = normalised(type & ~Encoding::bigEndianFlag);
}

void DataBufferIn::setTargetEncoding(Encoding::Type type) {
    m_targetEncoding = normalised(type);
}

void DataBufferIn::adopt(char const* data, int length) {
    if (data != nullptr && length > 0) {
        m_buffer = data;
        m_size = length;
    }
}

void DataBufferIn::setSource(DataFile const* file, Encoding::Type target) {
    reset(target);
    if (file == nullptr) {
        return;
    }
    // Reading moves the file's position: the stream works on the file, not on a copy.
    m_source = const_cast<DataFile*>(file);
    unsigned int start = m_source->getPosition();
    Encoding::Type detected = normalised(m_source->getEncoding(true));
    // A seek, length or read that failed while the mark was looked for leaves where the text
    // starts in doubt (a moved position would pass for a mark): the stream holds nothing.
    if (m_source->getLastError() != NoError) {
        addState(failure);
        return;
    }
    unsigned int after = m_source->getPosition();
    m_markStart = start;
    m_markLength = after > start ? int(after - start) : 0;
    m_markFound = after != start || (detected & ~Encoding::bigEndianFlag) != Encoding::utf8;
    // The mark's byte order rides on the encoding as a flag.
    m_bigEndian = (detected & Encoding::bigEndianFlag) != 0;
    m_sourceEncoding = detected & ~Encoding::bigEndianFlag;
    long long size = m_source->getSize();
    // A length that could not be read would end the text at once.
    if (m_source->getLastError() != NoError) {
        addState(failure);
        return;
    }
    long long remaining = size - (long long)(m_source->getPosition());
    m_remaining = int(std::clamp(remaining, 0LL, (long long)(INT_MAX)));
    m_ownedBuffer = allocatePtr(std::min(m_remaining, bufferSize));
    m_buffer = m_ownedBuffer;
}

void DataBufferIn::setSource(char* block, Encoding::Type target) {
    reset(target);
    adopt(block, getPtrSize(block));
}

void DataBufferIn::setSource(void const* data, int length, Encoding::Type target) {
    reset(target);
    adopt(static_cast<char const*>(data), length);
}

void DataBufferIn::setSource(MemoryBlock const& block, Encoding::Type target) {
    reset(target);
    if (block.getHandle() != nullptr) {
        adopt(*block.getHandle(), block.size());
    }
}

void DataBufferIn::setSource(String const& text, Encoding::Type target) {
    reset(target);
    adopt(text.data(), int(text.dataLength()));
}

int DataBufferIn::getCapacity() const {
    return m_size >= bufferSize ? m_size : bufferSize;
}

int DataBufferIn::getLastError() const {
    return m_source != nullptr ? m_source->getLastError() : memError();
}

int DataBufferIn::getRowPosition() const {
    return m_row;
}

int DataBufferIn::getColPosition() const {
    return m_column;
}

bool DataBufferIn::fillBuffer() {
    if (m_remaining == 0) {
        if (m_position >= m_size) {
            addState(endOfData);
        }
        return true;
    }
    if (m_source == nullptr || m_ownedBuffer == nullptr) {
        addState(endOfData);
        return false;
    }
    int tail = std::max(m_size - m_position, 0);
    if (tail > 0 && m_position > 0) {
        std::memmove(m_ownedBuffer, m_ownedBuffer + m_position, std::size_t(tail));
    }
    int count = std::min(m_remaining, getPtrSize(m_ownedBuffer) - tail);
    if (count > 0) {
        unsigned int length = unsigned(count);
        char* target = m_ownedBuffer + tail;
        if (!m_source->read(target, length)) {
            addState(failure);
            m_remaining = 0;
            m_position = 0;
            m_size = tail;
            return false;
        }
        // A file that ends early (it shrank since it was measured) ends the data there.
        count = int(std::min(length, unsigned(count)));
        m_remaining = count == 0 ? 0 : m_remaining - count;
    } else {
        count = 0;
    }
    m_position = 0;
    m_size = tail + count;
    return true;
}

void DataBufferIn::refill(int n) {
    if (m_state == 0 && (n == 0 || m_size <= m_position + n)) {
        fillBuffer();
    }
}

// The conversions of code-page characters a stream has made, for the encodings they were made
// between: code pages are stateless, so a character always converts the same, and converting
// each character anew costs a host conversion, a String and its buffers.
struct DataBufferIn::ConvertedChars {
    Encoding::Type source = 0;
    Encoding::Type target = 0;
    signed char singleState[256] = {}; // 0 not converted yet, 1 converted, -1 undecodable
    Char single[256];
    std::unordered_map<unsigned int, Char> pairs; // by the two bytes; length 0 for undecodable
};

bool DataBufferIn::convertCodePage(Char& c, unsigned char const* bytes, int length) {
    if (length > 2) {
        return convertInto(c, reinterpret_cast<char const*>(bytes), length, m_sourceEncoding);
    }
    if (m_converted == nullptr || m_converted->source != m_sourceEncoding ||
        m_converted->target != m_targetEncoding) {
        m_converted = std::make_unique<ConvertedChars>();
        m_converted->source = m_sourceEncoding;
        m_converted->target = m_targetEncoding;
    }
    Char converted;
    if (length == 1) {
        signed char& state = m_converted->singleState[bytes[0]];
        if (state == 0) {
            state = convertInto(m_converted->single[bytes[0]], reinterpret_cast<char const*>(bytes), 1,
                                m_sourceEncoding)
                        ? 1
                        : -1;
        }
        if (state < 0) {
            return false;
        }
        converted = m_converted->single[bytes[0]];
    } else {
        unsigned int key = (unsigned int)(bytes[0]) << 8 | bytes[1];
        auto found = m_converted->pairs.find(key);
        if (found == m_converted->pairs.end()) {
            Char made;
            if (!convertInto(made, reinterpret_cast<char const*>(bytes), 2, m_sourceEncoding)) {
                made.length = 0;
            }
            found = m_converted->pairs.emplace(key, made).first;
        }
        if (found->second.length == 0) {
            return false;
        }
        converted = found->second;
    }
    std::memcpy(c.bytes, converted.bytes, converted.length);
    c.length = converted.length;
    return true;
}

bool DataBufferIn::convertInto(Char& c, char const* bytes, int length, Encoding::Type from) {
    String converted = Encoding(m_targetEncoding).convertString(bytes, unsigned(length), from);
    unsigned int size = converted.dataLength();
    if (size == 0 || size > sizeof(c.bytes)) {
        return false;
    }
    std::memcpy(c.bytes, converted.data(), size);
    c.length = static_cast<unsigned char>(size);
    return true;
}

int DataBufferIn::decode(Char& c, int& next) {
    c.length = 0;
    c.lineBreak = 0;
    if (m_size - m_position < lookAhead && !fillBuffer()) {
        return loadFailed;
    }
    int q = m_position;
    if (q >= m_size) {
        return reachedEnd;
    }
    auto const* p = reinterpret_cast<unsigned char const*>(m_buffer + q);
    int available = m_size - q;
    UInt32 source = UInt32(m_sourceEncoding);
    bool toUTF8 = UInt32(m_targetEncoding) == CharCodeUTF8;
    // Fewer bytes left than the character needs count as undecodable: nothing is read.
    int count = CHGetCharByteCount(m_buffer + q, available, source, m_bigEndian);
    if (count <= 0 || count > available) {
        return undecodable;
    }
    if (source == CharCodeUTF8) {
        c.lineBreak = count == 1 ? lineBreakOf(p[0]) : 0;
        if (toUTF8) {
            std::memcpy(c.bytes, p, std::size_t(count));
            c.length = static_cast<unsigned char>(count);
        } else if (!convertInto(c, m_buffer + q, count, Encoding::utf8)) {
            return undecodable;
        }
    } else if (source == CharCodeUTF16 || source == CharCodeUTF32) {
        UInt32 cp = 0;
        if (source == CharCodeUTF32) {
            cp = readUnit(p, 4, m_bigEndian);
        } else {
            cp = readUnit(p, 2, m_bigEndian);
            if (count == 4) {
                UInt32 trail = readUnit(p + 2, 2, m_bigEndian);
                cp = 0x10000 + ((cp - 0xD800) << 10) + (trail - 0xDC00);
            }
        }
        c.lineBreak = lineBreakOf(cp);
        char utf8[4];
        int length = encodeUTF8(cp, utf8);
        if (toUTF8) {
            std::memcpy(c.bytes, utf8, std::size_t(length));
            c.length = static_cast<unsigned char>(length);
        } else if (!convertInto(c, utf8, length, Encoding::utf8)) {
            return undecodable;
        }
    } else {
        // Code pages keep ASCII as it is.
        c.lineBreak = count == 1 ? lineBreakOf(p[0]) : 0;
        if (UInt32(m_targetEncoding) == source || (toUTF8 && count == 1 && p[0] < 0x80)) {
            std::memcpy(c.bytes, p, std::size_t(count));
            c.length = static_cast<unsigned char>(count);
        } else if (!convertCodePage(c, p, count)) {
            return undecodable;
        }
    }
    next = q + count;
    return 0;
}

void DataBufferIn::trackLine(unsigned char lineBreak) {
    if (lineBreak == 1) {
        ++m_row;
        m_column = 0;
        m_afterCR = true;
        return;
    }
    if (lineBreak == 2) {
        if (!m_afterCR) {
            ++m_row;
        }
        m_column = 0;
    }
    m_afterCR = false;
}

void DataBufferIn::consume(Char const& c, int next) {
    m_position = next;
    ++m_column;
    trackLine(c.lineBreak);
}

DataBufferIn& DataBufferIn::get(char& c) {
    refill(1);
    if (m_state != 0) {
        return *this;
    }
    if (m_position >= m_size) {
        addState(endOfData);
        return *this;
    }
    c = m_buffer[m_position++];
    return *this;
}

void DataBufferIn::getString(String& out, unsigned int count, bool) {
    m_scanned.clear();
    for (unsigned int i = 0; i < count; ++i) {
        Char c;
        int next = 0;
        if (decode(c, next) != 0) {
            break;
        }
        m_position = next;
        trackLine(c.lineBreak);
        m_scanned.append(c.bytes, c.length);
    }
    out.append(m_scanned.data(), unsigned(m_scanned.size()));
}

void DataBufferIn::skip(int count) {
    if (count < 1 || m_state != 0) {
        return;
    }
    while (count > 0) {
        int available = m_size - m_position;
        if (available <= 0) {
            if (!fillBuffer() || m_state != 0) {
                return;
            }
            continue;
        }
        int step = std::min(available, count);
        m_position += step;
        count -= step;
    }
}

void DataBufferIn::splitDelimiters(char const* delimiters, unsigned int length) {
    if (length == 1 && static_cast<unsigned char>(delimiters[0]) < 128) {
        // A one-byte delimiter overwrites the set in place.
        m_delimiters.resize(1);
        m_delimiters[0].length = 1;
        m_delimiters[0].bytes[0] = delimiters[0];
        return;
    }
    m_delimiters.clear();
    unsigned int i = 0;
    while (i < length) {
        Int32 count = CHGetCharByteCount(delimiters + i, GSSize(length - i), CharCodeUTF8);
        if (count <= 0) {
            count = 1; // a stray byte stands for itself
        }
        Char c;
        c.length = static_cast<unsigned char>(count);
        std::memcpy(c.bytes, delimiters + i, std::size_t(count));
        m_delimiters.push_back(c);
        i += unsigned(count);
    }
}

namespace {

// Bytes a single-delimiter scan of UTF-8 cannot pass over unseen: line breaks and the bytes of
// longer characters.
struct SpecialBytes {
    bool table[256] = {};
    constexpr SpecialBytes() {
        table[static_cast<unsigned char>('\r')] = true;
        table[static_cast<unsigned char>('\n')] = true;
        for (int b = 0x80; b < 256; ++b) {
            table[b] = true;
        }
    }
};
constexpr SpecialBytes specialBytes;

} // namespace

// A plain scan to one ASCII delimiter from UTF-8 to UTF-8. Every character read is copied as it
// is, so the text is taken from the buffer in one piece unless a refill moves it.
int DataBufferIn::scanTo(char delimiter, String* out, bool consumeEnd, bool include) {
    m_scanned.clear();
    bool keep = out != nullptr;
    auto d = static_cast<unsigned char>(delimiter);
    int start = m_position; // bytes from start to m_position are read and not yet kept
    int result = 0;
    for (;;) {
        int end = m_size - lookAhead;
        int run = m_position;
        while (run < end) {
            auto b = static_cast<unsigned char>(m_buffer[run]);
            if (b == d || specialBytes.table[b]) {
                break;
            }
            ++run;
        }
        if (run > m_position) {
            m_column += run - m_position;
            m_afterCR = false;
            m_position = run;
        }
        if (run < end) {
            auto b = static_cast<unsigned char>(m_buffer[run]);
            if (b == d) {
                result = foundDelimiter;
                break;
            }
            if (b < 0x80) {
                // A line break.
                ++m_position;
                ++m_column;
                trackLine(lineBreakOf(b));
                continue;
            }
        }
        // A longer character, or the last bytes of the buffer: decoded, which may refill.
        bool nearEnd = m_size - m_position < lookAhead;
        if (nearEnd && keep) {
            m_scanned.append(m_buffer + start, std::size_t(m_position - start));
        }
        Char c;
        int next = 0;
        result = decode(c, next);
        if (nearEnd) {
            start = m_position;
        }
        if (result != 0) {
            break;
        }
        if (c.length == 1 && static_cast<unsigned char>(c.bytes[0]) == d) {
            result = foundDelimiter;
            break;
        }
        consume(c, next);
    }
    if (keep) {
        bool withDelimiter = include && result == foundDelimiter;
        if (m_scanned.empty() && !withDelimiter) {
            if (m_position > start) {
                out->append(m_buffer + start, unsigned(m_position - start));
            }
        } else {
            m_scanned.append(m_buffer + start, std::size_t(m_position - start));
            if (withDelimiter) {
                m_scanned.push_back(delimiter);
            }
            out->append(m_scanned.data(), unsigned(m_scanned.size()));
        }
    }
    if (result == foundDelimiter && consumeEnd) {
        ++m_position;
        ++m_column;
        trackLine(lineBreakOf(d));
    }
    return result;
}

int DataBufferIn::scan(char const* delimiters, unsigned int length, String* out, bool consumeEnd,
                       bool include, bool sequence) {
    if (!sequence && length == 1 && static_cast<unsigned char>(delimiters[0]) < 0x80 &&
        UInt32(m_sourceEncoding) == CharCodeUTF8 && UInt32(m_targetEncoding) == CharCodeUTF8) {
        return scanTo(delimiters[0], out, consumeEnd, include);
    }
    splitDelimiters(delimiters, length);
    m_scanned.clear();
    if (sequence) {
        // The delimiter read from its last character to its first.
        std::reverse(m_delimiters.begin(), m_delimiters.end());
    }
    // ASCII characters that are not delimiters are taken straight from the buffer when the target
    // is UTF-8 and the source keeps ASCII as it is (UTF-8 and the code pages, whose characters
    // below 0x80 are single bytes): the common case, kept to a few operations a byte. A run starts
    // on a character's first byte and ends before any byte of 0x80 and above, so it never takes a
    // trail byte of a double-byte character for a character of its own.
    UInt32 source = UInt32(m_sourceEncoding);
    bool direct =
        UInt32(m_targetEncoding) == CharCodeUTF8 && source != CharCodeUTF16 && source != CharCodeUTF32;
    bool stop[128] = {};
    for (Char const& d : m_delimiters) {
        if (d.length == 1 && static_cast<unsigned char>(d.bytes[0]) < 128) {
            stop[static_cast<unsigned char>(d.bytes[0])] = true;
        }
    }
    bool keep = out != nullptr;
    bool started = false;
    int result = 0;
    for (;;) {
        if (direct && !started && m_size - m_position >= lookAhead) {
            // A run of ASCII characters that are not delimiters, in one pass.
            int end = m_size - lookAhead;
            int run = m_position;
            int column = m_column;
            int row = m_row;
            bool afterCR = m_afterCR;
            for (; run < end; ++run) {
                auto b = static_cast<unsigned char>(m_buffer[run]);
                if (b >= 128 || stop[b]) {
                    break;
                }
                if (b == '\r') {
                    ++row;
                    column = 0;
                    afterCR = true;
                } else if (b == '\n') {
                    row += afterCR ? 0 : 1;
                    column = 0;
                    afterCR = false;
                } else {
                    ++column;
                    afterCR = false;
                }
            }
            if (run > m_position) {
                if (keep) {
                    m_scanned.append(m_buffer + m_position, std::size_t(run - m_position));
                }
                m_position = run;
                m_column = column;
                m_row = row;
                m_afterCR = afterCR;
                continue;
            }
            auto b = static_cast<unsigned char>(m_buffer[m_position]);
            if (b < 128 && stop[b] && !sequence) {
                // An ASCII delimiter ends a plain scan without being decoded.
                if (include && keep) {
                    m_scanned.push_back(char(b));
                }
                if (consumeEnd) {
                    ++m_position;
                    ++m_column;
                    trackLine(lineBreakOf(b));
                }
                result = foundDelimiter;
                break;
            }
            if (b < 128 && !stop[b]) {
                if (keep) {
                    m_scanned.push_back(char(b));
                }
                ++m_position;
                ++m_column;
                trackLine(lineBreakOf(b));
                continue;
            }
        }
        Char c;
        int next = 0;
        result = decode(c, next);
        if (result != 0) {
            break;
        }
        // Whether c completes the delimiter.
        bool found = false;
        if (!sequence) {
            found = std::find(m_delimiters.begin(), m_delimiters.end(), c) != m_delimiters.end();
        } else {
            auto match = started ? (c == m_delimiters.front() ? m_delimiters.begin() : m_delimiters.end())
                                 : std::find(m_delimiters.begin(), m_delimiters.end(), c);
            if (match == m_delimiters.end() && started) {
                // A started sequence broken off (a lone CR or LF for getLine): the character that
                // broke it belongs to what follows and stays unread.
                result = foundDelimiter;
                break;
            }
            if (match != m_delimiters.end()) {
                started = true;
                m_delimiters.erase(match);
                found = m_delimiters.empty();
            }
        }
        if (found) {
            if (include && keep) {
                m_scanned.append(c.bytes, c.length);
            }
            if (consumeEnd) {
                consume(c, next);
            }
            result = foundDelimiter;
            break;
        }
        if (keep) {
            m_scanned.append(c.bytes, c.length);
        }
        consume(c, next);
    }
    if (keep && !m_scanned.empty()) {
        out->append(m_scanned.data(), unsigned(m_scanned.size()));
    }
    return result;
}

int DataBufferIn::iterateTo(String const& delimiters, String* out, bool consume, bool include,
                            bool sequence) {
    return scan(delimiters.data(), delimiters.dataLength(), out, consume, include, sequence);
}

int DataBufferIn::iterateTo(String const& delimiters, String* out, bool consume) {
    return scan(delimiters.data(), delimiters.dataLength(), out, consume, false, false);
}

int DataBufferIn::iterateTo(char delimiter, String* out, bool consume) {
    return scan(&delimiter, 1, out, consume, false, false);
}

int DataBufferIn::getLine(String& out, bool include) {
    return scan("\r\n", 2, &out, true, include, true);
}

bool DataBufferIn::readToken(String& token, bool skipToNumber) {
    if (skipToNumber) {
        scan(numberStart, sizeof(numberStart) - 1, nullptr, false, false, false);
    }
    scan(whiteSpace, sizeof(whiteSpace) - 1, &token, false, false, false);
    return (m_state & failMask) == 0;
}

template <typename Parser, typename Value>
void DataBufferIn::readNumber(Value& value, bool skipToNumber) {
    String token;
    if (readToken(token, skipToNumber)) {
        Parser parsed(token);
        value = static_cast<Value>(parsed.isValid() ? parsed.getValue() : 0);
        if (!parsed.isValid()) {
            addState(failure);
        }
    }
}

DataBufferIn& DataBufferIn::operator>>(double& value) {
    readNumber<ToDouble>(value, false);
    return *this;
}

DataBufferIn& DataBufferIn::operator>>(int& value) {
    readNumber<ToInt32>(value, false);
    return *this;
}

DataBufferIn& DataBufferIn::operator>>(short& value) {
    readNumber<ToInt32>(value, false);
    return *this;
}

DataBufferIn& DataBufferIn::operator>>(unsigned short& value) {
    readNumber<ToInt32>(value, false);
    return *this;
}

DataBufferIn& DataBufferIn::operator>>(unsigned int& value) {
    readNumber<ToUInt32>(value, true);
    return *this;
}

DataBufferIn& DataBufferIn::operator>>(bool& value) {
    String token;
    if (readToken(token, false)) {
        value = false;
        bool words = (m_flags & booleanText) != 0;
        if (token == (words ? "true" : "1")) {
            value = true;
        } else if (token != (words ? "false" : "0")) {
            addState(failure);
        }
    }
    return *this;
}

} // namespace zelvane
