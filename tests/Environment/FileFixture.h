// The fixture of the file and directory tests: each test works in a folder of its own under the
// sandbox (the tests of one executable may run at the same time) and must leave no file open.
#pragma once

#include "Environment/String.h"
#include "fileio/System.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Why a row is left out where the file layer is built of its POSIX branches (ZELVANE_FILEIO_LINUX
// undefined): the framework hands the host a file it holds open as /dev/fd/N, which on Linux names
// that file only through a link of /proc, and only Linux's own calls take such a link for the file.
constexpr const char* openFileLinkOnLinuxOnly =
    "the host reaches the framework's open file through a link of /proc, which the file layer's POSIX "
    "branches do not take for the open file";

class FileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = sim::sandboxRoot() / "files" / (std::string(info->test_suite_name()) + "." + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { EXPECT_EQ(sim::openFileCount(), 0u); }

    std::filesystem::path path(std::string const& name) const { return m_dir / name; }
    zelvane::String text(std::string const& name) const { return zelvane::String(path(name).c_str()); }
    static void put(std::filesystem::path const& p, std::string const& content) {
        std::ofstream(p, std::ios::binary) << content;
    }
    static std::string get(std::filesystem::path const& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path m_dir;
};
