#include "Environment/MemoryBlock.h"

#include "Environment/Memory.h"

namespace zelvane {

namespace {

// A copy of the handle, or null when it is missing or empty.
char** copyOf(char** handle) {
    return getHandleSize(handle) > 0 ? cloneHandle(handle) : nullptr;
}

} // namespace

MemoryBlock::MemoryBlock(int size) {
    if (size > 0) {
        m_handle = allocateHandle(size);
    }
}

MemoryBlock::MemoryBlock(void const* data, int size) {
    if (data != nullptr && size > 0) {
        m_handle = allocateHandle(size);
        copyMemory(*m_handle, data, size);
    }
}

MemoryBlock::MemoryBlock(char** handle) : m_handle(handle) {}

MemoryBlock::MemoryBlock(MemoryBlock const& other) : m_handle(copyOf(other.m_handle)) {}

MemoryBlock::~MemoryBlock() {
    dispose();
}

MemoryBlock* MemoryBlock::clone() const {
    return new MemoryBlock(*this);
}

MemoryBlock& MemoryBlock::operator=(MemoryBlock const& other) {
    if (this != &other) {
        char** copy = copyOf(other.m_handle); // before freeing ours, so a failure loses nothing
        dispose();
        m_handle = copy;
    }
    return *this;
}

MemoryBlock& MemoryBlock::operator=(char** const& handle) {
    reset(handle);
    return *this;
}

void MemoryBlock::reset(char** handle) {
    if (handle == m_handle) {
        return; // freeing it would leave us holding a dead handle
    }
    dispose();
    m_handle = handle;
}

char** MemoryBlock::release() {
    char** handle = m_handle;
    m_handle = nullptr;
    return handle;
}

void MemoryBlock::resize(int size) {
    reallocHandle(m_handle, size);
}

void MemoryBlock::append(void const* data, int size) {
    if (data == nullptr || size < 1) {
        return;
    }
    int oldSize = this->size();
    char const* bytes = static_cast<char const*>(data);
    char const* start = m_handle != nullptr ? *m_handle : nullptr;
    // The handle's block may move when it grows: remember where inside it the data lay.
    bool inside = start != nullptr && bytes >= start && bytes < start + oldSize;
    long offset = inside ? long(bytes - start) : 0;
    reallocHandle(m_handle, oldSize + size);
    copyMemory(*m_handle + oldSize, inside ? *m_handle + offset : bytes, size);
}

int MemoryBlock::size() const {
    return getHandleSize(m_handle);
}

void MemoryBlock::dispose() {
    disposeHandle(&m_handle);
}

} // namespace zelvane
