// Test main shared by every test executable: each test starts on a freshly reset simulated host
// and fails when it leaves host memory blocks behind or frees a block the host does not own.
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class HostMemoryChecker : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        sim::reset();
        m_start = sim::memoryStats();
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        sim::MemoryStats end = sim::memoryStats();
        std::size_t startLive = m_start.livePointers + m_start.liveHandles;
        std::size_t endLive = end.livePointers + end.liveHandles;
        EXPECT_LE(endLive, startLive) << "leaked " << (endLive - startLive) << " host memory block(s)";
        EXPECT_LE(end.invalidFrees, m_start.invalidFrees) << "freed a host memory block twice or not ours";
    }

private:
    sim::MemoryStats m_start;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // CTest runs the tests of one executable as parallel processes: give each its own sandbox
    // and remove it afterwards, so no test sees another's files.
    std::filesystem::path root = sim::sandboxRoot() / ("process-" + std::to_string(::getpid()));
    sim::setSandboxRoot(root);
    ::testing::UnitTest::GetInstance()->listeners().Append(new HostMemoryChecker);
    int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return result;
}
