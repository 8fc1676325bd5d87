// The host program's clock and GUIDs are fixed, so an example's report is the same on every run.
#include "HostsimRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace hostsim_test;

TEST(ReproducibleReportTest, AnExamplePlayedTwiceGivesTheSameReport) {
    struct Case {
        const char* scenario;
        const char* fixed; // what shows the fixed clock or GUID sequence in the report
    };
    const Case cases[] = {
        // Records edited in the session carry the fixed time and a GUID of the fixed sequence.
        {"presets.json",
         "<finish key=\"7143CECF-AA67-4BB0-9E1E-05F9245E5F27\" edit=\"2026-01-05T09:00:00Z\">"},
        {"remap-ifc.json", "\"4 elements were remapped.\\n\" -> 1\n"},
    };
    std::vector<HostsimRun> first;
    for (const Case& c : cases) {
        first.push_back(runHostsim(sourceDir / "examples" / c.scenario));
    }
    // The second runs come a second later by the machine's clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    for (std::size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(cases[i].scenario);
        ASSERT_EQ(first[i].status, 0) << first[i].output;
        EXPECT_TRUE(contains(first[i].output, cases[i].fixed)) << first[i].output;
        EXPECT_EQ(runHostsim(sourceDir / "examples" / cases[i].scenario).output, first[i].output);
    }
}
