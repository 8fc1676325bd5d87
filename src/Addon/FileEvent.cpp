#include "Addon/FileEvent.h"

namespace zelvane {

FileEvent::FileEvent(const FileEvent& other)
    : HostEvent(other), m_type(other.m_type), m_file(other.m_file ? other.m_file->clone() : nullptr),
      m_text(other.m_text), m_value(other.m_value), m_flag(other.m_flag) {}

FileEvent& FileEvent::operator=(const FileEvent& other) {
    if (this != &other) {
        std::unique_ptr<DataFile> file(other.m_file ? other.m_file->clone() : nullptr);
        HostEvent::operator=(other);
        m_type = other.m_type;
        m_file = std::move(file);
        m_text = other.m_text;
        m_value = other.m_value;
        m_flag = other.m_flag;
    }
    return *this;
}

} // namespace zelvane
