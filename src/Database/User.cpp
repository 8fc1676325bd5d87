#include "Database/User.h"

namespace zelvane {

// The host's fixed-size text fields need not end with a NUL: the byte limit bounds each.
User::User(const API_UserInfo& record)
    : m_guid(record.guid), m_name(record.loginName, sizeof record.loginName),
      m_text(record.fullName, sizeof record.fullName), m_id(record.userId), m_connected(record.connected) {}

} // namespace zelvane
