// The remapping add-on played end to end in the host program on the office of
// examples/remap.project.json: each check names what a user would look for in the report.
#include "HostsimRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace hostsim_test;

namespace {

// The report's lines for one element, from its own line up to the next element's.
std::string elementLines(const std::string& report, const std::string& info) {
    std::size_t start = report.find(" \"" + info + "\" layer ");
    if (start == std::string::npos) {
        return "";
    }
    std::size_t end = report.find("\n    type ", start);
    std::size_t section = report.find("\n  ", start);
    while (section != std::string::npos && report.compare(section, 4, "\n   ") == 0) {
        section = report.find("\n  ", section + 1);
    }
    return report.substr(start, std::min(end, section) - start + 1);
}

HostsimRun play(const char* scenario) {
    return runHostsim(sourceDir / "examples" / scenario);
}

void expectLines(const std::string& report, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        EXPECT_TRUE(contains(report, line)) << "missing: " << line << "\n" << report;
    }
}

using Json = nlohmann::ordered_json;

Json readExample(const char* name) {
    std::ifstream in(sourceDir / "examples" / name);
    return Json::parse(in);
}

// An example scenario, to be played from another folder.
Json exampleScenario(const char* name) {
    Json scenario = readExample(name);
    for (Json& file : scenario["addons"][0]["resources"]) {
        file = (sourceDir / "examples" / file.get<std::string>()).lexically_normal().string();
    }
    return scenario;
}

// The report's section of that title, up to the next one.
std::string sectionOf(const std::string& report, const std::string& title) {
    std::size_t start = report.find("\n" + title + ":\n");
    if (start == std::string::npos) {
        return "";
    }
    std::size_t end = start + 1;
    do {
        end = report.find('\n', end + 1);
    } while (end != std::string::npos && end + 1 < report.size() && report[end + 1] == ' ');
    return report.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The report after its title (the scenario's file) with the storeys left out: what stays when the
// same elements stand on another storey.
std::string withoutStoreys(const std::string& report) {
    std::string played = report.substr(std::min(report.find('\n'), report.size()));
    return std::regex_replace(played, std::regex(" floor -?[0-9]+| current storey -?[0-9]+"), "");
}

// Each element's storey in the report, by listing ID.
std::map<std::string, int> floorsOf(const std::string& report) {
    std::map<std::string, int> floors;
    std::regex line("\n    type [0-9]+ \"([^\"]*)\" layer [0-9]+ floor (-?[0-9]+)");
    for (auto it = std::sregex_iterator(report.begin(), report.end(), line); it != std::sregex_iterator();
         ++it) {
        floors[(*it)[1]] = std::stoi((*it)[2]);
    }
    return floors;
}

} // namespace

TEST(RemapScenarioTest, IFCObjectsAndDoorsTakeTheirMappedPartsKeepingTheirPlace) {
    HostsimRun run = play("remap-ifc.json");
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(run.output,
                {"step 6: menu 32500/1 -> 0\n", "32510 \"Remap Library Parts\": accepted\n",
                 "\"Remap the elements now?\" -> 1\n", "\"4 elements were remapped.\\n\" -> 1\n",
                 "undo steps:\n  \"Remap Library Parts\" -> 0\n",
                 // The selection holds no IFC element: the whole drawing was searched.
                 "    \"Searching the selection\" of 11, reached 1\n"
                 "    \"Searching the whole drawing\" of 11, reached 12\n",
                 "  \"Remapping library parts\", 1 phases\n    \"Remapping elements\" of 4, reached 4\n",
                 // Kept as the rules of the default IFC source, each with the ID of its part: one made
                 // from the part's name, for the description names none.
                 "<originalName>Door Type A</originalName>\n    \t\t\t<mappedName>Single Door</mappedName>\n"
                 "    \t\t\t<mappedObjectGuid>{F1B89CD1-7E50-8590-B7F2-E05DE173FBC1}-"
                 "{2EB6FBDA-2B2A-8E66-8A73-8BC441EA3877}</mappedObjectGuid>\n",
                 "<originalName>Chair Type B</originalName>\n    \t\t\t<mappedName>Armchair</mappedName>\n"
                 "    \t\t\t<mappedObjectGuid>{C0956AD9-4317-877F-9852-A045D15277A8}-"
                 "{7831C4BB-B1F3-8335-A6D0-1AFFEF5EC98E}</mappedObjectGuid>\n"});
    // A corner-anchored part mapped to a centred one moves by half its size, turned with it; the
    // object keeps its plan size, height, rotation and level, and shows the new part's finishes.
    std::string chair = elementLines(run.output, "O-1");
    EXPECT_TRUE(contains(chair, "part 1 \"Armchair\" at (1.35, 2.35) angle 0 level 0\n")) << chair;
    EXPECT_TRUE(contains(chair, "size A 0.7 B 0.7 ZZYZX 0.8\n")) << chair;
    EXPECT_TRUE(contains(chair, "ratios 0.875 x 0.823529, finishes of the part\n")) << chair;
    EXPECT_TRUE(contains(elementLines(run.output, "O-2"), "part 1 \"Armchair\" at (1.65, 2.35) angle 1.5708"))
        << run.output;
    // On a locked layer: changed, and the layer is locked again.
    EXPECT_TRUE(contains(elementLines(run.output, "O-3"), "part 1 \"Armchair\" at (3.35, 2.35)"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "layer 5 \"Approved Furniture\" flags 2 group 0\n")) << run.output;
    // The imported door keeps its opening's size in its new part.
    EXPECT_TRUE(contains(elementLines(run.output, "D-2"), "part 8 \"Single Door\" 1 x 2.05 in \"W-1\" at 4"))
        << run.output;
    // Other kinds' elements are untouched.
    EXPECT_TRUE(contains(elementLines(run.output, "O-4"), "part 12 \"DWG Block\" at (5, 4)")) << run.output;
    EXPECT_TRUE(contains(elementLines(run.output, "O-5"), "part 1 \"Armchair\" at (2, 5) angle 0.5"))
        << run.output;
}

TEST(RemapScenarioTest, EachKindRemapsItsOwnElementsAndUndoRevertsTheLastRun) {
    HostsimRun run = play("remap-kinds.json");
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(run.output, {"step 6: menu 32500/2 -> 0\n", "step 9: menu 32500/5 -> 0\n",
                             "step 10: undo \"Remap Library Parts\" -> undone\n",
                             "undo steps:\n  \"Remap Library Parts\" -> 0\n  \"Remap Library Parts\" -> 0\n"
                             "  \"Remap Library Parts\" -> 0\n  \"Remap Library Parts\" -> 0 (undone)\n"});
    // DWG: the block takes the sofa at the block's plan size; its height is the sofa's own.
    std::string sofa = elementLines(run.output, "O-4");
    EXPECT_TRUE(contains(sofa, "part 4 \"Sofa\" at (5, 4) angle 0 level 0\n")) << sofa;
    EXPECT_TRUE(contains(sofa, "size A 1.8 B 0.8 ZZYZX 0.8\n")) << sofa;
    EXPECT_TRUE(contains(sofa, "finishes of the part\n")) << sofa;
    // GSM: only the selected armchair; the IFC objects on their imported part are left alone.
    EXPECT_TRUE(contains(elementLines(run.output, "O-5"), "part 3 \"Round Table\" at (2, 5) angle 0.5"))
        << run.output;
    EXPECT_TRUE(contains(elementLines(run.output, "O-5"), "size A 0.8 B 0.85 ZZYZX 0.9\n")) << run.output;
    EXPECT_TRUE(contains(elementLines(run.output, "O-6"), "part 2 \"Desk\"")) << run.output;
    EXPECT_TRUE(contains(elementLines(run.output, "O-1"), "part 10 \"IFC Object\"")) << run.output;
    // Missing: the cabinet of a part not in the library keeps its own sizes in the found part.
    std::string cabinet = elementLines(run.output, "O-8");
    EXPECT_TRUE(contains(cabinet, "part 6 \"Storage Cabinet\" at (7, 6.5)")) << cabinet;
    EXPECT_TRUE(contains(cabinet, "size A 0.5 B 0.6 ZZYZX 1.3\n")) << cabinet;
    // Legacy: mapped automatically to the current version, then undone.
    EXPECT_TRUE(contains(elementLines(run.output, "O-7"), "part 13 \"Office Chair 15\" at (5.5, 5.2)"))
        << run.output;
    EXPECT_TRUE(contains(run.output,
                         "<originalName>Office Chair</originalName>\n    \t\t\t<mappedName>Office Chair "
                         "21</mappedName>"))
        << run.output;
}

TEST(RemapScenarioTest, InASectionTheFloorPlanElementsAreChanged) {
    HostsimRun run = play("remap-section.json");
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(run.output,
                {"\"1 elements were remapped.\\n\" -> 1\n", "  floor plan: 3 elements",
                 "  section \"Section A-A\": 0 elements\n", "  active window: section \"Section A-A\"\n"});
    EXPECT_TRUE(contains(elementLines(run.output, "O-6"), "part 2 \"Sofa\" at (5, 6)")) << run.output;
    EXPECT_TRUE(contains(elementLines(run.output, "O-9"), "part 1 \"Desk\"")) << "not selected\n"
                                                                              << run.output;
}

TEST(RemapScenarioTest, CancellingAnywhereChangesNothingMore) {
    HostsimRun run = play("remap-cancel.json");
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(
        run.output,
        {"dialogs:\n  32510 \"Remap Library Parts\": cancelled\n  32510 \"Remap Library Parts\": accepted\n"
         "  32510 \"Remap Library Parts\": accepted\n",
         // Declined at the confirmation, then a run whose progress window is cancelled:
         // the door remapped before the cancel stays, in the run's one undo step.
         "alerts:\n  type -2 \"Question\": \"Remap the elements now?\" -> 2\n"
         "  type -2 \"Question\": \"Remap the elements now?\" -> 1\n"
         "  type -3 \"Information\": \"1 elements were remapped.\\n\" -> 1\ndialogs:",
         "undo steps:\n  \"Remap Library Parts\" -> 0\nmenu items:",
         "    \"Scanning the library\" of 14, reached 1\n    cancelled at query 2\n  closed\n",
         "    \"Remapping elements\" of 4, reached 1\n    cancelled at query 3\n  closed\n"});
    EXPECT_TRUE(contains(elementLines(run.output, "D-2"), "part 8 \"Single Door\"")) << run.output;
    for (const char* chair : {"O-1", "O-2", "O-3"}) {
        EXPECT_TRUE(contains(elementLines(run.output, chair), "part 10 \"IFC Object\""))
            << chair << run.output;
    }
}

TEST(RemapScenarioTest, AnUnreadableObjectMapIsReplacedOnlyWhenTheUserAgrees) {
    HostsimRun run = play("remap-objectmap.json");
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(
        run.output,
        {"\"The object map could not be read. Replace it with an empty one?\" -> 2\n"
         "  type -3 \"Information\": \"The object map could not be read, so remapping stopped.\" -> 1\n"
         "  type -2 \"Question\": \"The object map could not be read. Replace it with an empty one?\" -> 1\n",
         // The file system refuses the write after OK: the user is told, the run goes on.
         "\"The object map could not be written.\" -> 1\n  type -2 \"Question\": \"Remap the elements "
         "now?\" -> 1\n",
         // The map's folder cannot be found: before the dialog the command stops, after OK the rule
         // chosen is not kept and the run goes on; the user is told each time.
         "\"1 elements were remapped.\\n\" -> 1\n"
         "  type -3 \"Information\": \"The object map could not be read, so remapping stopped.\" -> 1\n"
         "  type -3 \"Information\": \"The object map could not be written.\" -> 1\n"
         "  type -2 \"Question\": \"Remap the elements now?\" -> 1\n",
         // The file kept is the empty map that replaced the damaged one.
         "  \"Preferences/Library Part Remapping/Object Map.xml\":\n    <?xml version=\"1.0\" "
         "encoding=\"UTF-8\" "
         "?>\n    <objectMap>\n    \t<specificationList sourceName=\"Default\" objectType=\"IFC\"/>\n"});
    EXPECT_TRUE(contains(elementLines(run.output, "D-2"), "part 8 \"Single Door\"")) << run.output;
    EXPECT_TRUE(contains(elementLines(run.output, "O-1"), "part 1 \"Armchair\"")) << run.output;
}

TEST(RemapScenarioTest, ARelativeSandboxIsTakenFromTheWorkingFolder) {
    namespace fs = std::filesystem;
    const fs::path folder = sim::specialFolder("Temp") / "relative-run";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path working = fs::current_path();
    fs::current_path(folder);
    HostsimRun run = runHostsim(sourceDir / "examples" / "remap-ifc.json", " --sandbox sandbox");
    fs::current_path(working);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "\"4 elements were remapped.\\n\" -> 1\n")) << run.output;
    EXPECT_TRUE(fs::is_regular_file(folder / "sandbox" / "Preferences" / "Library Part Remapping" /
                                    "Object Map.xml"));
    EXPECT_TRUE(fs::is_regular_file(folder / "sandbox" / "Documents" / "Office.pln"));
}

TEST(RemapScenarioTest, ParametersSetInTheToolSettingsBecomeTheRulesValues) {
    HostsimRun run = play("remap-parameters.json");
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(run.output,
                {"step 5: script settingsDialog 1 alerts 2 dialog 32510 1\n",
                 "\"1 elements were remapped.\\n\" -> 1\n",
                 // Only the value that differs from the chosen part's own is kept.
                 "<mappedName>Round Table</mappedName>\n    \t\t\t<mappedObjectGuid>{9CDB4EF1-C396-8410-81D1-"
                 "0840E73202C1}-{340034C8-50A8-87EE-871D-341DE5B0B7D7}</mappedObjectGuid>\n"
                 "    \t\t\t<customParameters>\n    \t\t\t\t<parameter name=\"ZZYZX\" type=\"length\">\n"
                 "    \t\t\t\t\t<value>0.72</value>\n",
                 // The object tool's defaults are the project's again once the values are read.
                 "  tool defaults:\n    type 6 part 2 \"Desk\"\n      size A 1.6 B 0.8 ZZYZX 0.75\n"});
    // The rule's height wins over the old box's.
    EXPECT_TRUE(contains(elementLines(run.output, "O-5"), "size A 0.8 B 0.85 ZZYZX 0.72\n")) << run.output;

    // A value for a parameter the chosen part does not have is one no user could set; its name is
    // quoted escaped.
    Json scenario = exampleScenario("remap-parameters.json");
    scenario["steps"][3]["description"] = (sourceDir / "examples" / "remap.project.json").string();
    scenario["steps"][4]["script"]["settingsDialog"][0]["values"] = Json{{"le\ngs", 4}};
    HostsimRun refused = runHostsim(writeScenario("remap-legs.json", scenario.dump()));
    EXPECT_EQ(refused.status, 2) << refused.output;
    EXPECT_TRUE(contains(refused.output,
                         "step 6: settingsDialog: the part \"Round Table\" has no parameter \"le\\ngs\"\n"))
        << refused.output;
}

TEST(RemapScenarioTest, AWindowAndALampTakeTheirMappedParts) {
    HostsimRun run = play("remap-fittings.json");
    ASSERT_EQ(run.status, 0) << run.output;
    expectLines(run.output, {"\"2 elements were remapped.\\n\" -> 1\n",
                             // Nothing selected: the whole drawing was searched.
                             "    \"Searching the whole drawing\" of 1, reached 2\n",
                             "<originalName>Casement Window</originalName>\n    \t\t\t<mappedName>Awning "
                             "Window</mappedName>",
                             "<originalName>Pendant Lamp</originalName>\n    \t\t\t<mappedName>Wall "
                             "Lamp</mappedName>"});
    // The window keeps its opening's size and place in the wall.
    EXPECT_TRUE(contains(elementLines(run.output, "WI-2"),
                         "part 2 \"Awning Window\" 1.2 x 1.4 in \"W-2\" at 3 sill 0.9"))
        << run.output;
    // The centred lamp becomes a corner-anchored one: it keeps its plan size, height, rotation and
    // level, and moves by half its size turned by its angle.
    std::string lamp = elementLines(run.output, "L-2");
    EXPECT_TRUE(contains(lamp, "part 4 \"Wall Lamp\" at (2.92037, 1.7286) angle 0.5 level 2.2\n")) << lamp;
    EXPECT_TRUE(contains(lamp, "size A 0.4 B 0.4 ZZYZX 0.3\n")) << lamp;
    EXPECT_TRUE(contains(lamp, "ratios 1.33333 x 2.66667")) << lamp;
}

// A remap while another storey is current changes every element on its own storey: played on the
// example project given a second storey, the report shows what it shows on one storey, and each
// element on its own storey.
TEST(RemapScenarioTest, ElementsStayOnTheirOwnStoreyWhileAnotherIsCurrent) {
    struct Case {
        const char* label;
        const char* scenario;
        int floor;                     // of every element but those below
        int current;                   // the storey current when the project opens
        std::map<std::string, int> on; // elements, by name, on another storey
        bool zoom;                     // the mapping dialog zooms to the chairs' first element
        int after;                     // the storey current at the end
    };
    const Case cases[] = {
        {"IFC", "remap-ifc.json", 0, 1, {}, false, 1},
        {"IFC, the other way round", "remap-ifc.json", 1, 0, {}, false, 0},
        {"DWG, GSM, missing and legacy", "remap-kinds.json", 0, 1, {}, false, 1},
        {"IFC after a zoom to another storey", "remap-ifc.json", 0, 0, {{"IFC chair 1", 1}}, true, 1},
        {"GSM from a section", "remap-section.json", 0, 1, {}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Json scenario = exampleScenario(c.scenario);
        Json steps = Json::array();
        std::size_t opening = 0; // the step that opens the project
        for (const Json& step : scenario["steps"]) {
            if (step.contains("undo")) {
                continue; // every run's changes stay to be seen
            }
            steps.push_back(step);
            if (step.contains("description")) {
                opening = steps.size() - 1;
            }
            if (c.zoom && step.contains("script")) {
                Json& actions = steps.back()["script"]["dialogs"]["32510"][0];
                actions.insert(actions.end() - 1, Json{{"do", "selectRow"}, {"item", 9}, {"value", 1}});
                actions.insert(actions.end() - 1, Json{{"do", "click"}, {"item", 11}});
            }
        }
        ASSERT_TRUE(steps[opening].contains("description"));
        Json project = readExample(steps[opening]["description"].get<std::string>().c_str());
        std::map<std::string, int> expected;
        Json storeys = project;
        storeys["storeys"] = Json::parse(R"([{"index": 0, "name": "Ground", "level": 0},
                                             {"index": 1, "name": "First", "level": 3}])");
        storeys["currentStorey"] = c.current;
        for (Json& element : storeys["elements"]) {
            auto found = c.on.find(element["name"].get<std::string>());
            element["floor"] = found != c.on.end() ? found->second : c.floor;
            if (element.contains("info")) {
                expected[element["info"].get<std::string>()] = element["floor"].get<int>();
            }
        }

        std::map<std::string, HostsimRun> runs;
        for (const auto& [kind, description] :
             {std::make_pair("one", &project), std::make_pair("two", &storeys)}) {
            std::string name = std::string(kind) + "-storeys-" + c.scenario;
            steps[opening]["description"] = name + ".project.json";
            writeScenario(name + ".project.json", description->dump());
            scenario["steps"] = steps;
            runs[kind] = runHostsim(writeScenario(name, scenario.dump()));
            ASSERT_EQ(runs[kind].status, 0) << runs[kind].output;
        }
        EXPECT_EQ(floorsOf(runs["two"].output), expected) << runs["two"].output;
        EXPECT_EQ(withoutStoreys(runs["two"].output), withoutStoreys(runs["one"].output));
        EXPECT_TRUE(contains(runs["two"].output, "current storey " + std::to_string(c.after)))
            << runs["two"].output;
    }
}

// Undo after a remap gives the project back as it was: the elements it re-pointed (one of them
// locked, one on a locked layer), their locks and the layers.
TEST(RemapScenarioTest, UndoGivesBackEveryElementAsItWas) {
    Json project = readExample("remap.project.json");
    for (Json& element : project["elements"]) {
        if (element["name"] == "IFC chair 2") {
            element["locked"] = true;
        }
    }
    writeScenario("undo-remap.project.json", project.dump());
    Json scenario = exampleScenario("remap-ifc.json");
    Json steps = Json::array();
    for (Json& step : scenario["steps"]) {
        if (step.contains("description")) {
            step["description"] = "undo-remap.project.json";
        }
        if (step.contains("entry") && step["entry"] == "FreeData") {
            steps.push_back(Json{{"undo", true}});
        }
        steps.push_back(step);
    }
    scenario["steps"] = steps;
    HostsimRun undone = runHostsim(writeScenario("undo-remap.json", scenario.dump()));
    ASSERT_EQ(undone.status, 0) << undone.output;
    expectLines(undone.output,
                {"\"4 elements were remapped.\\n\" -> 1\n", "undo \"Remap Library Parts\" -> undone\n",
                 " \"O-2\" layer 3 floor 0 locked\n"});

    Json untouched = Json::array();
    for (const Json& step : steps) {
        if (!step.contains("script") && !step.contains("menu") && !step.contains("undo")) {
            untouched.push_back(step);
        }
    }
    scenario["steps"] = untouched;
    HostsimRun opened = runHostsim(writeScenario("opened-remap.json", scenario.dump()));
    ASSERT_EQ(opened.status, 0) << opened.output;
    for (const char* section : {"attributes", "project"}) {
        EXPECT_EQ(sectionOf(undone.output, section), sectionOf(opened.output, section)) << section;
        EXPECT_FALSE(sectionOf(opened.output, section).empty()) << section;
    }
}
