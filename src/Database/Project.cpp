#include "Database/Project.h"

#include "ACAPI/ProjectInfo.hpp"
#include "Database/Specification.h"
#include "Environment/Memory.h"

#include <memory>

namespace zelvane {
namespace {

// The host's fixed-size text fields need not end with a NUL.
String boundedText(const char* field, std::size_t size) {
    std::size_t length = 0;
    while (length < size && field[length] != 0) {
        ++length;
    }
    return String(field, unsigned(length));
}

} // namespace

Project::Project()
    : m_preferences(new PackageStore("frameworkPreferenceStore")),
      m_specification(new Specification(this, 0)) {}

Project::~Project() {
    delete m_specification;
    delete m_users;
    delete m_preferences;
}

Package* Project::getPreference(unsigned int code) const {
    return m_preferences->getPackage(code, false);
}

void Project::setPreference(const Package& package, bool publish) {
    m_preferences->setPackage(package, publish);
}

void Project::setPreference(Package* package, bool publish) {
    m_preferences->setPackage(package, publish);
}

void Project::initialisePreferences() {
    m_preferences->clearPackages(true);
}

void Project::resetDatabases() {
    delete m_users;
    m_users = nullptr;
    m_specification->reset();
}

bool Project::isShared() const {
    return ACAPI_TeamworkControl_HasConnection();
}

std::size_t Project::getTeamSize() {
    if (m_users != nullptr) {
        return m_users->size();
    }
    std::unique_ptr<UserList> users;
    API_SharingInfo info;
    if (isShared() && ACAPI_Environment(APIEnv_ProjectSharingID, &info) == NoError) {
        // Frees the host's handle whatever happens while the list is made.
        std::unique_ptr<API_UserInfo*, void (*)(API_UserInfo**)> handle(info.users, [](API_UserInfo** h) {
            if (h != nullptr) {
                char** block = reinterpret_cast<char**>(h);
                disposeHandle(&block);
            }
        });
        // The count is trusted only as far as the handle holds records.
        Int32 count = info.nUsers;
        if (handle != nullptr && count > 0 &&
            std::size_t(getHandleSize(reinterpret_cast<char**>(handle.get()))) >=
                std::size_t(count) * sizeof(API_UserInfo)) {
            users.reset(new UserList(std::size_t(count)));
            for (Int32 i = 0; i < count; ++i) {
                const API_UserInfo& record = (*handle)[i];
                users->push_back(new User(boundedText(record.loginName, sizeof record.loginName),
                                          record.userId,
                                          boundedText(record.fullName, sizeof record.fullName)));
            }
        }
    }
    if (users == nullptr) {
        users.reset(new UserList);
    }
    m_users = users.release();
    return m_users->size();
}

const User* Project::getTeamMember(std::size_t index) {
    return index < getTeamSize() ? (*m_users)[index] : nullptr;
}

} // namespace zelvane
