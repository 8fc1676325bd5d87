#include "sim/PackedBytes.h"

#include "GSRoot/GSRoot.hpp"

#include <cstring>

namespace sim {

namespace {

bool littleEndian() {
    const UInt64 one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// Where the run of zeros at `at` ends. Four words at a time first: the runs of a record's unused
// fields are long, and the words of a step are read independently of one another.
std::size_t zerosEnd(const char* bytes, std::size_t at, std::size_t size) {
    UInt64 words[4] = {};
    while (at + sizeof words <= size &&
           (std::memcpy(words, bytes + at, sizeof words), (words[0] | words[1] | words[2] | words[3]) == 0)) {
        at += sizeof words;
    }
    UInt64 word = 0;
    while (at + sizeof word <= size && (std::memcpy(&word, bytes + at, sizeof word), word == 0)) {
        at += sizeof word;
    }
    while (at < size && bytes[at] == 0) {
        ++at;
    }
    return at;
}

// Where the first 0 byte at or after `at` is; size when there is none. Eight bytes at a time: of
// the bytes marked in a word, the lowest is always a 0 (the marks above it may be false ones).
std::size_t nextZero(const char* bytes, std::size_t at, std::size_t size) {
    constexpr UInt64 ones = 0x0101010101010101ull;
    constexpr UInt64 high = 0x8080808080808080ull;
    if (littleEndian()) {
        for (; at + sizeof(UInt64) <= size; at += sizeof(UInt64)) {
            UInt64 word = 0;
            std::memcpy(&word, bytes + at, sizeof word);
            if (UInt64 marks = (word - ones) & ~word & high; marks != 0) {
                return at + std::size_t(__builtin_ctzll(marks)) / 8;
            }
        }
    }
    while (at < size && bytes[at] != 0) {
        ++at;
    }
    return at;
}

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

} // namespace

PackedBytes::PackedBytes(const char* bytes, std::size_t size) : m_size(size) {
    // Made here and kept at its size: every stored block passes through.
    static std::vector<char> pieces;
    pieces.clear();
    std::size_t at = 0;
    while (at < size) {
        // The literal bytes end where a long run of zeros, or the zeros that end the block, begin.
        std::size_t end = at;
        std::size_t zeros = size;
        while (end < size) {
            end = nextZero(bytes, end, size);
            if (end == size) {
                zeros = size;
                break;
            }
            zeros = zerosEnd(bytes, end, size);
            if (zeros - end >= shortestRun || zeros == size) {
                break;
            }
            end = zeros;
        }
        appendCount(pieces, end - at);
        pieces.insert(pieces.end(), bytes + at, bytes + end);
        appendCount(pieces, zeros - end);
        at = zeros;
    }
    if (!pieces.empty()) {
        m_pieces = std::make_shared<const std::vector<char>>(pieces.begin(), pieces.end());
    }
}

void PackedBytes::appendCount(std::vector<char>& pieces, std::size_t count) {
    UInt32 value = UInt32(count);
    const char* raw = reinterpret_cast<const char*>(&value);
    pieces.insert(pieces.end(), raw, raw + sizeof value);
}

std::size_t PackedBytes::countAt(std::size_t& at) const {
    UInt32 value = 0;
    std::memcpy(&value, m_pieces->data() + at, sizeof value);
    at += sizeof value;
    return value;
}

void PackedBytes::copyTo(char* out) const {
    if (m_pieces == nullptr) {
        return;
    }
    const std::vector<char>& pieces = *m_pieces;
    std::size_t at = 0;
    while (at < pieces.size()) {
        std::size_t literal = countAt(at);
        std::memcpy(out, pieces.data() + at, literal);
        out += literal;
        at += literal;
        std::size_t zeros = countAt(at);
        std::memset(out, 0, zeros);
        out += zeros;
    }
}

bool PackedBytes::equals(const char* bytes, std::size_t size) const {
    if (size != m_size) {
        return false;
    }
    if (m_pieces == nullptr) {
        return true;
    }
    const std::vector<char>& pieces = *m_pieces;
    std::size_t at = 0;
    while (at < pieces.size()) {
        std::size_t literal = countAt(at);
        if (std::memcmp(bytes, pieces.data() + at, literal) != 0) {
            return false;
        }
        bytes += literal;
        at += literal;
        std::size_t zeros = countAt(at);
        if (!allZeros(bytes, zeros)) {
            return false;
        }
        bytes += zeros;
    }
    return true;
}

} // namespace sim
