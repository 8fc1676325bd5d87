// Bytes kept without their longer runs of zeros. The host keeps records of fixed-size fields,
// mostly zeros, for every element (memos, and copies of records and memos for undo); copies share
// what they hold, which never changes.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace sim {

class PackedBytes {
public:
    PackedBytes() = default;
    PackedBytes(const char* bytes, std::size_t size);

    // Holds these bytes from now on; what it holds stays (shared with its copies) when they are
    // the bytes it holds already.
    void assign(const char* bytes, std::size_t size);

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Writes the size() bytes.
    void copyTo(char* out) const;

private:
    std::size_t countAt(std::size_t& at) const;

    std::size_t m_size = 0;
    // Pieces, one after another: a count of bytes, those bytes, a count of zeros (words of zeros
    // from the block's start, and zeros that end it). Null: none.
    std::shared_ptr<const std::vector<char>> m_pieces;
};

} // namespace sim
