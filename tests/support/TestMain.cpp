// Test main shared by every test executable: each test starts on a freshly reset simulated host
// with a sandbox folder of its own, and fails when it leaves host memory blocks behind, frees a
// block the host does not own or leaves in its folder what cannot be removed.
#include "sim/Memory.h"
#include "sim/Sim.h"
#include "sim/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <utility>

namespace {

class TestIsolation : public ::testing::EmptyTestEventListener {
public:
    explicit TestIsolation(std::filesystem::path processFolder) : m_processFolder(std::move(processFolder)) {}

    void OnTestStart(const ::testing::TestInfo&) override {
        // A folder of the test's own, so that nothing a test leaves (a FIFO a later test would
        // open, say) reaches another when the program runs its tests one after another.
        try {
            m_folder = std::make_unique<sim::TemporaryFolder>(m_processFolder, "test-");
            sim::setSandboxRoot(m_folder->path());
        } catch (const std::exception& error) {
            ADD_FAILURE() << "cannot make the test's sandbox: " << error.what();
        }
        sim::reset();
        m_start = sim::memoryStats();
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        sim::MemoryStats end = sim::memoryStats();
        std::size_t startLive = m_start.livePointers + m_start.liveHandles;
        std::size_t endLive = end.livePointers + end.liveHandles;
        EXPECT_LE(endLive, startLive) << "leaked " << (endLive - startLive) << " host memory block(s)";
        EXPECT_LE(end.invalidFrees, m_start.invalidFrees) << "freed a host memory block twice or not ours";
        sim::setSandboxRoot(m_processFolder);
        if (m_folder != nullptr) {
            // A test as root gives entries away, which its folder, never opened, takes back too.
            const std::string left = m_folder->removeGivenAway();
            EXPECT_EQ(left, "") << "the test left what it made in a state that cannot be removed";
            m_folder.reset();
        }
    }

private:
    std::filesystem::path m_processFolder;
    std::unique_ptr<sim::TemporaryFolder> m_folder;
    sim::MemoryStats m_start;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest runs the tests of one executable as parallel processes: each gets a new folder of its
    // own as its sandbox, in the root the environment names or else in the temporary folder, so
    // that no test sees another's files, and removes it afterwards.
    std::unique_ptr<sim::TemporaryFolder> sandbox;
    try {
        const char* named = std::getenv("ZELVANE_HOST_ROOT");
        if (named != nullptr && *named != '\0') {
            // The host makes the root it is given, where missing.
            sandbox = std::make_unique<sim::TemporaryFolder>(sim::sandboxRoot(), "process-");
        } else {
            sandbox = std::make_unique<sim::TemporaryFolder>(sim::TemporaryFolder::defaultParent(),
                                                             "zelvane-tests-");
        }
    } catch (const std::exception& error) {
        std::cerr << "cannot make the tests' sandbox: " << error.what() << "\n";
        return 1;
    }
    sim::setSandboxRoot(sandbox->path());
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestIsolation(sandbox->path()));
    int result = RUN_ALL_TESTS();
    const std::string left = sandbox->removeGivenAway();
    if (!left.empty()) {
        std::cerr << left << "\n";
    }
    return result;
}
