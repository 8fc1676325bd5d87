#include "Environment/DataBufferOut.h"

#include "Environment/DataFile.h"
#include "Environment/Memory.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "Environment/ToString.h"

#include <climits>
#include <cstring>
#include <new>

namespace zelvane {

DataBufferOut::DataBufferOut() {
    initialise(nullptr, nullptr, nullptr, nullptr, true);
}

DataBufferOut::DataBufferOut(DataFile* file) {
    initialise(nullptr, file, nullptr, nullptr, true);
}

DataBufferOut::DataBufferOut(MemoryBlock* block) {
    initialise(block, nullptr, nullptr, nullptr, true);
}

DataBufferOut::DataBufferOut(String* text) {
    initialise(nullptr, nullptr, text, nullptr, true);
}

DataBufferOut::DataBufferOut(char** handle) {
    initialise(nullptr, nullptr, nullptr, handle, true);
}

DataBufferOut::~DataBufferOut() {
    try {
        flushBuffer();
    } catch (...) {
        // A destructor cannot report; the state is lost with the stream.
    }
    disposePtr(&m_buffer);
}

void DataBufferOut::initialise(MemoryBlock* block, DataFile* file, String* text, char** handle,
                               bool /*allocate*/) {
    flushBuffer();
    // A stream always needs its buffer, whatever the caller asks; one it already has serves.
    if (m_buffer == nullptr) {
        m_buffer = allocatePtr(bufferSize);
    }
    bind(block, file, text, handle);
}

void DataBufferOut::setDestination(DataFile* file) {
    flushBuffer();
    bind(nullptr, file, nullptr, nullptr);
}

void DataBufferOut::setDestination(MemoryBlock* block) {
    flushBuffer();
    bind(block, nullptr, nullptr, nullptr);
}

void DataBufferOut::setDestination(String* text) {
    flushBuffer();
    bind(nullptr, nullptr, text, nullptr);
}

void DataBufferOut::setDestination(char** handle) {
    flushBuffer();
    bind(nullptr, nullptr, nullptr, handle);
}

void DataBufferOut::bind(MemoryBlock* block, DataFile* file, String* text, char** handle) {
    m_state = 0;
    m_block = block;
    m_file = file;
    m_text = text;
    m_handle = handle;
    m_used = 0;
    m_handleLength = 0;
    if (m_file != nullptr) {
        m_file->setPosition(m_file->getSize());
    }
}

void DataBufferOut::writeThrough(void const* data, int length) {
    if (length < 1 || m_state != 0 || data == nullptr) {
        return;
    }
    char const* bytes = static_cast<char const*>(data);
    for (;;) {
        int room = bufferSize - m_used;
        int piece = length < room ? length : room;
        std::memcpy(m_buffer + m_used, bytes, std::size_t(piece));
        m_used += piece;
        bytes += piece;
        length -= piece;
        if (length == 0) {
            return;
        }
        flushBuffer();
        if ((m_state & failMask) != 0) {
            return;
        }
    }
}

void DataBufferOut::write(String const& text) {
    write(text.data(), int(text.dataLength()));
}

void DataBufferOut::putThrough(char c) {
    if (m_state != 0) {
        return;
    }
    if (m_used >= bufferSize) {
        flushBuffer();
        if (m_state != 0) {
            return;
        }
    }
    m_buffer[m_used++] = c;
}

DataBufferOut& DataBufferOut::operator<<(char const* text) {
    if (text != nullptr) {
        write(text, int(std::strlen(text)));
    }
    return *this;
}

DataBufferOut& DataBufferOut::operator<<(String const& text) {
    write(text);
    return *this;
}

DataBufferOut& DataBufferOut::operator<<(double value) {
    write(ToString(value));
    return *this;
}

DataBufferOut& DataBufferOut::operator<<(int value) {
    write(ToString(value));
    return *this;
}

DataBufferOut& DataBufferOut::operator<<(unsigned int value) {
    write(ToString(value));
    return *this;
}

DataBufferOut& DataBufferOut::operator<<(short value) {
    write(ToString(value));
    return *this;
}

DataBufferOut& DataBufferOut::operator<<(unsigned short value) {
    write(ToString(value));
    return *this;
}

DataBufferOut& DataBufferOut::operator<<(bool value) {
    if ((m_flags & booleanText) != 0) {
        return *this << (value ? "true" : "false");
    }
    return *this << (value ? "1" : "0");
}

void DataBufferOut::flushBuffer() {
    if (m_state != 0 || m_used <= 0) {
        return;
    }
    try {
        if (m_file != nullptr) {
            if (!m_file->write(m_buffer, static_cast<unsigned int>(m_used))) {
                addState(failure);
            }
        } else if (m_block != nullptr) {
            m_block->append(m_buffer, m_used);
        } else if (m_text != nullptr) {
            flushToText();
        } else if (m_handle != nullptr) {
            flushToHandle();
        }
    } catch (std::bad_alloc const&) {
        // The destination could not grow: reported through the state and getLastError.
        addState(failure);
    }
    m_used = 0;
}

void DataBufferOut::flushToHandle() {
    int needed = m_handleLength + m_used;
    char*& block = *m_handle;
    if (block == nullptr || getPtrSize(block) < needed) {
        // Sized for all the bytes so far, also when the caller dropped the block in between.
        char* grown = allocatePtr(needed);
        if (block != nullptr && m_handleLength > 0) {
            int kept = getPtrSize(block);
            copyMemory(grown, block, kept < m_handleLength ? kept : m_handleLength);
        }
        disposePtr(&block);
        block = grown;
    }
    copyMemory(block + m_handleLength, m_buffer, m_used);
    m_handleLength = needed;
}

void DataBufferOut::flushToText() {
    String& text = *m_text;
    // Appended where the text ends now: the owner may have changed it since the last flush.
    unsigned int length = text.terminatorOffset();
    unsigned int used = static_cast<unsigned int>(m_used);
    if (used >= unsigned(INT_MAX) - length) {
        throw std::bad_alloc();
    }
    unsigned int needed = length + used;
    unsigned int capacity = text.capacity();
    if (capacity < needed) {
        // Grown geometrically, so that writing a long text costs linear time.
        unsigned int grown = capacity < unsigned(INT_MAX) / 2 ? capacity * 2 : unsigned(INT_MAX) - 1;
        text.reserve(grown > needed ? grown : needed);
    }
    text.resize(needed);
    std::memcpy(const_cast<char*>(text.data()) + length, m_buffer, used);
}

int DataBufferOut::getLastError() const {
    if (m_file != nullptr) {
        return m_file->getLastError();
    }
    if (m_block != nullptr || m_handle != nullptr || m_text != nullptr) {
        return memError();
    }
    return 0;
}

} // namespace zelvane
