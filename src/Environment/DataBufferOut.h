// Buffered output stream: collects bytes in a fixed buffer and flushes them to one destination, a
// data file, a memory block, a String or a growing host pointer block. Bytes are written as
// given; String text is UTF-8.
#pragma once

#include "Environment/StreamBase.h"

#include <cstring>

namespace zelvane {

class DataFile;
class MemoryBlock;
class String;

class DataBufferOut : public virtual StreamBase {
public:
    static constexpr int bufferSize = 61440;

    // No destination: bytes written are discarded at each flush.
    DataBufferOut();
    // Output is appended at the end of the file.
    explicit DataBufferOut(DataFile* file);
    explicit DataBufferOut(MemoryBlock* block);
    explicit DataBufferOut(String* text);
    // `handle` is the caller's pointer variable holding a host pointer block (or null); the
    // stream replaces the block with a larger one when it must grow.
    explicit DataBufferOut(char** handle);
    DataBufferOut(DataBufferOut const&) = delete;
    DataBufferOut& operator=(DataBufferOut const&) = delete;
    // Flushes what is pending.
    ~DataBufferOut() override;

    // Flushes what is pending to the old destination, then binds the given destinations (one of
    // them is expected to be set) with the state cleared.
    void initialise(MemoryBlock* block, DataFile* file, String* text, char** handle, bool allocate);
    void setDestination(DataFile* file);
    void setDestination(MemoryBlock* block);
    void setDestination(String* text);
    void setDestination(char** handle);

    void write(void const* data, int length) {
        // Bytes that fit go straight into the buffer: the common case, kept inline.
        if (length > 0 && length <= bufferSize - m_used && m_state == 0 && data != nullptr) {
            std::memcpy(m_buffer + m_used, data, static_cast<std::size_t>(length));
            m_used += length;
            return;
        }
        writeThrough(data, length);
    }
    void write(String const& text);
    void put(char c) {
        if (m_used < bufferSize && m_state == 0) {
            m_buffer[m_used++] = c;
            return;
        }
        putThrough(c);
    }
    DataBufferOut& operator<<(char const* text);
    DataBufferOut& operator<<(String const& text);
    DataBufferOut& operator<<(double value);
    DataBufferOut& operator<<(int value);
    DataBufferOut& operator<<(unsigned int value);
    DataBufferOut& operator<<(short value);
    DataBufferOut& operator<<(unsigned short value);
    DataBufferOut& operator<<(bool value);

    // Writes the pending bytes to the destination.
    void flushBuffer();

    int getLastError() const override;

private:
    void bind(MemoryBlock* block, DataFile* file, String* text, char** handle);
    void writeThrough(void const* data, int length);
    void putThrough(char c);
    void flushToHandle();
    void flushToText();

    DataFile* m_file = nullptr;
    MemoryBlock* m_block = nullptr;
    String* m_text = nullptr;
    char** m_handle = nullptr;
    char* m_buffer = nullptr;
    int m_used = 0;
    int m_handleLength = 0;
};

} // namespace zelvane
