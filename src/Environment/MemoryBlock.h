// An owned, resizable block of bytes in one host memory handle.
#pragma once

namespace zelvane {

class MemoryBlock {
public:
    // An empty block: no handle, size 0.
    MemoryBlock() = default;
    // A new handle of `size` bytes; empty when size is below 1.
    explicit MemoryBlock(int size);
    // A copy of the bytes; empty when data is null or size is below 1.
    MemoryBlock(void const* data, int size);
    // Adopts the handle: the block frees it.
    explicit MemoryBlock(char** handle);
    MemoryBlock(MemoryBlock const& other);
    virtual ~MemoryBlock();

    virtual MemoryBlock* clone() const;

    MemoryBlock& operator=(MemoryBlock const& other);
    // Frees the block's handle and takes ownership of `handle`; nothing when it is already ours.
    MemoryBlock& operator=(char** const& handle);

    void reset(char** handle);
    // Hands the handle over to the caller and leaves the block empty.
    char** release();
    void resize(int size);
    // Grows the block by `size` bytes holding a copy of `data` (which may lie inside the block).
    void append(void const* data, int size);

    int size() const;
    char** getHandle() const { return m_handle; }

private:
    void dispose();

    char** m_handle = nullptr;
};

} // namespace zelvane
