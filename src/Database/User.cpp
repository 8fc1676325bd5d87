#include "Database/User.h"

#include <cstring>

namespace zelvane {
namespace {

// The host's fixed-size text fields need not end with a NUL.
String boundedText(const char* field, std::size_t size) {
    const void* end = std::memchr(field, 0, size);
    std::size_t length = end == nullptr ? size : std::size_t(static_cast<const char*>(end) - field);
    return String(field, unsigned(length));
}

} // namespace

User::User(const API_UserInfo& record)
    : m_guid(record.guid), m_name(boundedText(record.loginName, sizeof record.loginName)),
      m_text(boundedText(record.fullName, sizeof record.fullName)), m_id(record.userId),
      m_connected(record.connected) {}

} // namespace zelvane
