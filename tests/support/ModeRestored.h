// Gives an entry back the mode it had when the guard was made, however the test ends: a failed
// ASSERT returns before any code after it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <utility>

namespace testing_support {

class ModeRestored {
public:
    explicit ModeRestored(std::filesystem::path entry) : m_entry(std::move(entry)) {
        struct stat info {};
        m_found = ::stat(m_entry.c_str(), &info) == 0;
        m_mode = info.st_mode & 07777;
    }
    ModeRestored(const ModeRestored&) = delete;
    ModeRestored& operator=(const ModeRestored&) = delete;
    ~ModeRestored() {
        if (m_found) {
            EXPECT_EQ(::chmod(m_entry.c_str(), m_mode), 0) << m_entry;
        }
    }

private:
    std::filesystem::path m_entry;
    mode_t m_mode = 0;
    bool m_found = false;
};

} // namespace testing_support
