#include "sim/PackedBytes.h"

#include "GSRoot/GSRoot.hpp"

#include <cstring>
#include <new>
#include <vector>

namespace sim {

namespace {

bool allZeros(const char* bytes, std::size_t size) {
    UInt64 any = 0;
    std::size_t at = 0;
    for (; at + sizeof(UInt64) <= size; at += sizeof(UInt64)) {
        UInt64 word = 0;
        std::memcpy(&word, bytes + at, sizeof word);
        any |= word;
    }
    for (; at < size; ++at) {
        any |= UInt64(static_cast<unsigned char>(bytes[at]));
    }
    return any == 0;
}

UInt64 wordAt(const char* bytes, std::size_t at) {
    UInt64 word = 0;
    std::memcpy(&word, bytes + at, sizeof word);
    return word;
}

void putCount(char*& out, std::size_t count) {
    UInt32 value = UInt32(count);
    std::memcpy(out, &value, sizeof value);
    out += sizeof value;
}

// The pieces of the bytes, written at `out` (room for twice their size and a piece more); where
// they end. The bytes are taken eight at a time from their start: a word of zeros begins or
// continues a run that is left out, any other word is kept as it is, and so are the last bytes
// (fewer than eight) unless they are all zeros.
char* pack(const char* bytes, std::size_t size, char* out) {
    constexpr std::size_t word = sizeof(UInt64);
    const std::size_t words = size - size % word;
    std::size_t at = 0;
    while (at < size) {
        std::size_t end = at;
        while (end < words && wordAt(bytes, end) != 0) {
            end += word;
        }
        if (end == words && !allZeros(bytes + end, size - end)) {
            end = size;
        }
        // Four words a step first: the runs of a record's unused fields are long, and the words of
        // a step are read independently of one another.
        std::size_t zeros = end;
        while (zeros + 4 * word <= words &&
               (wordAt(bytes, zeros) | wordAt(bytes, zeros + word) | wordAt(bytes, zeros + 2 * word) |
                wordAt(bytes, zeros + 3 * word)) == 0) {
            zeros += 4 * word;
        }
        while (zeros < words && wordAt(bytes, zeros) == 0) {
            zeros += word;
        }
        if (zeros == words && allZeros(bytes + words, size - words)) {
            zeros = size; // the last bytes are zeros, or were taken as literal ones above
        }
        putCount(out, end - at);
        std::memcpy(out, bytes + at, end - at);
        out += end - at;
        putCount(out, zeros - end);
        at = zeros;
    }
    return out;
}

// Made here and kept at its size: every stored block passes through.
std::vector<char>& scratch(std::size_t size) {
    static std::vector<char> pieces;
    if (pieces.size() < 2 * size + 16) {
        pieces.resize(2 * size + 16);
    }
    return pieces;
}

} // namespace

PackedBytes::PackedBytes(const char* bytes, std::size_t size) {
    assign(bytes, size);
}

PackedBytes::PackedBytes(const PackedBytes& other) noexcept : m_size(other.m_size), m_pieces(other.m_pieces) {
    if (m_pieces != nullptr) {
        m_pieces->holders.fetch_add(1, std::memory_order_relaxed);
    }
}

PackedBytes::PackedBytes(PackedBytes&& other) noexcept : m_size(other.m_size), m_pieces(other.m_pieces) {
    other.m_size = 0;
    other.m_pieces = nullptr;
}

PackedBytes& PackedBytes::operator=(const PackedBytes& other) noexcept {
    if (other.m_pieces != nullptr) {
        other.m_pieces->holders.fetch_add(1, std::memory_order_relaxed);
    }
    release(m_pieces);
    m_size = other.m_size;
    m_pieces = other.m_pieces;
    return *this;
}

PackedBytes& PackedBytes::operator=(PackedBytes&& other) noexcept {
    if (this != &other) {
        release(m_pieces);
        m_size = other.m_size;
        m_pieces = other.m_pieces;
        other.m_size = 0;
        other.m_pieces = nullptr;
    }
    return *this;
}

PackedBytes::~PackedBytes() {
    release(m_pieces);
}

void PackedBytes::release(Pieces* pieces) noexcept {
    if (pieces != nullptr && pieces->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        pieces->~Pieces();
        ::operator delete(pieces);
    }
}

void PackedBytes::assign(const char* bytes, std::size_t size) {
    std::vector<char>& buffer = scratch(size);
    const std::size_t length = std::size_t(pack(bytes, size, buffer.data()) - buffer.data());
    // The same bytes pack to the same pieces.
    if (size == m_size &&
        (m_pieces == nullptr
             ? length == 0
             : m_pieces->length == length && std::memcmp(m_pieces->bytes(), buffer.data(), length) == 0)) {
        return;
    }
    Pieces* made = nullptr;
    if (length != 0) {
        made = new (::operator new(sizeof(Pieces) + length)) Pieces(length);
        std::memcpy(made->bytes(), buffer.data(), length);
    }
    release(m_pieces);
    m_size = size;
    m_pieces = made;
}

std::size_t PackedBytes::countAt(std::size_t& at) const {
    UInt32 value = 0;
    std::memcpy(&value, m_pieces->bytes() + at, sizeof value);
    at += sizeof value;
    return value;
}

void PackedBytes::copyTo(char* out) const {
    if (m_pieces == nullptr) {
        return;
    }
    const char* pieces = m_pieces->bytes();
    std::size_t at = 0;
    while (at < m_pieces->length) {
        std::size_t literal = countAt(at);
        std::memcpy(out, pieces + at, literal);
        out += literal;
        at += literal;
        std::size_t zeros = countAt(at);
        std::memset(out, 0, zeros);
        out += zeros;
    }
}

} // namespace sim
