#include "FileScript.h"
#include "HostProgram.h"
#include "HostSetup.h"
#include "HostsimRun.h"
#include "ReportFile.h"
#include "Sandbox.h"
#include "ScenarioInput.h"

#include "ACAPI/EntryPoints.hpp"
#include "sim/AddOns.h"
#include "sim/Output.h"
#include "sim/Sim.h"

#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using hostsim_test::binaryDir;
using hostsim_test::contains;
using hostsim_test::HostsimRun;
using hostsim_test::runHostsim;
using hostsim_test::runHostsimWith;
using hostsim_test::sourceDir;
using hostsim_test::writeScenario;

// The four entry points of a bundle loaded the way the host loads it.
struct LoadedBundle {
    explicit LoadedBundle(const char* file) {
        handle = dlopen((binaryDir / file).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) {
            check = reinterpret_cast<CheckEnvironmentProc*>(dlsym(handle, "CheckEnvironment"));
            registerInterface = reinterpret_cast<RegisterInterfaceProc*>(dlsym(handle, "RegisterInterface"));
            initialize = reinterpret_cast<InitializeProc*>(dlsym(handle, "Initialize"));
            freeData = reinterpret_cast<FreeDataProc*>(dlsym(handle, "FreeData"));
        }
    }
    ~LoadedBundle() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
    bool complete() const { return check && registerInterface && initialize && freeData; }

    void* handle = nullptr;
    CheckEnvironmentProc* check = nullptr;
    RegisterInterfaceProc* registerInterface = nullptr;
    InitializeProc* initialize = nullptr;
    FreeDataProc* freeData = nullptr;
};

} // namespace

TEST(HostsimTest, RunsTheExampleEndToEnd) {
    HostsimRun run = runHostsim(sourceDir / "examples" / "sample.json");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string& report = run.output;
    for (const char* line : {
             "step 1: CheckEnvironment sample -> 2 name \"Sample Tool 2\" description \"Version 1.5 (build "
             "42)\\nCounts "
             "and announces.\"",
             "step 2: RegisterInterface sample -> 0",
             "step 3: Initialize sample -> 0",
             "step 6: menu 32500/1 -> 0",
             "step 9: menu 32500/2 -> 0", // the failing item still answers the host 0
             "step 18: FreeData sample -> 0",
             // The project's count starts from its module data, the user's from nothing.
             "report window:\n  Counted 6 in the project, 1 in all\n  Counted 7 in the project, 2 in all\n",
             "  Nothing to count without a project\n",
             "  Named Beds\n  Naming cancelled\n",
             "alerts:\n  type -1 \"Error\": \"Sample Tool 2 ran into an unexpected problem.\" -> 1\n",
             "dialogs:\n  32600 \"Name\": accepted\n  32600 \"Name\": cancelled (not scripted) (closed by "
             "the host)\n",
             "module data:\n  sample \"\" version 1 sign 19789: "
             "\"<projectCount><count>7</count></projectCount>\"\n",
             "  \"Preferences/Zelvane/com.zelvane.sampletool2.xml\":\n",
             "    \t<userCount>\n    \t\t<count>2</count>\n    \t</userCount>\n",
             "  Sample Tool 2: unexpected failure\n",
             "console:\n  Sample Tool 2 at depth 1\n",
             "undo steps:\n  \"Count\" -> 0\n  \"Count\" -> 0\n",
             "  sample 32500/1: flags 2\n",
         }) {
        EXPECT_TRUE(contains(report, line)) << "missing: " << line << "\n" << report;
    }
}

TEST(HostsimTest, TheSampleCountsStopAtTheTopOfTheirType) {
    // Counts beyond an int read as its largest value: one more keeps it there.
    const std::string huge = "<count>99999999999999999999</count>";
    std::string scenario =
        R"({"addons": [{"name": "sample", "bundle": "sample_addon.so", "developer": 1514490966,
        "local": 100, "resources": [")" +
        (sourceDir / "resources" / "zelvane.json").string() + R"(", ")" +
        (sourceDir / "tests" / "bundles" / "sample_addon.json").string() + R"("]}],
        "steps": [{"hostFile": "Zelvane/com.zelvane.sampletool2.xml",
                   "text": "<frameworkPreferenceStore><userCount>)" +
        huge + R"(</userCount></frameworkPreferenceStore>"},
                  {"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"entry": "Initialize"},
                  {"moduleData": {"text": "<projectCount>)" +
        huge + R"(</projectCount>"}},
                  {"project": "open", "file": "House.pln"}, {"menu": 32500, "item": 1},
                  {"project": "quit"}, {"entry": "FreeData"}]})";
    HostsimRun run = runHostsim(writeScenario("top-count.json", scenario));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "Counted 2147483647 in the project, 2147483647 in all\n")) << run.output;
    EXPECT_TRUE(contains(run.output, "\t\t<count>2147483647</count>\n")) << run.output;
}

TEST(HostsimTest, APreferenceFileMadeWhileTheHostRunsIsKept) {
    const std::string made = "<frameworkPreferenceStore><userCount><count>50</count></userCount>"
                             "<laterPrefs><level>4</level></laterPrefs></frameworkPreferenceStore>";
    std::string scenario =
        R"({"addons": [{"name": "sample", "bundle": "sample_addon.so", "developer": 1514490966,
        "local": 100, "resources": [")" +
        (sourceDir / "resources" / "zelvane.json").string() + R"(", ")" +
        (sourceDir / "tests" / "bundles" / "sample_addon.json").string() + R"("]}],
        "steps": [{"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"entry": "Initialize"},
                  {"hostFile": "Zelvane/com.zelvane.sampletool2.xml", "text": ")" +
        made + R"("}, {"project": "open", "file": "House.pln"}, {"menu": 32500, "item": 1},
                  {"project": "quit"}, {"entry": "FreeData"}]})";
    HostsimRun run = runHostsim(writeScenario("made-meanwhile.json", scenario));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, made)) << "the file as it was made: " << run.output;
    EXPECT_TRUE(contains(run.output, "console:\n  The user preferences of the add-on \"Sample Tool 2\" could "
                                     "not be written to Preferences/Zelvane/com.zelvane.sampletool2.xml.\n"))
        << run.output;
}

TEST(HostsimTest, OpensAProjectDescription) {
    HostsimRun run = runHostsim(sourceDir / "examples" / "house.json");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line :
         {"attributes:\n  pen 1 \"Black\" colour [0, 0, 0] width 0.18\n",
          "  layer 3 \"Doors\" flags 2 group 1\n", "  layer 4 \"Furniture\" flags 16 group 0\n",
          "  layer combination 1 \"Plan\" layers 1:1 2:0 3:2 4:16 5:1\n",
          "  city 1 \"Budapest\" latitude 2850' longitude 1143'\n"}) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }
    for (const char* line : {
             "step 4: project open \"House.pln\" with 7 elements -> 0",
             "project:\n  floor plan: 6 elements, current storey 0\n    type 1 \"W-1\" layer 2 floor 0\n",
             "    type 6 \"O-1\" layer 4 floor 1 user data 12 bytes\n",
             "    type 7 layer 4 floor 0 locked grouped\n",
             "  section \"Section A\": 1 elements\n    type 29 layer 1 floor 0\n      stands for \"W-1\"\n",
             // Each kind's placement, under its element's line.
             "      from (0, 0) to (6, 0) thickness 0.3 height 2.7\n      windows: \"WI-1\"\n      doors: "
             "\"D-1\"\n",
             "      part 1 \"Chair 01\" at (2, 3) angle 1.5708 level 0.1 mirrored\n"
             "      size A 0.6 B 0.55 ZZYZX 0.9\n"
             "      IFC property \"Pset_FurnitureTypeCommon\".\"Style\" IfcLabel \"Oak\"\n"
             "      IFC property \"Pset_FurnitureTypeCommon\".\"NumberOfSeats\" IfcInteger 3\n"
             "      IFC classification \"Ss_40_20\" \"Seating\"\n"
             "      ratios 1.2 x 1, finishes material 0\n      parameter \"mat\" \"Beech\"\n",
             "      part 1 \"Chair 01\" at (4, 1) angle 0 level 0\n      unloaded part \"Ceiling Lamp 23\"\n",
             "    type 25 layer 1 floor 0\n      opens \"Section A\" pen 3 from -1 to 7 line (-1, 2) (7, "
             "2) second line (-1, 5) (7, 5)\n",
             "      part 2 \"Door 90\" 0.9 x 2.1 in \"W-1\" at 1.5 sill 0\n      IFC attribute \"Tag\" "
             "IfcLabel \"D-1\"\n      IFC attribute \"ObjectType\" IfcLabel\n",
             "      part 3 \"Window 120\" 1.2 x 1.4 in \"W-1\" at 4.2 sill 0.9\n",
             "  layout \"Sheet 1\": 0 elements\n",
             "  selection: 2 elements\n  tool defaults:\n    type 1\n      from (0, 0) to (1, 0) thickness "
             "0.25 "
             "height 2.7\n    type 4 part 3 \"Window 120\" 1 x 1.2\n    type 6 variation 'OBJ1' part 1 "
             "\"Chair "
             "01\"\n      size A 0.5 B 0.55 ZZYZX 0.9\n      parameter \"mat\" \"Oak\"\n  active window: "
             "section "
             "\"Section A\"\n",
         }) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }

    struct Case {
        std::string description;
        const char* message;
    };
    const Case cases[] = {
        {R"([])", "project description \"bad.project.json\": must be an object"},
        {R"({"elements": [{"layer": 1}]})", "bad.project.json\".elements[0].type: is missing"},
        {R"({"elements": [{"type": 1, "layer": -4}]})",
         "elements[0].layer: must be an integer from 0 to 32767"},
        {R"({"elements": [{"type": 1, "database": "Nowhere"}]})",
         "elements[0].database: no database is named"},
        // Places the project does not have.
        {R"({"attributes": {"layers": [{"name": "l"}]}, "elements": [{"type": 1, "layer": 7000}]})",
         "elements[0].layer: the project has no layer 7000 (its layers are 1 to 1)"},
        {R"({"elements": [{"type": 1, "floor": 40}]})",
         "elements[0].floor: the project has no storey of index 40"},
        {R"({"elements": [{"name": "w", "type": 1, "end": [4, 0]}, {"type": 5, "wall": "w", "distance": 5}]})",
         "elements[1].distance: 5 is off the wall \"w\", whose length is 4"},
        {R"({"elements": [{"type": 29, "proxyOf": "ghost"}]})", "elements[0].proxyOf: no floor-plan element"},
        {R"({"elements": [{"type": 6, "guid": "not-a-guid"}]})", "elements[0].guid: must be a GUID text"},
        {R"({"databases": [{"kind": "hall", "name": "x"}]})", "databases[0].kind: unknown database kind"},
        {R"({"databases": [{"kind": "layout", "name": "x", "master": "y"}]})", "the master layout \"y\""},
        {R"({"storeys": [{"level": 3}, {"level": 0}]})", "storeys[1].level: storeys go from the lowest up"},
        {R"({"currentStorey": 4})", "currentStorey: no storey has that index"},
        {R"({"selection": ["nobody"]})", "selection[0]: names no element"},
        {R"({"elements": [{"type": 6, "userData": {"version": "one"}}]})", "elements[0].userData.version"},
        {R"({"attributes": []})", "bad.project.json\".attributes: must be an object"},
        {R"({"attributes": {"layers": [{"name": "a"}, {"name": "a"}]}})",
         "attributes.layers[1].name: another attribute of its kind is named \"a\""},
        {R"({"attributes": {"pens": [{"colour": [0, 0, 0]}]}})",
         "attributes.pens[0].name: every attribute needs a name"},
        {R"({"attributes": {"pens": [{"name": "p", "colour": [0, 2, 0]}]}})",
         "attributes.pens[0].colour: must be a list"},
        {R"({"attributes": {"layerCombinations": [{"name": "c", "layers": [{"layer": "none"}]}]}})",
         "attributes.layerCombinations[0].layers[0].layer: names no layer"},
        {R"({"library": {}})", "bad.project.json\".library: must be a list"},
        {R"({"library": [{"name": "a"}, {"name": "a"}]})", "library[1].name: another library part is named"},
        {R"({"library": [{"name": "a", "type": "sofa"}]})", "library[0].type: unknown library part type"},
        {R"({"library": [{"name": "a", "id": "{x}"}]})", "library[0].id: must be two GUID texts"},
        {R"({"library": [{"name": "a", "parameters": [{"name": "n", "type": "real", "rows": 2, "values": [1]}]}]})",
         "library[0].parameters[0].values: must hold rows x columns values"},
        {R"({"library": [{"name": "a", "sections": {"3D": "x"}}]})", "library[0].sections.3D: must be named"},
        {R"({"elements": [{"type": 6, "part": "Sofa"}]})",
         "elements[0].part: no library part is named \"Sofa\""},
        {R"({"library": [{"name": "a"}], "elements": [{"type": 7, "part": 2}]})",
         "elements[0].part: must be an integer from 1 to 1"},
        {R"({"elements": [{"type": 6, "position": [1]}]})",
         "elements[0].position: must be a list of two numbers"},
        {R"({"elements": [{"type": 6, "angle": "east"}]})", "elements[0].angle: must be a number"},
        {R"({"elements": [{"type": 6, "A": 0}]})", "elements[0].A: must be a number above 0"},
        {R"({"elements": [{"type": 7, "mirrored": 1}]})", "elements[0].mirrored: must be true or false"},
        {R"({"elements": [{"type": 1, "A": 1}]})", "elements[0].A: only objects (6) and lamps (7)"},
        {R"({"elements": [{"type": 6, "unloadedName": 3}]})", "elements[0].unloadedName: must be a text"},
        {R"({"elements": [{"type": 6, "ifc": {"properties": [{"set": "s", "value": 1}]}}]})",
         "elements[0].ifc.properties[0].name: every property needs a set and a name"},
        {R"({"elements": [{"type": 6, "ifc": {"properties": [{"set": "s", "name": "n", "value": []}]}}]})",
         "elements[0].ifc.properties[0].value: must be a text, a number or true or false"},
        {R"({"elements": [{"type": 6, "ifc": {"attributes": [{"value": "x"}]}}]})",
         "elements[0].ifc.attributes[0].name: every attribute needs a name"},
        {R"({"elements": [{"type": 6, "ifc": {"classifications": [{}]}}]})",
         "elements[0].ifc.classifications[0].reference: every classification names"},
        {R"({"elements": [{"type": 1, "start": [1, 1], "end": [1, 1]}]})",
         "elements[0].end: a wall's end differs"},
        {R"({"elements": [{"type": 1, "thickness": -1}]})",
         "elements[0].thickness: must be a number above 0"},
        {R"({"elements": [{"type": 6, "thickness": 1}]})", "elements[0].thickness: only walls (1)"},
        {R"({"elements": [{"type": 6, "wall": "w"}]})", "elements[0].wall: only doors (5) and windows (4)"},
        {R"({"elements": [{"type": 5, "wall": "w"}]})",
         "elements[0].wall: no wall of its database is named \"w\""},
        {R"({"elements": [{"name": "w", "type": 6}, {"type": 4, "wall": "w"}]})",
         "elements[1].wall: no wall of its database"},
        {R"({"elements": [{"type": 4, "width": "wide"}]})", "elements[0].width: must be a number"},
        {R"({"elements": [{"type": 6, "line": []}]})",
         "elements[0].line: only section (25) and elevation (33)"},
        {R"({"elements": [{"type": 25, "line": [[0, 0]]}]})",
         "elements[0].line: a marker's line has at least two"},
        {R"({"elements": [{"type": 33, "line": [[0, 0], [1]]}]})",
         "elements[0].line[1]: must be a list of two"},
        {R"({"elements": [{"type": 6, "secondLine": []}]})",
         "elements[0].secondLine: only section (25) and elevation (33)"},
        {R"({"elements": [{"type": 33, "secondLine": [[0, 0], [1, 0]]}]})",
         "elements[0].secondLine: a marker with a second line has a line"},
        {R"({"elements": [{"type": 25, "line": [[0, 0], [1, 0]], "secondLine": [[0, 0], ["x", 1]]}]})",
         "elements[0].secondLine[1]: must be a list of two"},
        {R"({"elements": [{"type": 25, "bottom": 3, "top": 3}]})",
         "elements[0].top: must be above the bottom"},
        {R"({"elements": [{"type": 25, "pen": 0}]})", "elements[0].pen: must be an integer from 1 to 255"},
        {R"({"attributes": {"cities": [{"name": "x", "latitude": 91}]}})",
         "attributes.cities[0].latitude: must be a number from -90"},
        {R"({"attributes": {"layers": [{"name": "a", "locked": 1}]}})",
         "attributes.layers[0].locked: must be true or false"},
        {R"({"attributes": {"layerCombinations": [{"name": "c", "layers": [3]}]}})",
         "attributes.layerCombinations[0].layers[0]: must be an object"},
        {R"({"attributes": {"materials": [{"name": "m", "transparency": 101}]}})",
         "attributes.materials[0].transparency: must be an integer from 0 to 100"},
        {R"({"library": [{"name": "a", "parameters": [{"name": "n", "type": "real", "value": "x"}]}]})",
         "library[0].parameters[0].value: must be a number"},
        {R"({"library": [{"name": "a", "parameters": [{"name": "n", "type": "string", "values": ["x", 1], "rows": 2}]}]})",
         "library[0].parameters[0].values[1]: must be a text"},
        {R"({"library": [{"name": "a", "placeable": "yes"}]})",
         "library[0].placeable: must be true or false"},
        // Members that nothing reads, at every level.
        {R"({"element": []})", "bad.project.json\": unknown member \"element\" of a project description"},
        {R"({"elements": [{"type": 6, "positon": [1, 2]}]})",
         "elements[0]: unknown member \"positon\" of an element"},
        {R"({"elements": [{"type": 6, "pos\nition": [1, 2]}]})",
         "elements[0]: unknown member \"pos\\nition\" of an element"},
        {R"({"elements": [{"type": 6, "userData": {"txt": "x"}}]})",
         "elements[0].userData: unknown member \"txt\" of user data"},
        {R"({"elements": [{"type": 6, "ifc": {"property": []}}]})",
         "elements[0].ifc: unknown member \"property\" of IFC data"},
        {R"({"elements": [{"type": 6, "ifc": {"properties": [{"set": "s", "name": "n", "value": 1, "unit": "m"}]}}]})",
         "elements[0].ifc.properties[0]: unknown member \"unit\" of an IFC property"},
        {R"({"elements": [{"type": 6, "ifc": {"attributes": [{"name": "n", "valeu": "x"}]}}]})",
         "elements[0].ifc.attributes[0]: unknown member \"valeu\" of an IFC attribute"},
        {R"({"elements": [{"type": 6, "ifc": {"classifications": [{"reference": "r", "url": "x"}]}}]})",
         "elements[0].ifc.classifications[0]: unknown member \"url\" of an IFC classification"},
        {R"({"databases": [{"kind": "section", "name": "x", "titel": "t"}]})",
         "databases[0]: unknown member \"titel\" of a database"},
        {R"({"storeys": [{"levle": 0}]})", "storeys[0]: unknown member \"levle\" of a storey"},
        {R"({"attributes": {"pen": []}})", "attributes: unknown member \"pen\" of the attributes"},
        {R"({"attributes": {"pens": [{"name": "p", "color": [0, 0, 0]}]}})",
         "attributes.pens[0]: unknown member \"color\" of a pen"},
        {R"({"attributes": {"layers": [{"name": "l", "frozen": true}]}})",
         "attributes.layers[0]: unknown member \"frozen\" of a layer"},
        {R"({"attributes": {"layerCombinations": [{"name": "c", "layer": []}]}})",
         "attributes.layerCombinations[0]: unknown member \"layer\" of a layer combination"},
        {R"({"attributes": {"layers": [{"name": "l"}], "layerCombinations": [{"name": "c", "layers": [{"layer": "l", "hiden": true}]}]}})",
         "attributes.layerCombinations[0].layers[0]: unknown member \"hiden\" of a layer's state"},
        {R"({"attributes": {"cities": [{"name": "c", "lat": 1}]}})",
         "attributes.cities[0]: unknown member \"lat\" of a city"},
        {R"({"attributes": {"materials": [{"name": "m", "opacity": 1}]}})",
         "attributes.materials[0]: unknown member \"opacity\" of a material"},
        {R"({"library": [{"name": "a", "idd": "x"}]})",
         "library[0]: unknown member \"idd\" of a library part"},
        {R"({"library": [{"name": "a", "parameters": [{"name": "n", "type": "real", "valeu": 1}]}]})",
         "library[0].parameters[0]: unknown member \"valeu\" of a parameter"},
        {R"({"elements": [{"type": 6, "parameters": [{"name": "n", "type": "real", "default": 1}]}]})",
         "elements[0].parameters[0]: unknown member \"default\" of a parameter"},
        {R"({"library": [{"name": "a", "location": ")" + std::string(1025, 'x') + R"("}]})",
         "library[0].location: must be at most 1024 bytes"},
        // Names the file system would take only up to their NUL character, and a key given twice.
        {R"({"library": [{"name": "a", "file": "a.gsm\u0000.txt"}]})",
         "library[0].file: the text \"a.gsm\\x00.txt\" holds a NUL character"},
        {R"({"library": [{"name": "a", "location": "Parts/a.gsm\u0000.txt"}]})",
         "library[0].location: the text \"Parts/a.gsm\\x00.txt\" holds a NUL character"},
        // Texts the host keeps as C strings, which would end at the NUL.
        {R"({"elements": [{"type": 6, "ifc": {"classifications": [{"reference": "r", "location": "a\u0000b"}]}}]})",
         "elements[0].ifc.classifications[0].location: the text \"a\\x00b\" holds a NUL character"},
        {R"({"storeys": [{"name": "Ground\u0000floor"}]})",
         "storeys[0].name: the text \"Ground\\x00floor\" holds a NUL character"},
        {R"({"elements": [{"type": 6, "ifc": {"properties": [{"set": "s", "name": "n", "value": "AB\u0000CD"}]}}]})",
         "elements[0].ifc.properties[0].value: the text \"AB\\x00CD\" holds a NUL character"},
        {R"({"library": [{"name": "a", "parameters": [{"name": "n", "type": "string", "values": ["x", "y\u0000z"], "rows": 2}]}]})",
         "library[0].parameters[0].values[1]: the text \"y\\x00z\" holds a NUL character"},
        {R"({"storeys": [], "storeys": []})", "bad.project.json\" is not valid JSON: the key \"storeys\" "
                                              "appears twice in one object (line 1, column 17)"},
    };
    const std::filesystem::path opening = writeScenario("bad.json", R"({
            "addons": [{"name": "a", "bundle": ")" + (binaryDir / "sample_addon.so").string() +
                                                                        R"(", "developer": 1, "local": 2}],
            "steps": [{"project": "open", "description": "bad.project.json"}]})");
    for (const Case& c : cases) {
        writeScenario("bad.project.json", c.description);
        HostsimRun bad = runHostsim(opening);
        EXPECT_EQ(bad.status, 2) << c.description;
        EXPECT_TRUE(contains(bad.output, c.message)) << "missing: " << c.message << "\n" << bad.output;
        EXPECT_TRUE(contains(bad.output, "step 1: ")) << bad.output;
    }
    // A type the description gives is escaped as a code is.
    writeScenario(
        "bad.project.json",
        R"({"elements": [{"type": 6, "ifc": {"attributes": [{"name": "n", "type": "Ifc\nLabel"}]}}]})");
    HostsimRun typed = runHostsim(opening);
    EXPECT_TRUE(contains(typed.output, "\n      IFC attribute \"n\" Ifc\\nLabel\n")) << typed.output;
}

TEST(HostsimTest, RunsTheTwoAddonExample) {
    HostsimRun run = runHostsim(sourceDir / "examples" / "two-addons.json");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line : {
             "step 9: command GSUP version 1 of sample -> 0, answered",
             "step 10: command GSUP version 1 of sample -> 0, no answer", // without its parameters
             "  Joining add-on joined a supervisor of 2 members\n  Joining add-on took the announcement\n"
             "  Announcement taken\n",
             "unload: FreeData joiner -> 0\nunload: FreeData sample -> 0\n",
         }) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }
}

TEST(HostsimTest, EntryPointsAreCalledOnlyInTheHostsOrder) {
    struct Case {
        int application;
        const char* steps;
        const char* lines; // consecutive lines of the report
        const char* more = "";
    };
    const Case cases[] = {
        // An add-on that refuses to load gets only FreeData.
        {2, R"({"entry": "CheckEnvironment"}, {"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"},
               {"entry": "Initialize"})",
         "step 1: CheckEnvironment sample -> 0 name \"\" description \"\"\n"
         "step 2: CheckEnvironment sample -> not called (already called)\n"
         "step 3: RegisterInterface sample -> not called (the add-on refused to load)\n"
         "step 4: Initialize sample -> not called (the add-on refused to load)\n"
         "unload: FreeData sample -> 0\n"},
        {1, R"({"entry": "CheckEnvironment"}, {"entry": "Initialize"}, {"entry": "RegisterInterface"},
               {"menu": 32500, "item": 1}, {"command": "GSUP"}, {"command": "G\n\u0085"})",
         "step 2: Initialize sample -> not called (RegisterInterface not called)\n"
         "step 3: RegisterInterface sample -> 0\n"
         "step 4: menu 32500/1 -> not called (sample is not initialised)\n"
         "step 5: command GSUP version 1 of sample -> not called (sample is not initialised)\n"
         // A code holding a line break stays on its line.
         "step 6: command G\\n\\u0085 version 1 of sample -> not called (sample is not initialised)\n"},
        {1, R"({"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"entry": "Initialize"},
               {"entry": "RegisterInterface"}, {"entry": "Initialize"}, {"entry": "FreeData"},
               {"entry": "CheckEnvironment"}, {"entry": "Initialize"}, {"entry": "FreeData"},
               {"menu": 32500, "item": 1}, {"command": "GSUP"})",
         "step 4: RegisterInterface sample -> not called (already called)\n"
         "step 5: Initialize sample -> not called (already called)\nstep 6: FreeData sample -> 0\n"
         "step 7: CheckEnvironment sample -> not called (already called)\n"
         "step 8: Initialize sample -> not called (FreeData called)\n"
         "step 9: FreeData sample -> not called (already called)\n"
         "step 10: menu 32500/1 -> not called (sample was freed)\n"
         "step 11: command GSUP version 1 of sample -> not called (sample was freed)\nreport window:\n"},
        // After a failed entry point only FreeData is called.
        {1, R"({"entry": "CheckEnvironment"}, {"script": {"faults": [{"call": "ACAPI_Register_Menu"}]}},
               {"entry": "RegisterInterface"}, {"entry": "Initialize"})",
         "step 3: RegisterInterface sample -> 0x81060001\n"
         "step 4: Initialize sample -> not called (RegisterInterface failed)\n"
         "unload: FreeData sample -> 0\n"},
        // The command handler installed before Initialize failed is gone: the joining add-on finds
        // no supervisor to join.
        {1, R"({"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"},
               {"script": {"faults": [{"call": "ACAPI_Install_MenuHandler"}]}}, {"entry": "Initialize"},
               {"menu": 32500, "item": 1}, {"entry": "CheckEnvironment", "addon": "joiner"})",
         "step 4: Initialize sample -> 0x81060001\n"
         "step 5: menu 32500/1 -> not called (sample is not initialised)\n",
         "report window:\n  Joining add-on has a supervisor of its own\n"},
    };
    for (const Case& c : cases) {
        HostsimRun run = runHostsim(writeScenario(
            "entries.json", "{\"application\": " + std::to_string(c.application) + R"(,
                "addons": [{"name": "sample", "bundle": "sample_addon.so", "developer": 1514490966, "local": 100,
                            "resources": [")" +
                                (sourceDir / "tests" / "bundles" / "sample_addon.json").string() + R"("]},
                           {"name": "joiner", "bundle": "joining_addon.so", "developer": 1514490966, "local": 101}],
                "steps": [)" + c.steps +
                                "]}"));
        EXPECT_EQ(run.status, 0) << c.steps << "\n" << run.output;
        for (const char* lines : {c.lines, c.more}) {
            EXPECT_TRUE(contains(run.output, lines)) << "missing: " << lines << "\n" << run.output;
        }
    }

    // Menus whose items cannot be chosen, and why.
    const std::string zelvane = (sourceDir / "resources" / "zelvane.json").string();
    const struct {
        int application;
        std::string resources;
        const char* steps;
        std::string message;
    } menus[] = {
        // An add-on that refused to load registered no menu.
        {2, "[]",
         R"({"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"menu": 32500, "item": 1})",
         "step 3: menu 32500/1 cannot be chosen: no add-on registered the menu 32500: sample refused to load "
         "at step 1\n"},
        {1, "[]",
         R"({"entry": "CheckEnvironment"}, {"script": {"faults": [{"call": "ACAPI_Register_Menu"}]}},
            {"entry": "RegisterInterface"}, {"menu": 32500, "item": 1})",
         "step 4: menu 32500/1 cannot be chosen: no add-on registered the menu 32500: the RegisterInterface "
         "of "
         "sample failed at step 3\n"},
        // A menu registered that its resource files lack.
        {1, "[\"" + zelvane + "\"]",
         R"({"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"entry": "Initialize"},
            {"menu": 32500, "item": 1})",
         "step 4: menu 32500/1 cannot be chosen: the menu 32500 of add-on sample is in none of its resource "
         "files (\"" +
             zelvane + "\")\n"},
        {1, "[]",
         R"({"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"menu": 32500, "item": 1})",
         "step 3: menu 32500/1 cannot be chosen: the menu 32500 of add-on sample is in none of its resource "
         "files (it has none)\n"},
    };
    for (const auto& c : menus) {
        HostsimRun menu =
            runHostsim(writeScenario("menu.json", "{\"application\": " + std::to_string(c.application) + R"(,
                "addons": [{"name": "sample", "bundle": "sample_addon.so", "developer": 1514490966, "local": 100,
                            "resources": )" + c.resources +
                                                      R"(}],
                "steps": [)" + c.steps + "]}"));
        EXPECT_EQ(menu.status, 2) << c.steps << "\n" << menu.output;
        EXPECT_TRUE(contains(menu.output, c.message)) << "missing: " << c.message << "\n" << menu.output;
    }
}

TEST(HostsimTest, MalformedScenariosAndBundlesFailCleanly) {
    struct Case {
        const char* text;
        int status;
        const char* message;
        const char* sanitizer = ""; // AddressSanitizer's options for the play
    };
    const Case cases[] = {
        {"{\"addons\": [", 2, "not valid JSON"},
        {"{\"addons\": [],\n \"steps\": ]}", 2,
         "is not valid JSON: not well-formed JSON at line 2, column 11"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [], "steps": [{"menu": 32500, "item": 1}]})",
         2, "is not valid JSON: the key \"steps\" appears twice in one object (line 2, column 27)"},
        {"[]", 2, "must be an object"},
        // The report writes an add-on's name as it stands, at the start of its lines.
        {R"({"addons": [{"name": "a\nb", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": []})",
         2, "add-on 1: the name \"a\\nb\" holds a control character"},
        {R"({"addons": [{"name": "a\u2028b", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": []})",
         2, "add-on 1: the name \"a\\u2028b\" holds a control character or a line break"},
        {"{\"steps\": []}", 2, "\"addons\" is missing"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"menu\": 32500}]}",
         2, "step 1: \"item\" is missing"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"entry\": \"Start\"}]}",
         2, "unknown entry point"},
        // Members that nothing reads: misspelt, or of another kind of step.
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}], "steps": [],
             "report\u0085files": []})",
         2, "unknown member \"report\\u0085files\" of the scenario"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2,
             "resource": "x.json"}], "steps": []})",
         2, "add-on 1: unknown member \"resource\" of an add-on"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [{"menu": 32500, "item": 1, "itme": 2}]})",
         2, "step 1: unknown member \"itme\" of a \"menu\" step"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [{"menu": 32500, "item": 1, "addon": "a"}]})",
         2, "step 1: unknown member \"addon\" of a \"menu\" step"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [{"project": "open", "fl\nie": "A.pln"}]})",
         2, "step 1: unknown member \"fl\\nie\" of a \"project\" step"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [{"moduleData": {"text": "x", "verison": 2}}]})",
         2, "step 1: unknown member \"verison\" of module data"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [{"script": {"alert": [1]}}]})",
         2, "step 1: unknown member \"alert\" of a script"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [{"script": {"dialogs": {"32600": [[{"do": "setText", "item": 3, "txt": "x"}]]}}}]})",
         2, "step 1: dialog 32600: unknown member \"txt\" of a dialog action"},
        {R"({"addons": [{"name": "a", "bundle": "sample_addon.so", "developer": 1, "local": 2}],
             "steps": [{"script": {"faults": [{"call": "IO::FileSystem::Rename", "time": 2}]}}]})",
         2, "step 1: faults: unknown member \"time\" of a fault"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": -1, \"local\": "
         "2}], "
         "\"steps\": []}",
         2, "\"developer\" is out of range"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"command\": \"TOOLONG\"}]}",
         2, "not a four-character code"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2, "
         "\"resources\": \"bad0.json\"}], \"steps\": []}",
         2, "is not valid JSON"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"script\": {\"dialogs\": {\"32600\": [[{\"do\": \"wave\"}]]}}}]}",
         2, "unknown action \"wave\""},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"script\": {\"alerts\": [4]}}]}",
         2, "alert answers are buttons 1 to 3"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"no_such_bundle.so\", \"developer\": 1, \"local\": "
         "2}], "
         "\"steps\": []}",
         3, "cannot load bundle"},
        // The missing bundle's name stays on the message's line.
        {R"({"addons": [{"name": "a", "bundle": "gone\r\u0085.so", "developer": 1, "local": 2}], "steps": []})",
         3, "hostsim: cannot load bundle \"gone\\x0d\\u0085.so\": it is neither beside the scenario"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"libzelvane_host.so\", \"developer\": 1, \"local\": "
         "2}], "
         "\"steps\": []}",
         3, "lacks one of the four entry points"},
        // A copy of it, which loads beside hostsim's own and is unloaded again. Its globals stand
        // twice meanwhile, which AddressSanitizer would take for a violation of the one definition
        // rule, and the state it made for the process's life is left as it unloads.
        {R"({"addons": [{"name": "a", "bundle": "copy_of_host.so", "developer": 1, "local": 2}], "steps": []})",
         3, "lacks one of the four entry points", "detect_odr_violation=0:detect_leaks=0"},
    };
    const std::filesystem::path copy = sim::specialFolder("Temp") / "copy_of_host.so";
    std::filesystem::copy_file(binaryDir / "libzelvane_host.so", copy,
                               std::filesystem::copy_options::overwrite_existing);
    // However a play ends, its temporary sandbox is removed.
    const std::filesystem::path tmpdir = sim::specialFolder("Temp") / "bad-tmpdir";
    std::filesystem::create_directories(tmpdir);
    int index = 0;
    for (const Case& c : cases) {
        HostsimRun run = hostsim_test::runCommand(
            "TMPDIR=" + tmpdir.string() + " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}" + c.sanitizer +
            "\" " + (binaryDir / "hostsim").string() + " \"" +
            writeScenario("bad" + std::to_string(index++) + ".json", c.text).string() + "\" 2>&1");
        EXPECT_EQ(run.status, c.status) << c.text << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, c.message)) << c.text << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, "hostsim: ")) << run.output;
        EXPECT_TRUE(std::filesystem::is_empty(tmpdir)) << c.text;
    }
    std::filesystem::remove(copy);
    std::filesystem::remove_all(tmpdir);

    // No scenario at all, or one that cannot be read.
    struct Missing {
        std::filesystem::path scenario;
        int status;
        std::string message;
        std::string options = "";
        std::string shell = ""; // run before hostsim
    };
    const std::filesystem::path plain = writeScenario("plain\x9b.txt", "not a folder\n");
    const std::string temp = sim::specialFolder("Temp").string();
    std::vector<Missing> missing = {
        {"", 1, "usage: hostsim SCENARIO"},
        {temp + "/no_such\xff\xc0\x8a.json", 2,
         "cannot read the scenario \"" + temp + "/no_such\\xff\\xc0\\x8a.json\""},
        {writeScenario("missing-resources.json",
                       "{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, "
                       "\"local\": 2, \"resources\": \"no_such_resources.json\"}], \"steps\": []}"),
         2, "cannot read the resource file"},
        // A sandbox that is not a folder is a bad argument, not the scenario's fault.
        {sourceDir / "examples" / "sample.json", 1,
         "hostsim: cannot use the sandbox \"" + temp + "/plain\\x9b.txt\": it is not a folder\n",
         " --sandbox " + plain.string()},
        // An empty name is no name, not standard output or a temporary sandbox.
        {sourceDir / "examples" / "sample.json", 1, "hostsim: --report \"\" names no file\n", " --report ''"},
        {sourceDir / "examples" / "sample.json", 1, "hostsim: --sandbox \"\" names no file\n",
         " --sandbox \"\""},
        {sourceDir / "examples" / "sample.json", 1,
         "hostsim: cannot write the report to \"" + temp +
             "/sand\\x85-box/r.txt\": it lies in the sandbox \"" + temp + "/sand\\x85-box\"\n",
         " --sandbox " + temp + "/sand\x85-box --report " + temp + "/sand\x85-box/r.txt"},
    };
    // A sandbox that another user could exchange during the play, in a folder in which other users
    // may rename entries: nothing is made in it.
    const std::filesystem::path open = temp + "/open";
    std::filesystem::create_directories(open);
    std::filesystem::permissions(open, std::filesystem::perms::all);
    // A sandbox others may write in, sticky too, and one whose folders the umask leaves open to
    // them, which are removed again.
    const std::filesystem::path sticky = temp + "/sticky";
    std::filesystem::create_directories(sticky);
    ::chmod(sticky.c_str(), 01777);
    missing.push_back({sourceDir / "examples" / "sample.json", 1,
                       "hostsim: cannot use the sandbox \"" + sticky.string() +
                           "\": users other than its own and root may write in it\n",
                       " --sandbox " + sticky.string()});
    missing.push_back({sourceDir / "examples" / "sample.json", 1,
                       "hostsim: cannot use the sandbox \"" + temp + "/new/a/b\": another user may rename",
                       " --sandbox " + temp + "/new/a/b", "umask 000; "});
    missing.push_back({sourceDir / "examples" / "sample.json", 1,
                       "hostsim: cannot use the sandbox \"" + temp +
                           "/open/sandbox\": another user may rename "
                           "entries in \"" +
                           temp + "/open\": any user may write in it and it is not sticky\n",
                       " --sandbox " + temp + "/open/sandbox"});
    for (const Missing& m : missing) {
        HostsimRun run = hostsim_test::runCommand(m.shell + (binaryDir / "hostsim").string() + " \"" +
                                                  m.scenario.string() + "\"" + m.options + " 2>&1");
        EXPECT_EQ(run.status, m.status) << m.scenario << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, m.message)) << m.scenario << "\n" << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists(open / "sandbox"));
    EXPECT_FALSE(std::filesystem::exists(temp + "/new"));
    EXPECT_TRUE(std::filesystem::is_empty(sticky));
}

TEST(HostsimTest, ASandboxReachedThroughAnotherUsersLinkIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's link to the sandbox needs root, to give it away";
    }
    // Another user's link in a folder other users may write, to a folder of the player's, which the
    // host would fill: nothing is made in it.
    const std::string temp = sim::specialFolder("Temp").string();
    const std::filesystem::path shared = temp + "/shared", mine = temp + "/mine";
    std::filesystem::create_directories(shared);
    std::filesystem::create_directories(mine);
    ::chmod(shared.c_str(), 01777);
    ::chmod(mine.c_str(), 0700);
    std::filesystem::create_symlink(mine, shared / "sandbox");
    ASSERT_EQ(::lchown((shared / "sandbox").c_str(), 4242, 4242), 0);
    HostsimRun run = hostsim_test::runCommand((binaryDir / "hostsim").string() + " \"" +
                                              (sourceDir / "examples" / "sample.json").string() +
                                              "\" --sandbox " + (shared / "sandbox").string() + " 2>&1");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(
        contains(run.output, "hostsim: cannot use the sandbox \"" + temp +
                                 "/shared/sandbox\": it leads through another user's link in a folder "
                                 "other users may write, which is not followed\n"))
        << run.output;
    EXPECT_TRUE(std::filesystem::is_empty(mine));
}

namespace {

// A scenario of one add-on with the given steps, and more of the add-on's fields.
std::string oneAddon(const std::string& steps, const std::string& fields = "") {
    return "{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2" +
           fields + "}], \"steps\": [" + steps + "]}";
}

// Objects or arrays nested `depth` deep.
std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += i % 2 == 0 ? "[" : "{\"k\":";
    }
    text += "0";
    for (int i = depth - 1; i >= 0; --i) {
        text += i % 2 == 0 ? "]" : "}";
    }
    return text;
}

// A FIFO at `path` that a thread waits to write `text` to: a hostsim that read it would get the text
// and go on rather than wait for a writer. At the end the thread is let go with a reader of its own.
class FedFifo {
public:
    FedFifo(const std::filesystem::path& path, const std::string& text) : m_path(path) {
        std::filesystem::remove(path);
        if (::mkfifo(path.c_str(), 0600) == 0) {
            m_writer = std::thread([path, text] {
                int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
                if (fd >= 0) {
                    EXPECT_EQ(::write(fd, text.data(), text.size()), ssize_t(text.size()));
                    ::close(fd);
                }
            });
        }
    }
    ~FedFifo() {
        int reader = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_writer.joinable()) {
            m_writer.join();
        }
        if (reader >= 0) {
            ::close(reader);
        }
        std::filesystem::remove(m_path);
    }

private:
    std::filesystem::path m_path;
    std::thread m_writer;
};

// Folder permissions hold for root too while it lives: the effective capabilities that let root
// read and write any folder are set aside.
class FolderPermissionsHold {
public:
    FolderPermissionsHold() {
        ::syscall(SYS_capget, &m_header, m_kept);
        __user_cap_data_struct lowered[2] = {m_kept[0], m_kept[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        EXPECT_EQ(::syscall(SYS_capset, &m_header, lowered), 0);
    }
    ~FolderPermissionsHold() { ::syscall(SYS_capset, &m_header, m_kept); }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_kept[2] = {};
};

// A scenario hostsim refuses, with what it tells and its exit status.
struct HostileCase {
    std::string text;
    std::string message;
    int status = 2;
};

// Plays each case, which ends with its message and no report.
void checkHostileCases(const std::vector<HostileCase>& cases) {
    int index = 0;
    for (const HostileCase& c : cases) {
        HostsimRun run = runHostsim(writeScenario("hostile" + std::to_string(index++) + ".json", c.text));
        EXPECT_EQ(run.status, c.status) << c.text.substr(0, 300) << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, c.message)) << c.message << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, "hostsim: ")) << run.output;
        EXPECT_FALSE(contains(run.output, "hostsim report:")) << "no report for a failed scenario\n"
                                                              << run.output;
    }
}

} // namespace

TEST(HostsimTest, HostileInputEndsWithAMessageAndNothingWritten) {
    const std::filesystem::path temp = sim::specialFolder("Temp");
    std::filesystem::create_directories(temp / "folder.json");
    std::ofstream(temp / "deep-resources.json") << "{\"strings\": {}, \"unread\": " << nested(30000) << "}";
    std::ofstream(temp / "shallow-resources.json") << "{\"strings\": {}, \"read\": " << nested(200) << "}";
    // Files that are not regular ones, and one larger than hostsim reads (holding no block).
    const FedFifo fifo(temp / "fifo.json", "{}");
    const FedFifo fifoBundle(temp / "fifo.so", "{}");
    std::filesystem::remove(temp / "huge.json");
    std::ofstream(temp / "huge.json") << "{}";
    std::filesystem::resize_file(temp / "huge.json", hostsim::inputFileLimit + 1);
    const std::filesystem::path outside = temp / "outside.pln";
    std::vector<HostileCase> cases = {
        // Files that are folders, and nesting beyond the bound in a key no step reads.
        {oneAddon("", ", \"resources\": \"folder.json\""), "is a folder, not a file"},
        {"{\"unread\": " + nested(30000) + ", " + oneAddon("").substr(1), "nested deeper than 256 levels"},
        {oneAddon("", ", \"resources\": [\"shallow-resources.json\", \"deep-resources.json\"]"),
         "deep-resources.json\" is not valid JSON: nested deeper than 256 levels"},
        {oneAddon("", ", \"resources\": \"fifo.json\""), "fifo.json\" is a FIFO, not a file"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"fifo.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": []}",
         "fifo.so\": it is a FIFO, not a file", 3},
        {oneAddon("", ", \"resources\": \"huge.json\""),
         "huge.json\" holds more than the 64 MiB hostsim reads"},
        {oneAddon("{\"hostFile\": \"Sample/x.txt\", \"text\": \"a\"}, {\"hostFile\": \"Sample\", \"text\": "
                  "\"b\"}"),
         "/Preferences/Sample\": it is a folder, not a file"},
        // Integers of 2^63 and more, and reals, where integers are read.
        {oneAddon("{\"moduleData\": {\"text\": \"x\", \"version\": 18446744073709551615}}"),
         "step 1: moduleData: \"version\" is out of range"},
        {oneAddon("{\"script\": {\"dialogs\": {\"32600\": [[{\"do\": \"click\", \"item\": "
                  "18446744073709551615}]]}}}"),
         "dialog 32600: \"item\" is out of range"},
        {oneAddon("{\"script\": {\"dialogs\": {\"32600\": [[{\"do\": \"setText\", \"value\": "
                  "9223372036854775808}]]}}}"),
         "dialog 32600: \"value\" is out of range"},
        {oneAddon("{\"command\": \"GSUP\", \"parameters\": {\"n\": 18446744073709551615}}"),
         "parameter \"n\" is out of range"},
        {oneAddon("{\"command\": \"GSUP\", \"version\": 9223372036854775809}"),
         "\"version\" is out of range"},
        // A parameter the host could not add to the command's list.
        {oneAddon(
             "{\"entry\": \"CheckEnvironment\"}, {\"entry\": \"RegisterInterface\"}, {\"entry\": "
             "\"Initialize\"}, {\"script\": {\"faults\": [{\"call\": \"ACAPI_Goodies\", \"skip\": 1}]}}, "
             "{\"command\": \"GSUP\", \"parameters\": {\"n\": 1}}"),
         "step 5: the host could not add the parameter \"n\" to the command's list (error 0x"},
        {oneAddon("{\"script\": {\"alerts\": [18446744073709551617]}}"), "alert answers are buttons 1 to 3"},
        {oneAddon("{\"menu\": 32500.5, \"item\": 1}"), "\"menu\" must be an integer"},
        // Two add-ons on one bundle file.
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}, "
         "{\"name\": \"b\", \"bundle\": \"./sample_addon.so\", \"developer\": 1, \"local\": 3}], \"steps\": "
         "[]}",
         "add-ons \"a\" and \"b\" name the same bundle file"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"gone.so\", \"developer\": 1, \"local\": 2}, "
         "{\"name\": \"b\", \"bundle\": \"./gone.so\", \"developer\": 1, \"local\": 3}], \"steps\": []}",
         "add-ons \"a\" and \"b\" name the same bundle file"},
        // Projects outside the sandbox, without a name, or in a folder that does not exist.
        {oneAddon("{\"project\": \"open\", \"file\": \"" + outside.string() + "\"}"), "is absolute"},
        {oneAddon("{\"project\": \"open\", \"file\": \"../../outside.pln\"}"), "leads out of the sandbox"},
        {oneAddon("{\"project\": \"open\", \"file\": \"\"}"), "the file \"\" is empty"},
        {oneAddon("{\"project\": \"open\", \"file\": \"plans/..\"}"), "names a folder"},
        // A name the file system would take only up to its NUL character.
        {oneAddon("{\"project\": \"open\", \"file\": \"House.pln\\u0000.txt\"}"),
         "the file \"House.pln\\x00.txt\" holds a NUL character"},
        // Names of files hostsim only reads are refused too, rather than read up to the NUL.
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\\u0000.txt\", \"developer\": 1, "
         "\"local\": 2}], \"steps\": []}",
         "add-on 1: the file \"sample_addon.so\\x00.txt\" holds a NUL character"},
        {oneAddon("", ", \"resources\": [\"" + (sourceDir / "resources" / "zelvane.json").string() +
                          "\\u0000.txt\"]"),
         "zelvane.json\\x00.txt\" holds a NUL character"},
        {oneAddon("{\"project\": \"new\", \"description\": \"" +
                  (sourceDir / "examples" / "house.project.json").string() + "\\u0000.txt\"}"),
         "step 1: the file \"" + (sourceDir / "examples").string() +
             "/house.project.json\\x00.txt\" holds a NUL"},
        {oneAddon(
             "{\"entry\": \"CheckEnvironment\"}, {\"project\": \"open\", \"file\": \"missing/House.pln\"}"),
         "step 2: cannot write the project file"},
    };
    // Two add-ons on one bundle file under two names, hard links of each other.
    const std::filesystem::path shared = temp / "shared";
    std::filesystem::create_directories(shared);
    std::filesystem::copy_file(binaryDir / "sample_addon.so", shared / "one.so");
    std::filesystem::create_hard_link(shared / "one.so", shared / "two.so");
    cases.push_back({"{\"addons\": [{\"name\": \"a\", \"bundle\": \"" + (shared / "one.so").string() +
                         "\", \"developer\": 1, \"local\": 2}, {\"name\": \"b\", \"bundle\": \"" +
                         (shared / "two.so").string() +
                         "\", \"developer\": 1, \"local\": 3}], \"steps\": []}",
                     "add-ons \"a\" and \"b\" name the same bundle file"});
    checkHostileCases(cases);
    EXPECT_FALSE(std::filesystem::exists(outside));
    std::filesystem::remove(temp / "huge.json");

    // The scenario itself a folder, or nested beyond the bound.
    std::ofstream(temp / "deep-scenario.json") << nested(30000);
    for (const char* name : {"folder.json", "deep-scenario.json"}) {
        HostsimRun run = runHostsim(temp / name);
        EXPECT_EQ(run.status, 2) << name << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, (temp / name).string())) << run.output;
    }
    std::filesystem::remove_all(shared);
}

TEST(HostsimTest, HostileInputOfADeviceOrAnotherUsersBundleEndsWithAMessage) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to make a device node and give a bundle to another user";
    }
    const std::filesystem::path temp = sim::specialFolder("Temp");
    // A device of the test's own, as the system's could be named.
    const std::string null = (temp / "null").string();
    ASSERT_EQ(::mknod(null.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
    // Another user's bundle in a folder that any user may write (sticky), which may have been put
    // there to be loaded as the player's.
    const std::filesystem::path shared = temp / "shared";
    std::filesystem::create_directories(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    std::filesystem::copy_file(binaryDir / "sample_addon.so", shared / "theirs.so");
    ASSERT_EQ(::chown((shared / "theirs.so").c_str(), 4242, 4242), 0);
    checkHostileCases({
        {oneAddon("{\"project\": \"new\", \"description\": \"" + null + "\"}"),
         "step 1: the project description \"" + null + "\" is a device, not a file"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"" + (shared / "theirs.so").string() +
             "\", \"developer\": 1, \"local\": 2}], \"steps\": []}",
         "theirs.so\": it is another user's, in a folder other users may write", 3},
    });
    std::filesystem::remove_all(shared);
}

namespace {

// A report hostsim does not write, named with a scenario that would fail as it plays: it fails
// before the play, telling why, and leaves what it names, a FIFO's reader getting nothing.
void checkRefusedReports(const std::vector<std::pair<std::filesystem::path, std::string>>& refused) {
    const std::filesystem::path fails =
        writeScenario("fails.json", oneAddon("{\"entry\": \"CheckEnvironment\"}, {\"project\": \"open\", "
                                             "\"file\": \"missing/House.pln\"}"));
    for (const auto& [report, message] : refused) {
        struct stat before {};
        ::lstat(report.c_str(), &before);
        const int reader =
            S_ISFIFO(before.st_mode) ? ::open(report.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
        HostsimRun run = runHostsim(fails, " --report " + report.string());
        EXPECT_EQ(run.status, 1) << report << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, "cannot write \"" + report.string() + "\": " + message))
            << run.output;
        struct stat after {};
        ::lstat(report.c_str(), &after);
        EXPECT_EQ(after.st_mode, before.st_mode) << report;
        EXPECT_EQ(after.st_ino, before.st_ino) << report;
        if (reader >= 0) {
            char received = 0;
            EXPECT_LE(::read(reader, &received, 1), 0) << report;
            ::close(reader);
        }
    }
}

} // namespace

TEST(HostsimTest, AReportFileIsWrittenWholeOrNotAtAll) {
    const std::filesystem::path temp = sim::specialFolder("Temp");
    const std::filesystem::path reportFile = temp / "report.txt";
    const std::string toFile = " --report " + reportFile.string();
    auto fileText = [&reportFile] {
        std::ifstream in(reportFile);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    // A file named as the report with a suffix is not hostsim's: it is left as it was.
    std::filesystem::path part = reportFile;
    part += ".part";
    std::ofstream(part) << "not the report's\n";
    auto partKept = [&part] {
        std::ifstream in(part);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) ==
               "not the report's\n";
    };
    const std::filesystem::path played =
        writeScenario("reported.json", oneAddon("{\"entry\": \"CheckEnvironment\"}"));
    HostsimRun printed = runHostsim(played);
    ASSERT_EQ(printed.status, 0) << printed.output;
    HostsimRun written = runHostsim(played, toFile);
    ASSERT_EQ(written.status, 0) << written.output;
    EXPECT_EQ(written.output, "");
    EXPECT_EQ(fileText(), printed.output);
    EXPECT_TRUE(partKept());

    // A scenario that fails while it plays leaves the report that was there, and nothing beside it.
    const std::filesystem::path fails =
        writeScenario("fails.json", oneAddon("{\"entry\": \"CheckEnvironment\"}, {\"project\": \"open\", "
                                             "\"file\": \"missing/House.pln\"}"));
    HostsimRun failed = runHostsim(fails, toFile);
    EXPECT_EQ(failed.status, 2) << failed.output;
    EXPECT_TRUE(contains(failed.output, "step 2: cannot write the project file")) << failed.output;
    EXPECT_EQ(fileText(), printed.output);
    EXPECT_TRUE(partKept());
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(temp)) {
        EXPECT_NE(entry.path().filename().string().rfind(".report.txt", 0), 0u) << entry.path();
    }

    // A report that cannot be made, or names what hostsim does not write, fails before the
    // scenario plays, so that the scenario's own failure never comes, and leaves what it names.
    namespace fs = std::filesystem;
    std::ofstream(temp / "plain.txt") << "plain\n";
    std::vector<std::pair<fs::path, std::string>> refused{
        {temp, "it is a folder"},
        {temp / "missing" / "report.txt", "No such file or directory"},
        {temp / "plain.txt" / "report.txt", "Not a directory"},
        // A name that fits, but not once the suffix of the file written beside it is added.
        {temp / std::string(250, 'r'), "File name too long"},
    };
    // A socket, where its name fits.
    const fs::path socketPath = temp / "socket";
    ::unlink(socketPath.c_str());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketPath.string().size() < sizeof address.sun_path) {
        socketPath.string().copy(address.sun_path, sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        refused.emplace_back(socketPath, "it is a socket, not a file, a FIFO or a character device");
    }
    ::close(socket);
    // The permission bits decide for a FIFO too: a read-only one with a reader.
    ASSERT_EQ(::mkfifo((temp / "read-only-fifo").c_str(), 0444), 0);
    refused.emplace_back(temp / "read-only-fifo", "its permissions do not let this user write it");
    checkRefusedReports(refused);
    EXPECT_FALSE(fs::exists(temp / "missing"));

    // A report that would replace a file the scenario reads, named by another spelling, a link or
    // another hard link, or a file of the sandbox, fails before the scenario plays and leaves the
    // file as it was.
    const fs::path inputs = temp / "inputs";
    fs::remove_all(inputs);
    fs::create_directories(inputs);
    // A copy of the player's, so that only its being read refuses it, whoever plays.
    fs::copy_file(binaryDir / "sample_addon.so", inputs / "my.so");
    std::ofstream(inputs / "res.json") << "{\"strings\": {}}";
    std::ofstream(inputs / "house.json.part")
        << R"({"library": [{"name": "Starter", "type": "macro", "location": "starter.xml"}]})";
    std::ofstream(inputs / "starter.xml") << "<presets/>";
    fs::create_symlink(inputs / "res.json", inputs / "res-link.json");
    fs::create_hard_link(inputs / "house.json.part", inputs / "house-link.json");
    const fs::path sandbox = inputs / "sandbox";
    fs::create_directories(sandbox / "Preferences");
    std::ofstream(sandbox / "Preferences" / "prefs.xml") << "<prefs/>";
    fs::create_symlink(sandbox / "Preferences" / "prefs.xml", inputs / "prefs-link.xml");
    const fs::path scenario = inputs / "scenario.json";
    std::ofstream(scenario) << R"({"addons": [{"name": "a", "bundle": "my.so", "developer": 1, "local": 2,
        "resources": "res.json"}], "steps": [{"project": "new", "description": "house.json.part"}]})";
    struct Input {
        fs::path report;
        fs::path input;
        std::string message;
    };
    const Input named[] = {
        {inputs / ".." / "inputs" / "scenario.json", scenario, "it is the scenario"},
        {inputs / "." / "my.so", inputs / "my.so", "it is the bundle of add-on \"a\""},
        {inputs / "res-link.json", inputs / "res.json", "it is a resource file of add-on \"a\""},
        {inputs / "house-link.json", inputs / "house.json.part", "it is the project description of step 1"},
        {inputs / "starter.xml", inputs / "starter.xml",
         "it is the file of library part \"Starter\" in the project description of step 1"},
        {sandbox / "Preferences" / ".." / "Preferences" / "prefs.xml", sandbox / "Preferences" / "prefs.xml",
         "it lies in the sandbox \"" + sandbox.string() + "\""},
        // A link outside to a file of the sandbox, which the report would replace.
        {inputs / "prefs-link.xml", sandbox / "Preferences" / "prefs.xml",
         "it lies in the sandbox \"" + sandbox.string() + "\""},
    };
    for (const Input& n : named) {
        // The size and time of a file tell it from a report written in its place.
        const auto kept = std::make_pair(fs::file_size(n.input), fs::last_write_time(n.input));
        HostsimRun run =
            runHostsim(scenario, " --report " + n.report.string() + " --sandbox " + sandbox.string());
        EXPECT_EQ(run.status, 1) << n.report << "\n" << run.output;
        EXPECT_TRUE(
            contains(run.output, "cannot write the report to \"" + n.report.string() + "\": " + n.message))
            << run.output;
        EXPECT_TRUE(std::make_pair(fs::file_size(n.input), fs::last_write_time(n.input)) == kept) << n.report;
    }
}

TEST(HostsimTest, AReportNamingADeviceOrAnotherUsersFifoIsRefusedBeforeThePlay) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to make a device node and give a FIFO to another user";
    }
    namespace fs = std::filesystem;
    const fs::path temp = sim::specialFolder("Temp");
    // A block device of no driver, so that nothing reaches a disk should it be written, and a
    // read-only device of /dev/null's number: the permission bits decide for root as well.
    ASSERT_EQ(::mknod((temp / "block").c_str(), S_IFBLK | 0600, makedev(0, 0)), 0);
    ASSERT_EQ(::mknod((temp / "read-only-device").c_str(), S_IFCHR | 0444, makedev(1, 3)), 0);
    std::vector<std::pair<fs::path, std::string>> refused{
        {temp / "block", "it is a block device, not a file, a FIFO or a character device"},
        {temp / "read-only-device", "its permissions do not let this user write it"},
    };
    // Another user's FIFO that any user may write, with a reader, in a folder of the player's that
    // any user may write, sticky or not, may have been put there to take the report.
    for (const auto& [name, mode] : {std::make_pair("shared", 01777), std::make_pair("open", 0777)}) {
        const fs::path fifo = temp / name / "fifo";
        fs::create_directories(fifo.parent_path());
        ASSERT_EQ(::chmod(fifo.parent_path().c_str(), mode_t(mode)), 0);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
        ASSERT_EQ(::chown(fifo.c_str(), 4242, 4242), 0);
        ASSERT_EQ(::chmod(fifo.c_str(), 0666), 0);
        refused.emplace_back(fifo, "it is another user's, in a folder other users may write");
    }
    checkRefusedReports(refused);
}

namespace {

// The report written to a node of each kind, named itself or through a link: the rows of a device,
// which needs root to be made, or the others.
void writeReportsToNodes(bool rootRows) {
    namespace fs = std::filesystem;
    const fs::path folder = sim::specialFolder("Temp") / "report-kinds";
    const fs::path played = writeScenario("kinds.json", oneAddon("{\"entry\": \"CheckEnvironment\"}"));
    const std::string expected = runHostsim(played).output;
    const std::vector<fs::path> fails{
        writeScenario("kinds-unread.json", "["),
        writeScenario("kinds-fails.json", oneAddon("{\"project\": \"open\", "
                                                   "\"file\": \"missing/House.pln\"}"))};
    // A FIFO and a character device (that of /dev/null, made here) are written in place, a link
    // to one too (as /dev/stdout is); a link to a file replaces the file and stays, a dangling one
    // makes it.
    enum Kind { Fifo, Device, File, Missing };
    for (const Kind kind : {Fifo, Device, File, Missing}) {
        if ((kind == Device) != rootRows) {
            continue;
        }
        for (const bool link : {false, true}) {
            fs::remove_all(folder);
            fs::create_directories(folder);
            const fs::path node = folder / "node";
            if (kind == Device) {
                ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
            } else if (kind == Fifo) {
                ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
            } else if (kind == File) {
                std::ofstream(node) << "old\n";
            }
            const fs::path report = link ? folder / "link" : node;
            if (link) {
                fs::create_symlink(node, report);
            }
            // A scenario that fails lets a reader waiting on the FIFO see its end.
            for (const fs::path& failing : kind == Fifo ? fails : std::vector<fs::path>{}) {
                const int waiting = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                EXPECT_EQ(runHostsim(failing, " --report " + report.string()).status, 2);
                pollfd end{waiting, POLLIN, 0};
                EXPECT_EQ(::poll(&end, 1, 0), 1) << failing;
                EXPECT_EQ(end.revents, POLLHUP) << failing;
                ::close(waiting);
            }
            // A FIFO that no process reads is refused before the scenario plays (this one fails as
            // it plays), never waited on (the timeout ends a hostsim that would wait).
            if (kind == Fifo) {
                HostsimRun unread = hostsim_test::runCommand(
                    "timeout 60 " + (binaryDir / "hostsim").string() + " " + fails.back().string() +
                    " --report " + report.string() + " 2>&1");
                EXPECT_EQ(unread.status, 1) << unread.output;
                EXPECT_EQ(unread.output, "hostsim: cannot write \"" + report.string() +
                                             "\": it is a FIFO that no process reads\n");
            }
            // A reader waiting, whom the report reaches only through the FIFO itself.
            const int reader = kind == Fifo ? ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
            struct stat before {};
            ::lstat(node.c_str(), &before);
            HostsimRun run = runHostsim(played, " --report " + report.string());
            SCOPED_TRACE(std::to_string(kind) + (link ? " through a link" : ""));
            EXPECT_EQ(run.status, 0) << run.output;
            std::string received;
            char buffer[4096];
            for (ssize_t n; reader >= 0 && (n = ::read(reader, buffer, sizeof buffer)) > 0;) {
                received.append(buffer, std::size_t(n));
            }
            ::close(reader);
            if (kind == File || kind == Missing) {
                std::ifstream in(node);
                received.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
            EXPECT_EQ(received, kind == Device ? "" : expected);
            struct stat after {};
            ASSERT_EQ(::lstat(node.c_str(), &after), 0);
            EXPECT_EQ(after.st_mode & S_IFMT, kind == Missing ? S_IFREG : before.st_mode & S_IFMT);
            EXPECT_EQ(after.st_rdev, before.st_rdev);
            if (link) {
                EXPECT_EQ(fs::read_symlink(report), node);
            }
        }
    }
    fs::remove_all(folder);
}

} // namespace

TEST(HostsimTest, AReportIsWrittenAsTheKindOfFileItNames) {
    writeReportsToNodes(false);
    namespace fs = std::filesystem;
    const fs::path folder = sim::specialFolder("Temp") / "report-kinds";
    fs::create_directories(folder);
    const fs::path played = writeScenario("kinds.json", oneAddon("{\"entry\": \"CheckEnvironment\"}"));
    const std::string expected = runHostsim(played).output;

    // /dev/stdout names the file the process holds as standard output, which the report goes
    // into: a pipe, or a file at its end, as the shell's redirection to it writes.
    const std::string toStdout = " " + played.string() + " --report /dev/stdout";
    HostsimRun piped = runHostsimWith(toStdout, " 2>/dev/null");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.output, expected);
    const fs::path redirected = folder / "redirected.txt";
    std::ofstream(redirected) << "before\n";
    for (const char* redirection : {" >>", " >"}) {
        HostsimRun run = runHostsimWith(toStdout, redirection + redirected.string() + " 2>&1");
        EXPECT_EQ(run.status, 0) << redirection << run.output;
        std::ifstream in(redirected);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                  (std::string(redirection) == " >>" ? "before\n" : "") + expected)
            << redirection;
    }

    // Standard output whose reader has gone fails the report's write, which hostsim tells (status
    // 4) instead of dying of SIGPIPE; with standard error on the same pipe, the message is dropped.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const std::string gonePipe = std::to_string(ends[1]);
    const std::pair<std::string, std::string> goneCases[] = {
        {" 2>&1 >&" + gonePipe, "hostsim: cannot write the report to standard output: Broken pipe\n"},
        {" >&" + gonePipe + " 2>&1", ""},
    };
    for (const auto& [streams, told] : goneCases) {
        HostsimRun gone = runHostsimWith(" " + played.string(), streams);
        EXPECT_EQ(gone.status, 4) << streams;
        EXPECT_EQ(gone.output, told) << streams;
    }
    ::close(ends[1]);

    // A report larger than a FIFO's buffer, whose reader takes none of it until the buffer is
    // full: a reader that then reads gets it whole (hostsim waits for it, as a shell's redirection
    // would), and one that then leaves fails the write, which hostsim tells (status 4).
    const fs::path sandbox = folder / "sandbox";
    fs::create_directories(sandbox / "Documents");
    {
        std::ofstream big(sandbox / "Documents" / "big.txt");
        for (int line = 0; line < 8192; ++line) {
            big << "line " << line << " of a report larger than a FIFO's buffer\n";
        }
    }
    const fs::path bigReport =
        writeScenario("kinds-big.json", "{\"reportFiles\": [\"big.txt\"], " + oneAddon("").substr(1));
    const std::string sandboxed = " " + bigReport.string() + " --sandbox " + sandbox.string();
    const std::string whole = runHostsimWith(sandboxed, " 2>/dev/null").output;
    const fs::path fifo = folder / "slow-fifo";
    for (const bool leaves : {false, true}) {
        SCOPED_TRACE(leaves ? "a reader that leaves" : "a reader that reads late");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        std::atomic<bool> done{false};
        HostsimRun run;
        std::thread player([&] {
            run = runHostsimWith(sandboxed + " --report " + fifo.string());
            done = true;
        });
        const int capacity = ::fcntl(reader, F_GETPIPE_SZ);
        int queued = 0;
        while (!done && (::ioctl(reader, FIONREAD, &queued) != 0 || queued < capacity)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::string received;
        if (!leaves) {
            ASSERT_EQ(::fcntl(reader, F_SETFL, O_RDONLY), 0);
            char buffer[4096];
            for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) {
                received.append(buffer, std::size_t(n));
            }
        }
        ::close(reader);
        player.join();
        fs::remove(fifo);
        EXPECT_GT(whole.size(), std::size_t(capacity));
        if (leaves) {
            EXPECT_EQ(run.status, 4);
            EXPECT_EQ(run.output, "hostsim: cannot write \"" + fifo.string() + "\": Broken pipe\n");
        } else {
            EXPECT_EQ(run.status, 0) << run.output;
            EXPECT_TRUE(received == whole) << received.size() << " bytes of " << whole.size();
        }
    }
    fs::remove_all(folder);
}

TEST(HostsimTest, AReportIsWrittenInPlaceToADeviceItNames) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to make a device node";
    }
    writeReportsToNodes(true);
}

namespace {

const uid_t self = ::geteuid();
const uid_t other = self == 4242 ? 4243 : 4242;
const std::string notWritable = "its permissions do not let this user write it";
const std::string notOwned = "it is another user's, in a folder other users may write, and may have been "
                             "put there to be taken for this user's";

struct ReplacedCase {
    mode_t mode;
    uid_t owner;               // of the file
    const char* refused;       // the reason, nullptr when the file is replaced
    mode_t kept = 0;           // the new file's mode
    mode_t folder = 0755;      // the mode of the file's folder
    bool othersFolder = false; // the folder is the other user's, not the player's
};

// Writes the report, and a hostFile step, over a file of each case's mode and owner.
void checkReplacedFiles(const std::vector<ReplacedCase>& cases) {
    namespace fs = std::filesystem;
    const fs::path temp = sim::specialFolder("Temp");
    const fs::path sandbox = temp / "mode-sandbox";
    const fs::path notes = sandbox / "Documents" / "notes.txt";
    const fs::path report = temp / "mode-report" / "report.txt";
    const fs::path hostFile = writeScenario(
        "modes.json",
        oneAddon("{\"hostFile\": \"notes.txt\", \"folder\": \"Documents\", \"text\": \"renewed\"}"));
    const fs::path played = writeScenario("modes-played.json", oneAddon("{\"entry\": \"CheckEnvironment\"}"));
    // Fails as it plays: a report refused before comes first.
    const fs::path fails = writeScenario(
        "modes-fails.json", oneAddon("{\"project\": \"open\", \"file\": \"missing/House.pln\"}"));
    for (const ReplacedCase& c : cases) {
        for (const bool isReport : {true, false}) {
            const fs::path& file = isReport ? report : notes;
            std::ostringstream trace;
            trace << file.string() << " of user " << c.owner << ", mode " << std::oct << c.mode
                  << " in a folder " << c.folder << (c.othersFolder ? " of the other user" : "");
            SCOPED_TRACE(trace.str());
            fs::remove_all(sandbox);
            fs::remove_all(report.parent_path());
            fs::create_directories(file.parent_path());
            const gid_t group = c.owner == self ? ::getegid() : gid_t(c.owner);
            const uid_t folderOwner = c.othersFolder ? other : self;
            ASSERT_EQ(
                ::chown(file.parent_path().c_str(), folderOwner, c.othersFolder ? gid_t(other) : ::getegid()),
                0);
            ASSERT_EQ(::chmod(file.parent_path().c_str(), c.folder), 0);
            std::ofstream(file) << "old";
            ASSERT_EQ(::chown(file.c_str(), c.owner, group), 0);
            ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
            struct stat before {};
            ASSERT_EQ(::stat(file.c_str(), &before), 0);
            const std::string options = " --sandbox " + sandbox.string();
            HostsimRun run =
                isReport ? runHostsim(c.refused ? fails : played, options + " --report " + file.string())
                         : runHostsim(hostFile, options);
            struct stat after {};
            ASSERT_EQ(::stat(file.c_str(), &after), 0);
            if (c.refused != nullptr) {
                // The report before anything is played, the file step when it comes; a sandbox
                // whose Documents is another user's before anything is played too.
                const bool sandboxRefused = !isReport && c.othersFolder;
                EXPECT_EQ(run.status, isReport || sandboxRefused ? 1 : 2) << run.output;
                EXPECT_TRUE(contains(run.output, sandboxRefused
                                                     ? "its folder \"" + file.parent_path().string() +
                                                           "\": it is another user's entry"
                                                     : "cannot write " +
                                                           std::string(isReport ? "" : "the host file ") +
                                                           "\"" + file.string() + "\": " + c.refused))
                    << run.output;
                EXPECT_EQ(after.st_ino, before.st_ino);
                EXPECT_EQ(after.st_size, 3);
                EXPECT_EQ(after.st_uid, c.owner);
                continue;
            }
            EXPECT_EQ(run.status, 0) << run.output;
            EXPECT_EQ(after.st_mode & 07777, c.kept);
            // The new text, not the old one.
            EXPECT_TRUE(isReport ? after.st_size > 7 : after.st_size == 7);
            EXPECT_EQ(after.st_uid, c.owner);
            EXPECT_EQ(after.st_gid, group);
        }
    }
    fs::remove_all(sandbox);
    fs::remove_all(report.parent_path());
}

} // namespace

TEST(HostsimTest, AReplacedFileKeepsItsPermissionsAndOwner) {
    // Setuid, setgid and sticky bits are not carried to a text the file did not hold. A file the
    // user may not write is not replaced, one its own user made read-only too, though root could.
    checkReplacedFiles({
        {0600, self, nullptr, 0600},
        {0755, self, nullptr, 0755},
        {07640, self, nullptr, 0640},
        {0444, self, notWritable.c_str()},
        {0, self, notWritable.c_str()},
        {0666, self, nullptr, 0666, 01777},
    });
}

TEST(HostsimTest, AReplacedFileOfAnotherUserKeepsItsOwnerOrIsRefused) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to give a file or folder to user " << other;
    }
    checkReplacedFiles({
        // Another user's in the player's own folder: replaced where its mode lets others write it,
        // keeping its owner.
        {0666, other, nullptr, 0666},
        {0644, other, notWritable.c_str()},
        // Another user's in a folder that other users may write, where it may have been put to
        // take what the player writes: sticky (the player's or the other user's) or not. The
        // other user's Documents is no host folder of the player's.
        {0666, other, notOwned.c_str(), 0, 01777},
        {0666, other, notOwned.c_str(), 0, 01777, true},
        {0666, other, notOwned.c_str(), 0, 0777},
    });
}

namespace {

// Driven between the checks before the play and the report's write after it, where a change made
// meanwhile is found: the report is not written, and the exit status says so. The rows of another
// user's entry, which need root to give it away, or the others.
void playReportChanges(bool rootRows) {
    namespace fs = std::filesystem;
    const fs::path root = sim::sandboxRoot();
    const fs::path temp = sim::specialFolder("Temp");
    const fs::path played = temp / "played";
    const fs::path shared = temp / "shared"; // sticky, and any user may write in it
    const fs::path report = shared / "report.txt";
    enum Change { Nothing, SandboxMoved, SandboxExchanged, SandboxRemoved, OthersFile, OthersFifo };
    const std::string exchanged = "hostsim: the sandbox \"" + played.string() +
                                  "\" no longer leads to the folder the scenario played in: it was moved, "
                                  "removed or exchanged during the play, so the report is not written\n";
    const std::string othersEntry = "hostsim: cannot write \"" + report.string() +
                                    "\": it is another user's, in a folder other users may write, and may "
                                    "have been put there to be taken for this user's\n";
    struct Case {
        Change change;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {Nothing, 0, ""},
        {SandboxMoved, 4, exchanged},
        {SandboxExchanged, 4, exchanged},
        {SandboxRemoved, 4, exchanged},
        {OthersFile, 4, othersEntry},
        {OthersFifo, 4, othersEntry},
    };
    for (const Case& c : cases) {
        const bool othersRow = c.change == OthersFile || c.change == OthersFifo;
        if (othersRow != rootRows) {
            continue;
        }
        SCOPED_TRACE(c.change);
        fs::remove_all(played);
        fs::remove_all(played.string() + "-away");
        fs::remove_all(shared);
        fs::create_directories(shared);
        ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
        hostsim::Sandbox sandbox = hostsim::Sandbox::given(played);
        sim::setSandboxRoot(sandbox.path());
        hostsim::ReportFile file(report);
        file.check({});
        int reader = -1;
        if (c.change == SandboxMoved || c.change == SandboxExchanged) {
            fs::rename(played, played.string() + "-away");
            if (c.change == SandboxExchanged) {
                fs::create_directories(played);
            }
        } else if (c.change == SandboxRemoved) {
            fs::remove_all(played);
        } else if (c.change == OthersFile) {
            std::ofstream(report) << "old";
            ::chmod(report.c_str(), 0666);
        } else if (c.change == OthersFifo) {
            ASSERT_EQ(::mkfifo(report.c_str(), 0666), 0);
            reader = ::open(report.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        }
        if (othersRow) {
            EXPECT_EQ(::chown(report.c_str(), other, other), 0);
        }
        // A host file is written through the sandbox held, where it is now: never at its old name.
        if (c.change == SandboxMoved || c.change == SandboxRemoved) {
            const nlohmann::json step = {{"hostFile", "Sample/x.txt"}, {"text", "x"}};
            if (c.change == SandboxMoved) {
                EXPECT_EQ(hostsim::placeHostFile(step),
                          "host file \"Preferences/Sample/x.txt\" written, 1 bytes");
                EXPECT_TRUE(fs::is_regular_file(played.string() + "-away/Preferences/Sample/x.txt"));
            } else {
                EXPECT_THROW(hostsim::placeHostFile(step), hostsim::ScenarioError);
            }
            EXPECT_FALSE(fs::exists(played));
        }
        std::ostringstream messages;
        EXPECT_EQ(hostsim::deliverReport("the report\n", &file, sandbox, messages), c.status);
        EXPECT_EQ(messages.str(), c.message);
        struct stat after {};
        const bool exists = ::lstat(report.c_str(), &after) == 0;
        if (c.change == Nothing) {
            std::ifstream in(report);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                      "the report\n");
        } else if (c.change == OthersFile) {
            EXPECT_EQ(after.st_size, 3);
            EXPECT_EQ(after.st_uid, other);
        } else if (c.change == OthersFifo) {
            char received = 0;
            EXPECT_LE(::read(reader, &received, 1), 0);
            ::close(reader);
        } else {
            EXPECT_FALSE(exists);
        }
    }
    sim::setSandboxRoot(root);
    fs::remove_all(played);
    fs::remove_all(played.string() + "-away");
    fs::remove_all(shared);
}

} // namespace

TEST(HostsimTest, AReportIsNotWrittenWhereItsFileOrSandboxChangedDuringThePlay) {
    playReportChanges(false);
}

TEST(HostsimTest, AReportIsNotWrittenWhereAFileOrFifoOfAnotherUserWasPutDuringThePlay) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to give a file or FIFO to user " << other;
    }
    playReportChanges(true);
}

namespace {

// Driven between the sandbox's checks before the play and a step that uses Documents, where a
// link put meanwhile is walked again: a link at Documents that the host does not follow, or one on
// the file's way that leads out of the sandbox, stops the step (status 2), saying why, and nothing
// is written through it. The rows of another user's entry, which need root to give it away, or the
// others.
void playHostFolderChanges(bool rootRows) {
    namespace fs = std::filesystem;
    const fs::path root = sim::sandboxRoot();
    const fs::path temp = sim::specialFolder("Temp");
    const fs::path played = temp / "changed";
    const fs::path away = temp / "changed-away";
    const fs::path outside = temp / "changed-outside";
    const std::string theirs = "it is another user's entry, which does not hold this user's files";
    const std::string exposed =
        "its way passes through a folder in which other users may rename entries, and "
        "so may lead elsewhere at its next use";
    // Each change puts a link at the folder of the step's file, Documents or Documents/sub, leading
    // to `target`, which is left empty.
    enum Change { OpenWay, Outside, TheirLink, TheirWay, OutOnTheWay, OutInTheSandboxHeld };
    struct Case {
        Change change;
        const char* file; // the step's, in Documents
        fs::path target;
        std::string written; // why the step failed
        std::string opened;  // why a project there is not opened, "" where the sandbox is moved
    };
    auto notTaken = [](const std::string& why) {
        return "cannot write the host file \"Documents/x.txt\": the folder \"Documents\" is not taken: " +
               why;
    };
    auto notOpened = [](const std::string& why) {
        return "the folder of the file \"House.pln\" is not taken: " + why;
    };
    const Case cases[] = {
        // The player's link into a folder of the player's in which any user may rename entries,
        // and one leading out of the sandbox.
        {OpenWay, "x.txt", played / "open" / "documents", notTaken(exposed), notOpened(exposed)},
        {Outside, "x.txt", outside, notTaken("Permission denied"), notOpened("Permission denied")},
        // Another user's link to a folder of the player's, and the player's link through another
        // user's folder to one of the player's.
        {TheirLink, "x.txt", played / "mine", notTaken(theirs), notOpened(theirs)},
        {TheirWay, "x.txt", played / "theirs" / "mine", notTaken(exposed), notOpened(exposed)},
        // The player's link out of the sandbox on the file's way: the look at the file's name,
        // before the walk, refuses it.
        {OutOnTheWay, "sub/x.txt", outside, "the file \"sub/x.txt\" leads out of the sandbox",
         "the file \"sub/House.pln\" leads out of the sandbox"},
        // The same in the sandbox held, moved away and its old name taken by an empty folder: the
        // look at the name sees that folder, and the walk through the sandbox held refuses the link.
        {OutInTheSandboxHeld, "sub/x.txt", outside,
         "cannot write the host file \"" + (played / "Documents/sub/x.txt").string() +
             "\": it leads out of the sandbox",
         ""},
    };
    for (const Case& c : cases) {
        if ((c.change == TheirLink || c.change == TheirWay) != rootRows) {
            continue;
        }
        SCOPED_TRACE(c.change);
        fs::remove_all(played);
        fs::remove_all(away);
        fs::remove_all(outside);
        hostsim::Sandbox sandbox = hostsim::Sandbox::given(played);
        sim::setSandboxRoot(sandbox.path());
        EXPECT_NO_THROW(hostsim::checkSandbox());
        const fs::path folder = fs::path(c.file).parent_path();
        fs::path held = played;
        if (c.change == OutInTheSandboxHeld) {
            fs::rename(played, away);
            fs::create_directory(played);
            held = away;
        }
        const fs::path link = folder.empty() ? held / "Documents" : held / "Documents" / folder;
        fs::create_directories(c.target);
        fs::create_directories(link.parent_path());
        fs::create_directory_symlink(c.target, link);
        if (c.change == OpenWay) {
            ::chmod(c.target.parent_path().c_str(), 0777);
        } else if (c.change == TheirLink) {
            EXPECT_EQ(::lchown(link.c_str(), other, other), 0);
        } else if (c.change == TheirWay) {
            EXPECT_EQ(::chown(c.target.parent_path().c_str(), other, other), 0);
            ::chmod(c.target.parent_path().c_str(), 0777);
        }
        const nlohmann::json step = {{"hostFile", c.file}, {"folder", "Documents"}, {"text", "x"}};
        try {
            hostsim::placeHostFile(step);
            ADD_FAILURE() << "written";
        } catch (const hostsim::ScenarioError& error) {
            EXPECT_EQ(std::string(error.what()), c.written);
        }
        // A project opened or saved there.
        if (!c.opened.empty()) {
            try {
                hostsim::hostFolderFile("Documents", (folder / "House.pln").string(), "");
                ADD_FAILURE() << "taken";
            } catch (const hostsim::ScenarioError& error) {
                EXPECT_EQ(std::string(error.what()), c.opened);
            }
        }
        EXPECT_TRUE(fs::is_empty(c.target));
    }
    sim::setSandboxRoot(root);
    fs::remove_all(played);
    fs::remove_all(away);
    fs::remove_all(outside);
}

} // namespace

TEST(HostsimTest, AHostFolderLinkedDuringThePlayWhereTheHostDoesNotFollowIsNotTaken) {
    playHostFolderChanges(false);
}

TEST(HostsimTest, AHostFolderLinkedDuringThePlayByOrThroughAnotherUserIsNotTaken) {
    if (self != 0) {
        GTEST_SKIP() << "needs root, to give a link or folder to user " << other;
    }
    playHostFolderChanges(true);
}

TEST(HostsimTest, TheReportQuotesFileContentsEscapedAndBounded) {
    namespace fs = std::filesystem;
    const fs::path sandbox = sim::specialFolder("Temp") / "content-sandbox";
    fs::remove_all(sandbox);
    fs::create_directories(sandbox / "Documents");
    fs::create_directories(sandbox / "Preferences");
    // Characters that end or hide a line to some reader, a byte of no character, and a line like
    // another file's header.
    const std::string faking = "a\rb\vc\fd\xc2\x85"
                               "e\xe2\x80\xa8"
                               "f\xe2\x80\xa9g\th\\i\xff\n  \"SharedData/Zelvane/x.xml\":\nend";
    // Larger than hostsim reads, holding no block; the one in Preferences without a line break.
    for (const char* name :
         {"Documents/faking.txt", "Preferences/faking.xml", "Documents/big.txt", "Preferences/big.xml"}) {
        std::ofstream(sandbox / name, std::ios::binary) << faking;
        if (contains(name, "big")) {
            fs::resize_file(sandbox / name, hostsim::inputFileLimit + 1);
        }
    }
    HostsimRun run =
        runHostsim(writeScenario("content.json", "{\"reportFiles\": [\"faking.txt\", \"big.txt\"], " +
                                                     oneAddon("").substr(1)),
                   " --sandbox " + sandbox.string());
    ASSERT_EQ(run.status, 0) << run.output.substr(0, 4000);
    const std::string content = ":\n    a\\x0db\\x0bc\\x0cd\\u0085e\\u2028f\\u2029g\th\\\\i\\xff\n"
                                "      \"SharedData/Zelvane/x.xml\":\n    end\n";
    const std::string leftOut = ": more than the 64 MiB the report shows of a file, left out\n";
    for (const std::string& part :
         {"  \"faking.txt\"" + content, "  \"big.txt\"" + leftOut, "  \"Preferences/big.xml\"" + leftOut,
          "  \"Preferences/faking.xml\"" + content}) {
        EXPECT_TRUE(contains(run.output, part)) << part << "\n" << run.output.substr(0, 4000);
    }
    EXPECT_FALSE(contains(run.output, "\n  \"SharedData")) << run.output.substr(0, 4000);

    // A FIFO made at a named file while the scenario plays is refused rather than waited on. Its
    // writer would feed a reader that waited, which then went on; a reader that refused it may
    // leave the writer without one.
    struct sigaction ignore {
    }, kept{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &kept);
    const fs::path fifo = sim::specialFolder("Documents") / "fed.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&fifo] {
        int fd = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd >= 0) {
            ssize_t written = ::write(fd, "fed\n", 4);
            static_cast<void>(written);
            ::close(fd);
        }
    });
    std::ostringstream report;
    try {
        hostsim::reportFiles(report, {"fed.txt"});
        ADD_FAILURE() << report.str();
    } catch (const hostsim::ScenarioError& error) {
        EXPECT_TRUE(contains(error.what(), "reportFiles: the file \"fed.txt\" is a FIFO, not a file"))
            << error.what();
    }
    // A writer still waiting is let go with a reader of its own.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer.join();
    ::close(reader);
    ::sigaction(SIGPIPE, &kept, nullptr);

    // A preference folder that cannot be read is named, and the files after it are still shown.
    const fs::path locked = sim::specialFolder("Preferences") / "a\x85locked";
    fs::create_directories(locked);
    std::ofstream(locked / "hidden.xml") << "hidden";
    std::ofstream(sim::specialFolder("Preferences") / "b.xml") << "shown";
    fs::permissions(locked, fs::perms::none);
    std::ostringstream walked;
    {
        const FolderPermissionsHold hold;
        hostsim::reportPreferenceFiles(walked);
    }
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_TRUE(contains(walked.str(), "\n  \"Preferences/a\\x85locked\": a folder that cannot be read, "
                                       "Permission denied\n  \"Preferences/b.xml\":\n    shown\n"))
        << walked.str();

    // A link is shown with its target and never followed, whether it leads out of the folder to a
    // file (which an add-on may have written through it) or nowhere.
    const fs::path zelvane = sim::specialFolder("Preferences") / "Zelvane";
    fs::create_directories(zelvane);
    fs::create_symlink("../../Documents/none.xml", zelvane / "out.xml");
    fs::create_symlink("gone\n.xml", zelvane / "dangling.xml");
    std::ofstream(sim::specialFolder("Documents") / "none.xml") << "written through the link";
    std::ostringstream linked;
    hostsim::reportPreferenceFiles(linked);
    EXPECT_TRUE(contains(linked.str(),
                         "  \"Preferences/Zelvane/dangling.xml\": a link to \"gone\\n.xml\"\n"
                         "  \"Preferences/Zelvane/out.xml\": a link to \"../../Documents/none.xml\"\n"))
        << linked.str();
    EXPECT_FALSE(contains(linked.str(), "written through the link")) << linked.str();
    fs::remove_all(zelvane);
    fs::remove(sim::specialFolder("Documents") / "none.xml");
}

TEST(HostsimTest, ABundleBesideAScenarioNamedWithoutItsFolderIsTheOneLoaded) {
    namespace fs = std::filesystem;
    const fs::path temp = sim::specialFolder("Temp");
    const fs::path beside = temp / "beside";
    const fs::path decoy = temp / "decoy";
    fs::remove_all(beside);
    fs::remove_all(decoy);
    fs::create_directories(beside);
    fs::create_directories(decoy);
    fs::copy_file(binaryDir / "sample_addon.so", beside / "my.so");
    // A file of the same name on the library path, which dlopen searches for a name without a folder.
    std::ofstream(decoy / "my.so") << "not a bundle\n";
    const std::string addOn = R"({"name": "a", "developer": 1, "local": 2, "bundle": )";
    std::ofstream(beside / "scenario.json")
        << "{\"addons\": [" << addOn << R"("my.so"}], "steps": [{"entry": "CheckEnvironment"}]})";
    std::ofstream(beside / "missing.json") << "{\"addons\": [" << addOn << R"("gone.so"}], "steps": []})";

    // Run from the scenario's folder, the scenario named without it.
    const char* libraryPath = std::getenv("LD_LIBRARY_PATH");
    const std::string keptLibraryPath = libraryPath != nullptr ? libraryPath : "";
    ::setenv("LD_LIBRARY_PATH", decoy.c_str(), 1);
    const fs::path working = fs::current_path();
    fs::current_path(beside);
    const fs::path here = fs::current_path();
    HostsimRun run = hostsim_test::runHostsimWith(" scenario.json");
    HostsimRun missing = hostsim_test::runHostsimWith(" missing.json");
    fs::current_path(working);
    if (libraryPath != nullptr) {
        ::setenv("LD_LIBRARY_PATH", keptLibraryPath.c_str(), 1);
    } else {
        ::unsetenv("LD_LIBRARY_PATH");
    }

    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "step 1: CheckEnvironment a -> 2 name \"Sample Tool 2\"")) << run.output;
    // A bundle found in neither place names both places looked.
    EXPECT_EQ(missing.status, 3) << missing.output;
    EXPECT_TRUE(
        contains(missing.output, "cannot load bundle \"gone.so\": it is neither beside the scenario (in \"" +
                                     here.string() + "\") nor in hostsim's folder (\"" +
                                     fs::canonical(binaryDir).string() + "\")"))
        << missing.output;
}

TEST(HostsimTest, ProjectsOpenInsideTheSandbox) {
    // Run with the sandbox given, so that what the host wrote can be seen.
    namespace fs = std::filesystem;
    fs::path sandbox = sim::specialFolder("Temp") / "run-sandbox";
    fs::create_directories(sandbox / "Documents" / "plans");
    fs::create_directories(sandbox / "Preferences");
    const fs::path prefs = sandbox / "Preferences" / "prefs.xml";
    std::ofstream(prefs) << "old";
    // A project file that is there is opened as it is; one made only where there is none.
    std::ofstream(sandbox / "Documents" / "Old.pln") << "mine";
    struct stat before {};
    ::stat(prefs.c_str(), &before);
    HostsimRun run =
        runHostsim(writeScenario("inside.json",
                                 oneAddon("{\"project\": \"open\", \"file\": \"Old.pln\"}, "
                                          "{\"project\": \"open\", \"file\": \"plans/../plans/House.pln\"}, "
                                          "{\"hostFile\": \"prefs.xml\", \"text\": \"new\"}")),
                   " --sandbox " + sandbox.string());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "step 2: project open \"plans/../plans/House.pln\" -> 0")) << run.output;
    EXPECT_TRUE(fs::is_regular_file(sandbox / "Documents" / "plans" / "House.pln"));
    EXPECT_EQ(fs::file_size(sandbox / "Documents" / "Old.pln"), 4u);
    // The host file is a new file renamed over the old one, as the framework writes its own, and
    // nothing is left beside it.
    struct stat after {};
    ::stat(prefs.c_str(), &after);
    EXPECT_NE(after.st_ino, before.st_ino);
    std::ifstream in(prefs);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(prefs.parent_path()), fs::directory_iterator{}), 1);
}

TEST(HostsimTest, WithoutASandboxGivenEachPlayHasAFreshFolderOfItsOwn) {
    namespace fs = std::filesystem;
    const fs::path tmp = sim::specialFolder("Temp") / "tmpdir";
    fs::remove_all(tmp);
    fs::create_directories(tmp);
    const fs::path scenario =
        writeScenario("fresh.json", oneAddon("{\"hostFile\": \"notes.txt\", \"text\": \"x\"}"));
    // A folder named after hostsim's process (the shell's, which exec hands on), made beforehand
    // as another user could: hostsim neither plays in it nor removes it.
    HostsimRun run = hostsim_test::runCommand(
        "TMPDIR=" + tmp.string() +
        " sh -c 'mkdir \"$TMPDIR/hostsim-$$\" && echo mine > \"$TMPDIR/hostsim-$$/mark\" && exec " +
        (binaryDir / "hostsim").string() + " " + scenario.string() + "' 2>&1");
    EXPECT_EQ(run.status, 0) << run.output;
    // The play's own folder is gone; the one made before is left as it was.
    std::vector<fs::path> left(fs::directory_iterator(tmp), fs::directory_iterator{});
    ASSERT_EQ(left.size(), 1u) << run.output;
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(left[0]), fs::directory_iterator{}),
              std::vector<fs::path>{left[0] / "mark"});

    // A TMPDIR relative to the working folder plays as an absolute one; one in which another user
    // may rename entries is refused before anything is made in it.
    const std::string sample = " " + (sourceDir / "examples" / "sample.json").string() + " 2>&1";
    const std::string hostsim = (binaryDir / "hostsim").string();
    HostsimRun absolute = hostsim_test::runCommand("TMPDIR=" + tmp.string() + " " + hostsim + sample);
    HostsimRun relative = hostsim_test::runCommand("cd " + tmp.parent_path().string() + " && TMPDIR=tmpdir " +
                                                   hostsim + sample);
    EXPECT_EQ(absolute.status, 0) << absolute.output;
    EXPECT_EQ(relative.output, absolute.output);
    fs::permissions(tmp, fs::perms::all);
    HostsimRun open = hostsim_test::runCommand("TMPDIR=" + tmp.string() + " " + hostsim + sample);
    EXPECT_EQ(open.status, 1);
    EXPECT_EQ(open.output, "hostsim: cannot make a temporary sandbox: TMPDIR \"" + tmp.string() +
                               "\": another user may rename entries in \"" + tmp.string() +
                               "\": any user may write in it and it is not sticky\n");
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(tmp), fs::directory_iterator{}), left);
}

TEST(HostsimTest, LinksInTheSandboxAreFollowedEvenWhenTheyDangle) {
    namespace fs = std::filesystem;
    const fs::path temp = sim::specialFolder("Temp");
    const fs::path sandbox = temp / "link-sandbox";
    const fs::path outside = temp / "link-outside";
    // Links whose targets lie outside and do not exist yet, a folder link to an existing folder
    // outside, and a dangling link to a file inside, each in a sandbox of its own.
    struct Case {
        const char* link; // in the sandbox
        fs::path target;
        std::string step;
        int status;
    };
    const Case cases[] = {
        {"Documents/dangling.pln", outside / "Dangling.pln",
         "{\"project\": \"open\", \"file\": \"dangling.pln\"}", 2},
        {"Documents/gone", outside / "gone", "{\"project\": \"open\", \"file\": \"gone/House.pln\"}", 2},
        {"Preferences/prefs.xml", outside / "prefs.xml", "{\"hostFile\": \"prefs.xml\", \"text\": \"x\"}", 2},
        {"Preferences/out", outside, "{\"hostFile\": \"out/made/notes.txt\", \"text\": \"x\"}", 2},
        {"Documents/alias.pln", "plans/Real.pln", "{\"project\": \"open\", \"file\": \"alias.pln\"}", 0},
    };
    int index = 0;
    for (const Case& c : cases) {
        fs::remove_all(sandbox);
        fs::remove_all(outside);
        fs::create_directories(sandbox / "Documents" / "plans");
        fs::create_directories(sandbox / "Preferences");
        fs::create_directories(outside);
        fs::create_symlink(c.target, sandbox / c.link);
        HostsimRun run =
            runHostsim(writeScenario("links" + std::to_string(index++) + ".json", oneAddon(c.step)),
                       " --sandbox " + sandbox.string());
        EXPECT_EQ(run.status, c.status) << c.step << "\n" << run.output;
        if (c.status == 2) {
            EXPECT_TRUE(contains(run.output, "leads out of the sandbox")) << c.step << "\n" << run.output;
        }
        // Nothing was made outside.
        EXPECT_TRUE(fs::is_empty(outside)) << c.step;
    }
    // The link inside made its target.
    EXPECT_TRUE(fs::is_regular_file(sandbox / "Documents" / "plans" / "Real.pln"));
}

TEST(HostsimTest, FoldersOfTheSandboxThatAreLinksOutOfItOrThroughAnOpenFolderAreRefused) {
    namespace fs = std::filesystem;
    const fs::path temp = sim::specialFolder("Temp");
    // A name holding a byte of no UTF-8 character, which the messages escape.
    const fs::path sandbox = temp / "folder-link\x85sandbox";
    const std::string quoted = "the sandbox \"" + temp.string() + "/folder-link\\x85sandbox\" ";
    const fs::path outside = temp / "folder-link-outside";
    enum Made { Link, HardLink, Fifo, OpenWay };
    struct Case {
        const char* link;   // in the sandbox
        const char* target; // a folder or file of `outside`, or of the sandbox when it starts with "sandbox/"
        std::string steps;
        int status;
        const char* message;
        Made made = Link; // what `link` is made as; OpenWay: a link, its target's folder open to all
    };
    const std::string prefs = "{\"hostFile\": \"Sample/prefs.xml\", \"text\": \"x\"}";
    const std::string escapedSandbox = temp.string() + "/folder-link\\x85sandbox";
    const std::string openWay =
        "its folder \"" + escapedSandbox + "/Documents\", a link through \"" + escapedSandbox +
        "/open\": its way passes through a folder in which other users may rename entries";
    const Case cases[] = {
        // The host's own folders leading out, to an existing folder or a missing one.
        {"Documents", "documents", "{\"hostFile\": \"x.txt\", \"folder\": \"Documents\", \"text\": \"x\"}", 2,
         "holds \"Documents\", a link that leads out of the sandbox"},
        {"Documents", "documents", "{\"project\": \"open\", \"file\": \"House.pln\"}", 2,
         "holds \"Documents\", a link"},
        {"Preferences", "preferences", prefs, 2, "holds \"Preferences\", a link"},
        {"Temp", "gone/temp", "{\"hostFile\": \"x.txt\", \"folder\": \"Temp\", \"text\": \"x\"}", 2,
         "holds \"Temp\", a link"},
        {"Settings", "settings", "", 2, "holds \"Settings\", a link"},
        // A folder leading to another of the sandbox stays inside, where no other user may rename
        // an entry on its way.
        {"Documents", "sandbox/papers",
         "{\"hostFile\": \"x.txt\", \"folder\": \"Documents\", \"text\": \"x\"}", 0, ""},
        {"Documents", "sandbox/open/documents",
         "{\"hostFile\": \"x.txt\", \"folder\": \"Documents\", \"text\": \"x\"}", 1, openWay.c_str(),
         OpenWay},
        // Links at any depth: a file the report would list, and the folder an add-on keeps its
        // preferences in, which the framework opens fully to everyone when it writes them.
        {"Preferences/Sample/leak.xml", "secret.txt", prefs, 2,
         "holds \"Preferences/Sample/leak.xml\", a link that leads out of the sandbox"},
        {"Preferences/Zelvane", "preferences",
         "{\"entry\": \"CheckEnvironment\"}, {\"entry\": \"RegisterInterface\"}, {\"entry\": \"Initialize\"}",
         2, "holds \"Preferences/Zelvane\", a link that leads out of the sandbox"},
        // A link that leads nowhere, to itself.
        {"Documents/loop", "sandbox/Documents/loop", "", 2,
         "holds \"Documents/loop\", a link that cannot be followed"},
        // A link to another folder of the sandbox says where it leads.
        {"Documents/notes.txt", "sandbox/Preferences/notes.txt",
         "{\"hostFile\": \"notes.txt\", \"folder\": \"Documents\", \"text\": \"x\"}", 2,
         "the file \"notes.txt\" leads out of Documents, to \"Preferences/notes.txt\" in the sandbox"},
        // A hard link to a file outside, which a write or a change of permissions would reach, and
        // a FIFO, which would block whoever opens it.
        {"Preferences/Sample/prefs.xml", "secret.txt", prefs, 2,
         "holds \"Preferences/Sample/prefs.xml\", a file with 2 hard links", HardLink},
        {"Preferences/Sample/prefs.xml", "", prefs, 2,
         "holds \"Preferences/Sample/prefs.xml\", a FIFO, not a file, a folder or a link", Fifo},
    };
    int index = 0;
    for (const Case& c : cases) {
        fs::remove_all(sandbox);
        fs::remove_all(outside);
        fs::create_directories(outside / "documents");
        fs::create_directories(outside / "preferences");
        fs::create_directories(outside / "settings");
        fs::create_directories(sandbox / "papers");
        fs::create_directories((sandbox / c.link).parent_path());
        std::ofstream(outside / "secret.txt") << "not the sandbox's\n";
        const std::string target = c.target;
        const fs::path to = target.rfind("sandbox/", 0) == 0 ? sandbox / target.substr(8) : outside / target;
        // A reader of the FIFO, kept open, lets a hostsim that wrote to it go on instead of waiting.
        int reader = -1;
        if (c.made == OpenWay) {
            fs::create_directories(to.parent_path());
            ::chmod(to.parent_path().c_str(), 0777);
        }
        if (c.made == Link || c.made == OpenWay) {
            fs::create_symlink(to, sandbox / c.link);
        } else if (c.made == HardLink) {
            fs::create_hard_link(to, sandbox / c.link);
        } else {
            ASSERT_EQ(::mkfifo((sandbox / c.link).c_str(), 0600), 0);
            reader = ::open((sandbox / c.link).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        }
        HostsimRun run =
            runHostsim(writeScenario("folder-link" + std::to_string(index++) + ".json", oneAddon(c.steps)),
                       " --sandbox " + sandbox.string());
        if (reader >= 0) {
            ::close(reader);
        }
        EXPECT_EQ(run.status, c.status) << c.link << " " << c.steps << "\n" << run.output;
        const std::string message = c.message;
        EXPECT_TRUE(contains(run.output, message.rfind("holds ", 0) == 0 ? quoted + message : message))
            << c.message << "\n"
            << run.output;
        EXPECT_FALSE(contains(run.output, "not the sandbox's")) << run.output;
        // Nothing was written outside: it holds only what was put there.
        std::size_t files = 0;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(outside)) {
            files += entry.is_regular_file() ? 1 : 0;
        }
        EXPECT_EQ(files, 1u) << c.link << " " << c.steps;
        std::ifstream secret(outside / "secret.txt");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(secret), std::istreambuf_iterator<char>()),
                  "not the sandbox's\n")
            << c.link << " " << c.steps;
        EXPECT_EQ(fs::is_regular_file(sandbox / "papers" / "x.txt"), c.status == 0)
            << c.link << " " << c.steps;
        if (c.made == OpenWay) {
            EXPECT_FALSE(fs::exists(to)) << "made through the link";
        }
    }
}

// Another user's folder taken by its name to hold the player's files, put there while its folder
// was open to others: a host folder, another user's entry of any kind at its name, or the player's
// link there through or to another user's folder, refuses the sandbox before the play; a folder on
// a hostFile step's way (reached through a link too) stops the step. Nothing is written into it.
// The framework's shared preference folder, SharedData/Zelvane, is every user's, as the framework
// takes it: a step writes its file there, over another user's too, but nowhere else in SharedData.
TEST(HostsimTest, AnotherUsersFolderHoldsNoneOfThePlayersFiles) {
    namespace fs = std::filesystem;
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root, to give a folder to user " << other;
    }
    const fs::path sandbox = sim::specialFolder("Temp") / "others-sandbox";
    const std::string not_taken = "it is another user's entry, which does not hold this user's files";
    struct Case {
        std::vector<const char*> theirs; // folders of the sandbox given to the other user
        fs::path scenario;
        int status;
        std::string message;
        std::function<void(const fs::path& preferences)> put = nullptr; // more entries, made last
        mode_t mode = 0777;                                             // of their folders
        const char* theirLink = nullptr;   // another user's link at this name, to theirTarget
        const char* theirFile = nullptr;   // another user's file (0666) at this name
        const char* written = nullptr;     // the file the step writes
        const char* theirTarget = "x";     // their folder, or "mine" of the player's
        const char* playersLink = nullptr; // the player's link at Documents, to this folder
    };
    const std::string step = "{\"hostFile\": \"Library Part Remapping/Object Map.xml\", \"text\": \"x\"}";
    const std::string count =
        "{\"entry\": \"CheckEnvironment\"}, {\"entry\": \"RegisterInterface\"}, {\"entry\": "
        "\"Initialize\"}, {\"project\": \"new\"}, {\"menu\": 32500, \"item\": 1}, {\"project\": "
        "\"quit\"}, {\"entry\": \"FreeData\"}";
    const std::string resources = ", \"resources\": [\"" +
                                  (sourceDir / "resources" / "zelvane.json").string() + "\", \"" +
                                  (sourceDir / "tests" / "bundles" / "sample_addon.json").string() + "\"]";
    const char* const shared = "SharedData/Zelvane/com.zelvane.sampletool2.xml";
    const fs::path sharedStep = writeScenario(
        "others-shared.json",
        oneAddon("{\"hostFile\": \"Zelvane/com.zelvane.sampletool2.xml\", \"folder\": \"SharedData\", "
                 "\"text\": \"x\"}"));
    const std::string sharedWritten = "host file \"" + std::string(shared) + "\" written, 1 bytes";
    const std::string exposed = "its way passes through a folder in which other users may rename entries";
    const std::string notOwned = "SharedData/notes.xml\": it is another user's, in a folder other users may "
                                 "write, and may have been put there to be taken for this user's";
    auto sharedStepTo = [](const std::string& name, const std::string& scenario) {
        return writeScenario(scenario, oneAddon("{\"hostFile\": \"" + name +
                                                "\", \"folder\": \"SharedData\", \"text\": \"x\"}"));
    };
    writeScenario("others-library.project.json", "{\"embeddedLibrary\": \"lib/Embedded\"}");
    const fs::path library = writeScenario(
        "others-library.json", oneAddon("{\"project\": \"open\", \"file\": \"P.pln\", \"description\": "
                                        "\"others-library.project.json\"}"));
    const std::string embedded = "cannot make the embedded library folder \"" + sandbox.string() +
                                 "/Documents/lib/Embedded\": the folder \"" + sandbox.string();
    // A folder of the player's in the sandbox, and one in another user's folder.
    auto makeMine = [](const fs::path& preferences) {
        fs::create_directory(preferences.parent_path() / "mine");
    };
    auto makeMineInTheirs = [](const fs::path& preferences) {
        fs::create_directory(preferences.parent_path() / "theirs" / "mine");
    };
    const Case cases[] = {
        {{"Preferences", "Documents"},
         sourceDir / "examples" / "sample.json",
         1,
         "hostsim: cannot use the sandbox \"" + sandbox.string() + "\": its folder \"" + sandbox.string() +
             "/Preferences\": " + not_taken + "\n"},
        {{"Documents"}, sourceDir / "examples" / "sample.json", 1, "/Documents\": " + not_taken},
        {{"Preferences/Library Part Remapping"},
         writeScenario("others-step.json", oneAddon(step)),
         2,
         "the folder \"Preferences/Library Part Remapping\" is not taken: " + not_taken},
        {{"Preferences/theirs"},
         writeScenario("others-link.json", oneAddon("{\"hostFile\": \"in/x.txt\", \"text\": \"x\"}")),
         2,
         "the folder \"Preferences/theirs\" is not taken: " + not_taken,
         [](const fs::path& preferences) { fs::create_directory_symlink("theirs", preferences / "in"); }},
        // The player's link to the player's folder, which lies in another's folder where all may
        // write: the step's walk meets it on the link's way.
        {{"Preferences/open/theirs"},
         writeScenario("others-way.json", oneAddon("{\"hostFile\": \"in/x.txt\", \"text\": \"x\"}")),
         2,
         "the folder \"Preferences/open/theirs\" is not taken: " + not_taken,
         [](const fs::path& preferences) {
             ::chmod((preferences / "open").c_str(), 0777);
             fs::create_directory(preferences / "open/theirs/mine");
             fs::create_directory_symlink("open/theirs/mine", preferences / "in");
         }},
        // The add-on goes on with its defaults, told once.
        {{"Preferences/Zelvane"},
         writeScenario("others-prefs.json", oneAddon(count, resources)),
         0,
         "report window:\n  Counted 1 in the project, 1 in all\nconsole:\n"
         "  The user preferences of the add-on \"Sample Tool 2\" could not be read from "
         "Preferences/Zelvane: " +
             not_taken + ".\nalerts:\n"},
        {{},
         sourceDir / "examples" / "sample.json",
         1,
         "its folder \"" + sandbox.string() + "/Documents\", a link: " + not_taken,
         nullptr,
         0777,
         "Documents"},
        {{},
         sourceDir / "examples" / "sample.json",
         1,
         "its folder \"" + sandbox.string() + "/Preferences\", a file: " + not_taken,
         nullptr,
         0777,
         nullptr,
         "Preferences"},
        // The folder the framework keeps its shared preferences in, another user's, sticky or not,
        // and their file there, which every user is to change.
        {{"SharedData/Zelvane"}, sharedStep, 0, sharedWritten, nullptr, 01777, nullptr, nullptr, shared},
        {{"SharedData/Zelvane"}, sharedStep, 0, sharedWritten, nullptr, 0777, nullptr, shared, shared},
        // Another user's folder anywhere else below SharedData, and their file where other users may
        // write SharedData, hold none of the player's files.
        {{"SharedData/other"},
         sharedStepTo("other/x.txt", "others-shared-other.json"),
         2,
         "the folder \"SharedData/other\" is not taken: " + not_taken},
        {{"SharedData/Zelvane/sub"},
         sharedStepTo("Zelvane/sub/x.txt", "others-shared-sub.json"),
         2,
         "the folder \"SharedData/Zelvane/sub\" is not taken: " + not_taken},
        // The player's folder in their shared preference folder: the folder refused is theirs.
        {{"SharedData/Zelvane"},
         sharedStepTo("Zelvane/mine/x.txt", "others-shared-mine.json"),
         2,
         "the folder \"SharedData/Zelvane\" is not taken: " + not_taken,
         [](const fs::path& preferences) {
             fs::create_directory(preferences.parent_path() / "SharedData/Zelvane/mine");
         }},
        {{},
         sharedStepTo("notes.xml", "others-shared-file.json"),
         2,
         notOwned,
         [](const fs::path& preferences) {
             fs::create_directory(preferences.parent_path() / "SharedData");
             ::chmod((preferences.parent_path() / "SharedData").c_str(), 0777);
         },
         0777,
         nullptr,
         "SharedData/notes.xml"},
        // The project's embedded library, made in another user's folder of Documents, the player's
        // folder in it, or where the player's link leads: the folder refused is named.
        {{"Documents/lib"}, library, 2, embedded + "/Documents/lib\" is not taken: " + not_taken},
        {{"Documents/lib"},
         library,
         2,
         embedded + "/Documents/lib\" is not taken: " + not_taken,
         [](const fs::path& preferences) {
             fs::create_directory(preferences.parent_path() / "Documents/lib/Embedded");
         }},
        {{"Documents/theirs"},
         library,
         2,
         embedded + "/Documents/theirs\" is not taken: " + not_taken,
         [](const fs::path& preferences) {
             fs::create_directory_symlink("theirs", preferences.parent_path() / "Documents/lib");
         }},
        // The player's project, in another user's folder of Documents.
        {{"Documents/sub"},
         writeScenario("others-project.json", oneAddon("{\"project\": \"open\", \"file\": \"sub/P.pln\"}")),
         2,
         "/Documents/sub/P.pln\": the folder \"" + sandbox.string() +
             "/Documents/sub\" is not taken: " + not_taken},
        // Another user's link at a host folder's name, to a folder of the player's.
        {{},
         sourceDir / "examples" / "sample.json",
         1,
         "its folder \"" + sandbox.string() + "/Documents\", a link: " + not_taken,
         makeMine,
         0777,
         "Documents",
         nullptr,
         nullptr,
         "mine"},
        // The player's link there, to another user's folder or through it to one of the player's.
        {{"theirs"},
         sourceDir / "examples" / "sample.json",
         1,
         "its folder \"" + sandbox.string() + "/Documents\", a link to \"" + sandbox.string() +
             "/theirs\": " + not_taken,
         nullptr,
         0777,
         nullptr,
         nullptr,
         nullptr,
         "x",
         "theirs"},
        {{"theirs"},
         sourceDir / "examples" / "sample.json",
         1,
         "its folder \"" + sandbox.string() + "/Documents\", a link through \"" + sandbox.string() +
             "/theirs\": " + exposed,
         makeMineInTheirs,
         0777,
         nullptr,
         nullptr,
         nullptr,
         "x",
         "theirs/mine"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        fs::remove_all(sandbox);
        fs::create_directories(sandbox / "Documents");
        fs::create_directories(sandbox / "Preferences");
        ::chmod((sandbox / "Preferences").c_str(), 0777);
        for (const char* folder : c.theirs) {
            fs::create_directories(sandbox / folder);
            ASSERT_EQ(::chown((sandbox / folder).c_str(), other, other), 0);
            ::chmod((sandbox / folder).c_str(), c.mode);
        }
        if (c.put) {
            c.put(sandbox / "Preferences");
        }
        fs::create_directory(sandbox / "x");
        ASSERT_EQ(::chown((sandbox / "x").c_str(), other, other), 0);
        ::chmod((sandbox / "x").c_str(), 0777);
        if (c.theirLink != nullptr) {
            fs::remove_all(sandbox / c.theirLink);
            fs::create_directory_symlink(c.theirTarget, sandbox / c.theirLink);
            ASSERT_EQ(::lchown((sandbox / c.theirLink).c_str(), other, other), 0);
        }
        if (c.playersLink != nullptr) {
            fs::remove_all(sandbox / "Documents");
            fs::create_directory_symlink(c.playersLink, sandbox / "Documents");
        }
        if (c.theirFile != nullptr) {
            fs::remove_all(sandbox / c.theirFile);
            std::ofstream(sandbox / c.theirFile) << "theirs";
            ASSERT_EQ(::chown((sandbox / c.theirFile).c_str(), other, other), 0);
            ::chmod((sandbox / c.theirFile).c_str(), 0666);
        }
        HostsimRun run = runHostsim(c.scenario, " --sandbox " + sandbox.string());
        EXPECT_EQ(run.status, c.status) << run.output;
        EXPECT_TRUE(contains(run.output, c.message)) << run.output;
        EXPECT_EQ(run.output.find(c.message), run.output.rfind(c.message)) << "told once: " << run.output;
        EXPECT_FALSE(contains(run.output, "unexpected")) << "a refusal is no failure: " << run.output;
        for (const auto& entry : fs::recursive_directory_iterator(sandbox)) {
            EXPECT_NE(entry.path().filename(), "x.txt") << entry.path();
            EXPECT_NE(entry.path().filename(), "Object Map.xml") << entry.path();
        }
        for (const char* folder : c.theirs) {
            EXPECT_TRUE(fs::is_empty(sandbox / folder) == (c.written == nullptr) || c.put != nullptr)
                << folder;
        }
        EXPECT_TRUE(fs::is_empty(sandbox / "x"));
        if (c.theirFile != nullptr) {
            // Replaced or not, their file stays theirs.
            struct stat info {};
            ASSERT_EQ(::lstat((sandbox / c.theirFile).c_str(), &info), 0);
            EXPECT_EQ(info.st_uid, other);
        }
        if (c.theirFile != nullptr && c.status != 0) {
            std::ifstream kept(sandbox / c.theirFile);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()),
                      "theirs");
        }
        if (c.written != nullptr) {
            std::ifstream written(sandbox / c.written);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), std::istreambuf_iterator<char>()),
                      "x");
        }
    }
    // A host folder refused during the play, another user's folder or link at its name, holds no
    // file the scenario names; the report's preference section names why it is not read.
    const fs::path root = sim::sandboxRoot();
    for (const bool link : {false, true}) {
        fs::remove_all(sandbox / "Documents");
        if (link) {
            fs::create_directory_symlink("x", sandbox / "Documents");
        } else {
            fs::create_directory(sandbox / "Documents");
        }
        ASSERT_EQ(::lchown((sandbox / "Documents").c_str(), other, other), 0);
        ASSERT_EQ(::chown((sandbox / "Preferences").c_str(), other, other), 0);
        sim::setSandboxRoot(sandbox);
        try {
            hostsim::hostFolderFile("Documents", "House.pln", "");
            ADD_FAILURE() << "taken";
        } catch (const hostsim::ScenarioError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "the folder of the file \"House.pln\" is not taken: " + not_taken);
        }
        std::ostringstream report;
        hostsim::reportPreferenceFiles(report);
        sim::setSandboxRoot(root);
        EXPECT_TRUE(
            contains(report.str(), "  \"Preferences\": a folder that cannot be read, " + not_taken + "\n"))
            << report.str();
    }
    EXPECT_TRUE(fs::is_empty(sandbox / "x"));
    fs::remove_all(sandbox);
}

TEST(HostsimTest, TwoBundlesJoinThroughTheSharedCommand) {
    const sim::AddOnID sampleID{0x5A454C56, 100};
    const sim::AddOnID joinerID{0x5A454C56, 101};
    {
        LoadedBundle sample("sample_addon.so");
        LoadedBundle joiner("joining_addon.so");
        ASSERT_TRUE(sample.complete()) << dlerror();
        ASSERT_TRUE(joiner.complete());
        // The framework's globals stay inside each bundle.
        for (const char* hidden : {"_ZN7zelvane5addonE", "_ZN7zelvane4hostE"}) {
            EXPECT_EQ(dlsym(sample.handle, hidden), nullptr) << hidden;
            EXPECT_EQ(dlsym(joiner.handle, hidden), nullptr) << hidden;
        }
        API_EnvirParams envir;
        envir.serverInfo.serverApplication = 1;

        sim::setCurrentAddOn(sampleID);
        ASSERT_EQ(sample.check(&envir), APIAddon_Normal);
        ASSERT_EQ(sample.registerInterface(), NoError);
        ASSERT_EQ(sample.initialize(), NoError);

        sim::setCurrentAddOn(joinerID);
        ASSERT_EQ(joiner.check(&envir), APIAddon_Normal);
        ASSERT_EQ(joiner.registerInterface(), NoError);
        ASSERT_EQ(joiner.initialize(), NoError);
        EXPECT_TRUE(contains(sim::reportText(), "Joining add-on joined a supervisor of 2 members"))
            << sim::reportText();
        EXPECT_TRUE(sim::findAddOn(joinerID)->services.empty()) << "a joined add-on answers no 'GSUP'";

        // An event the sample add-on's subscribers do not take reaches the joined add-on.
        EXPECT_EQ(sim::selectMenuItem(32500, 4), NoError);
        EXPECT_TRUE(contains(sim::reportText(), "Joining add-on took the announcement\nAnnouncement taken\n"))
            << sim::reportText();

        // The maker goes first: the joined add-on is detached and goes on alone.
        sim::setCurrentAddOn(sampleID);
        EXPECT_EQ(sample.freeData(), NoError);
        sim::setCurrentAddOn(joinerID);
        EXPECT_EQ(joiner.freeData(), NoError);
        EXPECT_FALSE(contains(sim::reportText(), "unexpected failure")) << sim::reportText();
    }

    // Unloaded bundles leave the host; the globals of the two bundles are their own, so a joiner
    // loaded alone makes a supervisor of its own.
    sim::unloadAddOn(sampleID);
    sim::unloadAddOn(joinerID);
    LoadedBundle alone("joining_addon.so");
    ASSERT_TRUE(alone.complete());
    API_EnvirParams envir;
    envir.serverInfo.serverApplication = 1;
    sim::setCurrentAddOn(joinerID);
    EXPECT_EQ(alone.check(&envir), APIAddon_Normal);
    EXPECT_TRUE(contains(sim::reportText(), "Joining add-on has a supervisor of its own"))
        << sim::reportText();
    EXPECT_EQ(alone.freeData(), NoError);
}

TEST(HostsimTest, AProjectOpenedAfterAnotherHoldsOnlyItsOwnContent) {
    const std::string description = (sourceDir / "examples" / "house.project.json").string();
    std::filesystem::path scenario = writeScenario(
        "two-projects.json", R"({"addons": [{"name": "sample", "bundle": ")" +
                                 (binaryDir / "sample_addon.so").string() +
                                 R"(", "developer": 1514490966, "local": 100, "resources": [")" +
                                 (sourceDir / "resources" / "zelvane.json").string() + R"(", ")" +
                                 (sourceDir / "tests" / "bundles" / "sample_addon.json").string() + R"("]}],
            "steps": [{"project": "open", "file": "A.pln", "description": ")" +
                                 description + R"("},
                      {"project": "close"},
                      {"project": "open", "file": "B.pln", "description": ")" +
                                 description + R"("}]})");
    HostsimRun run = runHostsim(scenario);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "  floor plan: 6 elements,")) << run.output;
    std::size_t first = run.output.find("  section \"Section A\": 1 elements");
    ASSERT_NE(first, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("  section \"Section A\"", first + 1), std::string::npos) << run.output;
}

TEST(HostsimTest, TheReportShowsTheProjectOnlyWhileOneIsOpen) {
    struct Case {
        const char* steps;
        bool open;        // at the end
        const char* line; // of the report
    };
    const Case cases[] = {
        {R"({"project": "open"})", true, "step 1: project open \"Project.pln\" -> 0\n"},
        {R"({"project": "new"}, {"project": "save"})", true, "step 2: project save -> 0\n"},
        {R"({"project": "open"}, {"project": "close"})", false, "step 2: project close -> 0\n"},
        // Quitting the host closes its project; nothing is left to save.
        {R"({"project": "open"}, {"project": "quit"})", false, "step 2: project quit -> 0\n"},
        {R"({"project": "new"}, {"project": "quit"}, {"project": "save"})", false,
         "step 3: project save (no project) -> 0\n"},
    };
    int index = 0;
    for (const Case& c : cases) {
        HostsimRun run =
            runHostsim(writeScenario("open" + std::to_string(index++) + ".json", oneAddon(c.steps)));
        ASSERT_EQ(run.status, 0) << c.steps << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, c.line)) << c.line << "\n" << run.output;
        EXPECT_EQ(contains(run.output, "\nproject:\n"), c.open) << c.steps << "\n" << run.output;
    }
}

TEST(HostsimTest, HelpGoesToStandardOutputAndUsageToStandardError) {
    const std::string stdoutOnly = " 2>/dev/null";
    const std::string stderrOnly = " 2>&1 >/dev/null";
    HostsimRun help = runHostsimWith(" --help", stdoutOnly);
    EXPECT_EQ(help.status, 0) << help.output;
    for (const char* part : {
             "usage: hostsim SCENARIO [--report FILE] [--sandbox FOLDER]\n",
             "  --report FILE     writes the report to FILE instead of standard output",
             "  --sandbox FOLDER  the host's folders (Documents, Preferences, SharedData, Temp)",
             "are looked for beside the scenario, then in hostsim's own folder.\n",
             "(such as build/default), or DIR/bin once installed\n",
             "Files the host writes",
             "Exit status:\n  0  the scenario played. For example:\n",
             "\n  1  bad arguments, found before anything is played.",
             "\n  2  a scenario that cannot be played",
             "\n  3  a bundle that is missing, is not a regular file, is another user's in a folder",
             "\n  4  the scenario played, but its report was not written.",
             "A reader that never reads holds a report larger than the FIFO's buffer, as a shell's",
             "the sandbox must not change while hostsim plays, reads included.\n",
             "/dev/stdout works, to a terminal, a file or a pipe.",
         }) {
        EXPECT_TRUE(contains(help.output, part)) << "missing: " << part << "\n" << help.output;
    }
    EXPECT_EQ(runHostsimWith(" --help", stderrOnly).output, "");
    // Help comes first, whatever else is given.
    EXPECT_EQ(runHostsimWith(" no_such_scenario.json --help", stdoutOnly).output, help.output);

    // Alone or with bad arguments, hostsim prints only the usage, to standard error.
    for (const char* arguments :
         {"", " \"\"", " --bogus", " --report", " a.json b.json", " a.json --sandbox", " -h"}) {
        HostsimRun run = runHostsimWith(arguments, stderrOnly);
        EXPECT_EQ(run.status, 1) << arguments << "\n" << run.output;
        EXPECT_EQ(run.output, "usage: hostsim SCENARIO [--report FILE] [--sandbox FOLDER]\n"
                              "       hostsim --help\n")
            << arguments;
        EXPECT_EQ(runHostsimWith(arguments, stdoutOnly).output, "") << arguments;
    }
}
