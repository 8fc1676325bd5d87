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
                                      "progressCancelAt": [0, 3]}},
                                      {"hostFile": "Sample/notes.txt", "text": "kept\n\nlast"},
                                      {"script": {"faults": [{"call": "IO::FileSystem::Rename", "times": 1},
                                                             {"call": "IO::File::Readbin"}]}})")));
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line :
         {"step 5: undo -> nothing to undo\n", "step 7: undo \"Count\" -> undone\n",
          "step 8: undo -> nothing to undo\n", "undo steps:\n  \"Count\" -> 0 (undone)\n"}) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }
    EXPECT_TRUE(contains(run.output, "step 9: script settingsDialog 2 progressCancelAt 2\n")) << run.output;
    EXPECT_TRUE(
        contains(run.output, "step 10: host file \"Preferences/Sample/notes.txt\" written, 10 bytes\n"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "step 11: script faults 2\n")) << run.output;
    // Faults that failed nothing: on a misspelt call, and on one not made after them.
    EXPECT_TRUE(contains(run.output,
                         "\nfaults never fired:\n  \"IO::File::Readbin\"\n  \"IO::FileSystem::Rename\"\n"
                         "report window:\n"))
        << run.output;
    // Each line of a file is indented below its name, the empty one too; the last gets its line end.
    EXPECT_TRUE(contains(run.output, "  \"Preferences/Sample/notes.txt\":\n    kept\n    \n    last\n"))
        << run.output;
}

TEST(HostScriptTest, MalformedAnswersStopTheScenario) {
    struct Case {
        const char* step;
        const char* message;
    };
    const Case cases[] = {
        {R"({"undo": 1})", "step 5: \"undo\" must be true"},
        // Menu items the user could not choose.
        {R"({"menu": 32500, "item": 6})",
         "step 5: menu 32500/6 cannot be chosen: the menu 32500 of add-on sample has 5 items"},
        {R"({"menu": 32501, "item": 1})",
         "step 5: menu 32501/1 cannot be chosen: no add-on registered the menu 32501"},
        {R"({"script": {"settingsDialog": [1]}})", "settingsDialog answers are true, false or"},
        {R"({"script": {"settingsDialog": [{"part": ""}]}})", "\"part\" must be the name of a library part"},
        {R"({"script": {"settingsDialog": [{"values": [1]}]}})", "\"values\" must map parameter names"},
        {R"({"script": {"settingsDialog": [{"values": {"A": null}}]}})",
         "the value of \"A\" must be a number, a text or true or false"},
        {R"({"script": {"settingsDialog": [{"colour": 1}]}})", "unknown member \"colour\""},
        // The part is looked for when the answer is queued.
        {R"({"script": {"settingsDialog": [{"part": "Chair"}]}})",
         "step 5: settingsDialog: no loaded library part is named \"Chair\""},
        {R"({"hostFile": "../out.xml", "text": ""})", "leads out of the sandbox"},
        {R"({"hostFile": "a.xml\u0000.txt", "text": ""})", "holds a NUL character"},
        {R"({"hostFile": "a.xml", "folder": "Root", "text": ""})", "\"folder\" must be Preferences"},
        {R"({"hostFile": "a.xml"})", "\"text\" must be the file's content"},
        {R"({"script": {"faults": [{"error": 1}]}})", "each fault names the host \"call\""},
        {R"({"script": {"faults": [{"call": "IO::FileSystem::Rename", "error": 0}]}})",
         "\"error\" must be a host error code other than 0"},
        {R"({"script": {"faults": [{"call": "x", "times": -2}]}})", "\"times\" must be a count"},
        {R"({"script": {"faults": [{"call": "x", "times": 0}]}})",
         "step 5: faults: \"times\" must be a count from 1, or -1 for every call"},
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

TEST(HostScriptTest, DescriptionsGiveTheActiveWindowToolDefaultsAndRatios) {
    writeScenario("tools.project.json", R"({
        "databases": [{"kind": "section", "name": "Section A"}],
        "library": [{"name": "Chair", "a": 0.5, "b": 0.4, "centred": true,
                     "parameters": [{"name": "ZZYZX", "type": "length", "value": 0.8}]},
                    {"name": "Stool", "fixedSize": true},
                    {"name": "Door", "type": "door"},
                    {"name": "Pendant", "type": "lamp"}, {"name": "Bell\u0007\n", "type": "lamp"}],
        "toolDefaults": [{"type": 6, "part": "Chair", "A": 0.6,
                          "parameters": [{"name": "mat", "type": "string", "value": "Oak"}]},
                         {"type": 5, "part": "Door", "width": 1.0},
                         {"type": 7, "part": "Pendant", "ZZYZX": 0.3},
                         {"type": 7, "variation": "DLMP", "part": 4},
                         {"type": 7, "variation": "Z\r\n\u0007", "part": 4},
                         {"type": 1, "thickness": 0.25, "height": 2.8}],
        "elements": [{"type": 6, "info": "O-1", "part": "Chair", "A": 1.0, "B": 0.2},
                     {"type": 6, "info": "O-2", "part": "Stool", "A": 0.7,
                      "parameters": [{"name": "Derived_from_AutoCad", "type": "string", "value": "1"}]},
                     {"type": 7, "info": "L\u001b1", "part": 5},
                     {"type": 6, "info": "O-3", "part": "Chair", "A": 0.7},
                     {"name": "w", "type": 1, "end": [4, 0]},
                     {"type": 5, "info": "D\r1\u2028", "wall": "w", "distance": 1},
                     {"type": 4, "info": "W\u0085\u007f", "wall": "w", "distance": 3}],
        "activeWindow": "Section A"})");
    HostsimRun run = runHostsim(writeScenario(
        "tools.json", sampleScenario(R"({"project": "new", "description": "tools.project.json"})")));
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line : {
             "      ratios 2 x 0.5, finishes material 0\n",
             // The sizes not given are the part's own, and the ratios follow the sizes.
             "      size A 0.7 B 0.4 ZZYZX 0.8\n      ratios 1.4 x 1, finishes material 0\n",
             "      ratios 0.7 x 1 (fixed size), finishes material 0\n"
             "      parameter \"Derived_from_AutoCad\" \"1\"\n",
             // Every tool named comes out as described, in type and variation order.
             "  tool defaults:\n    type 1\n      from (0, 0) to (1, 0) thickness 0.25 height 2.8\n"
             "    type 5 part 3 \"Door\" 1 x 2.1\n    type 6 part 1 \"Chair\"\n      size A 0.6 B 0.4 ZZYZX "
             "0.8\n"
             "      parameter \"mat\" \"Oak\"\n    type 7 part 4 \"Pendant\"\n      size A 1 B 1 ZZYZX 0.3\n"
             "    type 7 variation 'DLMP' part 4 \"Pendant\"\n"
             "    type 7 variation 'Z\\x0d\\n\\x07' part 4 \"Pendant\"\n  active window",
             "  active window: section \"Section A\"\n",
             // Names holding control characters stay on their line.
             "    type 7 \"L\\x1b1\" layer ",
             "      part 5 \"Bell\\x07\\n\" at (",
             "      windows: \"W\\u0085\\x7f\"\n      doors: \"D\\x0d1\\u2028\"\n",
         }) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }

    struct Case {
        const char* description;
        const char* message;
    };
    const Case cases[] = {
        {R"({"activeWindow": "Nowhere"})", "activeWindow: no database is named \"Nowhere\""},
        {R"({"toolDefaults": [{"part": "x"}]})", "toolDefaults[0].type: is missing"},
        {R"({"toolDefaults": [{"type": 6}, {"type": 6}]})",
         "toolDefaults[1].type: the defaults of this tool"},
        {R"({"toolDefaults": [{"type": 6, "part": "Sofa"}]})",
         "toolDefaults[0].part: no library part is named"},
        {R"({"toolDefaults": [{"type": 1, "A": 2}]})", "toolDefaults[0].A: only objects (6) and lamps (7)"},
        {R"({"library": [{"name": "a", "a": 0}]})", "library[0].a: must be a number above 0"},
        // A tool's defaults have only the members of their kind, not those of a placed element.
        {R"({"toolDefaults": [{"type": 6, "layer": 2}]})",
         "toolDefaults[0]: unknown member \"layer\" of a tool's defaults"},
        {R"({"toolDefaults": [{"type": 6, "ifc": {}}]})",
         "toolDefaults[0]: unknown member \"ifc\" of a tool's defaults"},
    };
    int index = 0;
    for (const Case& c : cases) {
        std::string name = "bad" + std::to_string(index++) + ".project.json";
        writeScenario(name, c.description);
        HostsimRun bad = runHostsim(writeScenario(
            "bad-tools.json", sampleScenario(R"({"project": "new", "description": ")" + name + "\"}")));
        EXPECT_EQ(bad.status, 2) << c.description << "\n" << bad.output;
        EXPECT_TRUE(contains(bad.output, c.message)) << "missing: " << c.message << "\n" << bad.output;
    }
}
