// A copy of the host library, loaded beside the one in use and unloaded again (as a bundle that is
// such a copy is), leaves nothing of its own behind: the state it set up as it loaded stays its own.
#include "MacOS/CoreFoundation.hpp"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/WriteWhole.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Set in the child that loads the copy: the copy's path.
const char* const copyVariable = "ZELVANE_HOST_COPY";

// The host library this program uses.
fs::path hostLibrary() {
    Dl_info info{};
    return ::dladdr(reinterpret_cast<void*>(&sim::reset), &info) != 0 ? fs::path(info.dli_fname) : fs::path();
}

} // namespace

TEST(HostLibraryCopyTest, ACopyLoadedAndUnloadedLeavesTheHostItsOwnState) {
    const char* const copy = std::getenv(copyVariable);
    if (copy == nullptr) {
        // Its globals stand twice while the copy is loaded, which AddressSanitizer would take for a
        // violation of the one definition rule, and the state the copy made for the process's life
        // is left as it unloads: the copy is loaded in a child of this program that runs this test
        // alone, with those checks off.
        const fs::path made = sim::specialFolder("Temp") / "copy_of_host.so";
        fs::copy_file(hostLibrary(), made, fs::copy_options::overwrite_existing);
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        const std::string filter =
            "--gtest_filter=" +
            std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()) + "." +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const pid_t child = ::fork();
        if (child == 0) {
            const char* asan = std::getenv("ASAN_OPTIONS");
            const std::string options = (asan != nullptr && *asan != '\0' ? std::string(asan) + ":" : "") +
                                        "detect_odr_violation=0:detect_leaks=0";
            ::setenv("ASAN_OPTIONS", options.c_str(), 1);
            ::setenv(copyVariable, made.c_str(), 1);
            ::execl(self.c_str(), self.c_str(), filter.c_str(), "--gtest_brief=1",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        fs::remove(made);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "the child that loaded the copy ended with status " << status;
        return;
    }
    const CFStringRef application = kCFPreferencesCurrentApplication;
    void* loaded = ::dlopen(copy, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(loaded, nullptr) << ::dlerror();
    ASSERT_EQ(::dlclose(loaded), 0);
    // What the copy set as it loaded went with it: the host's constants are its own, its resets
    // all run, and its faults are still injected into the file calls.
    EXPECT_EQ(kCFPreferencesCurrentApplication, application);
    sim::reset();
    const fs::path file = sim::specialFolder("Temp") / "copied";
    sim::failRename(ErrIO);
    EXPECT_EQ(fileio::failureOf(fileio::writeWhole(fileio::Entry(file.string()), fileio::textWriter("x"))),
              fileio::Failure::injected);
    EXPECT_FALSE(fs::exists(file));
}
