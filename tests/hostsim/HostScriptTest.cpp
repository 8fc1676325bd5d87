// The host program's scripted answers and steps: tool settings, progress-window cancels and undo.
#include "HostsimRun.h"

#include <gtest/gtest.h>

#include <string>

using namespace hostsim_test;

namespace {

std::string sampleScenario(const std::string& steps) {
    return R"({"addons": [{"name": "sample", "bundle": "sample_addon.so", "developer": 1514490966, "local": 100,
        "resources": [")" +
           (sourceDir / "resources" / "zelvane.json").string() + R"(", ")" +
           (sourceDir / "tests" / "bundles" / "sample_addon.json").string() + R"("]}],
        "steps": [{"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"entry": "Initialize"},
                  {"project": "open", "file": "House.pln"}, )" +
           steps + "]}";
}

} // namespace

TEST(HostScriptTest, UndoRevertsTheLastUndoableCommandOnce) {
    HostsimRun run = runHostsim(writeScenario(
        "undo.json", sampleScenario(R"({"undo": true}, {"menu": 32500, "item": 1}, {"undo": true},
                                      {"undo": true}, {"script": {"settingsDialog": [true, {"values": {"A": 2}}],
                                      "progressCancelAt": [0, 3]}})")));
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line :
         {"step 5: undo -> nothing to undo\n", "step 7: undo \"Count\" -> undone\n",
          "step 8: undo -> nothing to undo\n", "undo steps:\n  \"Count\" -> 0 (undone)\n"}) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }
    EXPECT_TRUE(contains(run.output, "step 9: script settingsDialog 2 progressCancelAt 2\n")) << run.output;
}

TEST(HostScriptTest, MalformedAnswersStopTheScenario) {
    struct Case {
        const char* step;
        const char* message;
    };
    const Case cases[] = {
        {R"({"undo": 1})", "step 5: \"undo\" must be true"},
        {R"({"script": {"settingsDialog": [1]}})", "settingsDialog answers are true, false or"},
        {R"({"script": {"settingsDialog": [{"part": ""}]}})", "\"part\" must be the name of a library part"},
        {R"({"script": {"settingsDialog": [{"values": [1]}]}})", "\"values\" must map parameter names"},
        {R"({"script": {"settingsDialog": [{"values": {"A": null}}]}})",
         "the value of \"A\" must be a number, a text or true or false"},
        {R"({"script": {"settingsDialog": [{"colour": 1}]}})", "unknown member \"colour\""},
        // The part is looked for when the answer is queued.
        {R"({"script": {"settingsDialog": [{"part": "Chair"}]}})",
         "step 5: settingsDialog: no loaded library part is named \"Chair\""},
        {R"({"script": {"progressCancelAt": [-1]}})", "progressCancelAt answers are query numbers"},
        {R"({"script": {"progressCancelAt": 3}})", "script \"progressCancelAt\" must be a list"},
    };
    int index = 0;
    for (const Case& c : cases) {
        HostsimRun run =
            runHostsim(writeScenario("script" + std::to_string(index++) + ".json", sampleScenario(c.step)));
        EXPECT_EQ(run.status, 2) << c.step << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, c.message)) << "missing: " << c.message << "\n" << run.output;
    }
}
