// Bytes kept without their longer runs of zeros. The host keeps records of fixed-size fields,
// mostly zeros, for every element (memos, and copies of records and memos for undo); copies share
// what they hold, which never changes.
#pragma once

#include <atomic>
#include <cstddef>

namespace sim {

class PackedBytes {
public:
    PackedBytes() = default;
    PackedBytes(const char* bytes, std::size_t size);
    PackedBytes(const PackedBytes& other) noexcept;
    PackedBytes(PackedBytes&& other) noexcept;
    PackedBytes& operator=(const PackedBytes& other) noexcept;
    PackedBytes& operator=(PackedBytes&& other) noexcept;
    ~PackedBytes();

    // Holds these bytes from now on; what it holds stays (shared with its copies) when they are
    // the bytes it holds already.
    void assign(const char* bytes, std::size_t size);

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Writes the size() bytes.
    void copyTo(char* out) const;

private:
    // Pieces, one after another: a count of bytes, those bytes, a count of zeros (words of zeros
    // from the block's start, and zeros that end it). They follow their header in one block, made
    // once and shared by the copies that hold it.
    struct Pieces {
        explicit Pieces(std::size_t length) : length(length) {}
        std::atomic<std::size_t> holders{1};
        const std::size_t length;
        char* bytes() { return reinterpret_cast<char*>(this + 1); }
        const char* bytes() const { return reinterpret_cast<const char*>(this + 1); }
    };

    std::size_t countAt(std::size_t& at) const;
    static void release(Pieces* pieces) noexcept;

    std::size_t m_size = 0;
    Pieces* m_pieces = nullptr; // null: none
};

} // namespace sim
