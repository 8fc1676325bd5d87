// The preset bundle played by the host program: the preset life cycle of a project, the preset
// manager and the update command, and the scripted file dialogs.
#include "HostsimRun.h"

#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using hostsim_test::sourceDir;

// The host program's output on the scenario, and its exit status.
std::string runHostsim(const std::filesystem::path& scenario, int& status) {
    hostsim_test::HostsimRun run = hostsim_test::runHostsim(scenario);
    status = run.status;
    return run.output;
}

// A scenario of the preset bundle with these steps, written beside the examples' files.
std::filesystem::path writeScenario(const std::string& name, const std::string& steps,
                                    const std::string& extra = "") {
    std::filesystem::path path = sim::specialFolder("Temp") / name;
    std::ofstream(path) << "{\"addons\": [{\"name\": \"presets\", \"bundle\": \"preset_addon.so\", "
                           "\"developer\": 1514490966, \"local\": 101, \"resources\": [\""
                        << (sourceDir / "resources" / "zelvane.json").string() << "\", \""
                        << (sourceDir / "tests" / "bundles" / "preset_addon.json").string() << "\"]}]"
                        << extra << ", \"steps\": [" << steps << "]}";
    return path;
}

} // namespace

TEST(PresetBundleTest, PlaysThePresetExample) {
    int status = -1;
    std::string report = runHostsim(sourceDir / "examples" / "presets.json", status);
    ASSERT_EQ(status, 0) << report;
    for (const char* line : {
             "step 1: CheckEnvironment presets -> 2 name \"Preset Tool\" description \"Version 3 (build "
             "7)\\n",
             "step 4: project open \"Presets.pln\" with 1 elements -> 0",
             // The configuration of the example's library is of version 2, the add-on of version 3.
             "alerts:\n  type -2 \"Warning\": \"The library configuration of Preset Tool was written for "
             "version "
             "2; this add-on is version 3. Its presets may not match.\" -> 1 (not scripted)\n",
             // The manager: a new finish named, Concrete deprecated, the presets exported, OK.
             "step 6: script files 1 dialog 32604 1\n",
             "dialogs:\n  32604 \"Preset Tool Presets\": accepted\n",
             "file dialogs:\n  type 4 \"Export Preset Tool Presets\" filters [\"Preset collections "
             "(*.presets)\"] "
             "selected 0: confirmed\n",
             "files:\n  \"out.presets\":\n    <?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n    "
             "<zelvanePresets>\n",
             "    \t\t\t<wall key=\"00000000-0000-0000-0000-000000000002\" cut=\"1\"",
             "    \t\t\t\t<name>Lime</name>\n",
             "undo steps:\n  \"Update Presets\" -> 0\n",
             // The embedded files were made empty in the project's embedded library.
             "  \"Embedded Library/Zelvane/Interface Images/Preset_Refresh_0_nocache.gdl\":\npreference "
             "files:\n",
             // The starter presets became the project's and were saved with it.
             "module data:\n  presets \"\" version 1 sign 19789: \"<presetDatabase><records><wall "
             "key=\\\"00000000-0000-0000-0000-000000000001\\\"",
             "<name>Concrete</name>",
             "<name>Lime</name>",
             "<finish key=\\\"00000000-0000-0000-0000-000000000003\\\"",
         }) {
        EXPECT_NE(report.find(line), std::string::npos) << "missing: " << line << "\n" << report;
    }
}

TEST(PresetBundleTest, FileDialogAnswersAreChecked) {
    struct Case {
        const char* answers;
        const char* message;
    };
    const std::vector<Case> cases{
        {"[\"later\"]", "file dialog answers are \"cancel\""},
        {"[{\"filter\": 0}]", "file dialog answers are \"cancel\""},
        {"[{\"file\": \"/etc/out.presets\"}]", "is absolute"},
        {"[{\"file\": \"../out.presets\"}]", "leads out of the sandbox"},
        {"[{\"file\": \"out.presets\", \"filter\": -1}]", "\"filter\" is an index from 0 to 255"},
        {"[{\"file\": \"out.presets\", \"kind\": 1}]", "unknown member \"kind\" of a file dialog answer"},
        {"{\"file\": \"out.presets\"}", "script \"files\" must be a list"},
    };
    for (const Case& c : cases) {
        int status = -1;
        std::string output = runHostsim(
            writeScenario("bad-files.json", std::string("{\"script\": {\"files\": ") + c.answers + "}}"),
            status);
        EXPECT_EQ(status, 2) << c.answers << "\n" << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << c.answers << "\n" << output;
        EXPECT_EQ(output.find("hostsim report"), std::string::npos) << "nothing is played";
    }
    int status = -1;
    std::string output =
        runHostsim(writeScenario("bad-report.json", "", ", \"reportFiles\": [\"../x\"]"), status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("leads out of the sandbox"), std::string::npos) << output;
}

TEST(PresetBundleTest, QueuedAnswersAndNamedFilesAreReported) {
    // Names holding line breaks and other control characters, which could pass for lines of the
    // report of their own.
    const std::string faking = R"(x\nunload: FreeData -> 0\nfake.txt)";
    const std::string controls = R"(\u001b\r\u007f\u0007\u0085\u2028\u2029.txt)";
    int status = -1;
    std::string output = runHostsim(
        writeScenario("files.json",
                      "{\"script\": {\"files\": [{\"file\": \"out.presets\", \"filter\": 1}, \"cancel\"]}}, "
                      "{\"project\": \"open\", \"file\": \"Presets.pln\"}, "
                      "{\"hostFile\": \"" +
                          faking + "\", \"folder\": \"Documents\", \"text\": \"t\"}",
                      ", \"reportFiles\": [\"Presets.pln\", \"out.presets\", \"" + faking + "\", \"" +
                          controls + "\"]"),
        status);
    ASSERT_EQ(status, 0) << output;
    // Answers no dialog took leave no record; the project file hostsim wrote is shown.
    for (const char* line :
         {"step 1: script files 2\n", "file dialogs:\nundo steps:\n",
          "files:\n  \"Presets.pln\":\n    project\n  \"out.presets\": missing\n",
          "step 3: host file \"Documents/x\\nunload: FreeData -> 0\\nfake.txt\" written, 1 bytes\n",
          "  \"x\\nunload: FreeData -> 0\\nfake.txt\":\n    t\n",
          "  \"\\x1b\\x0d\\x7f\\x07\\u0085\\u2028\\u2029.txt\": missing\npreference files:\n"}) {
        EXPECT_NE(output.find(line), std::string::npos) << "missing: " << line << "\n" << output;
    }
    EXPECT_EQ(output.find("\nunload: FreeData -> 0\n"), std::string::npos) << output;
}

TEST(PresetBundleTest, DescriptionMembersOfPresetProjectsAreChecked) {
    struct Case {
        const char* description;
        const char* message;
    };
    const std::vector<Case> cases{
        {"{\"embeddedLibrary\": \"../outside\"}", "embeddedLibrary: the file \"../outside\" leads out"},
        {"{\"embeddedLibrary\": 3}", "embeddedLibrary"},
        {"{\"elements\": [{\"type\": 1, \"parameters\": []}]}", "only objects (6) and lamps (7)"},
        {"{\"elements\": [{\"type\": 6, \"parameters\": [{\"name\": \"pen\", \"type\": \"colourful\", "
         "\"value\": 1}]}]}",
         "unknown parameter type \"colourful\""},
        {"{\"elements\": [{\"type\": 6, \"parameters\": [{\"name\": \"key\", \"type\": \"string\", "
         "\"rows\": 2, \"values\": [\"a\"]}]}]}",
         "rows x columns"},
        {"{\"elements\": [{\"type\": 6, \"parameters\": [{\"name\": \"A\", \"type\": \"length\", "
         "\"value\": 2}]}]}",
         "parameters[0].name: names a size or a parameter given before"},
        {"{\"elements\": [{\"type\": 7, \"parameters\": [{\"name\": \"k\", \"type\": \"real\"}, "
         "{\"name\": \"k\", \"type\": \"integer\"}]}]}",
         "parameters[1].name: names a size or a parameter given before"},
    };
    for (const Case& c : cases) {
        std::ofstream(sim::specialFolder("Temp") / "bad.project.json") << c.description;
        int status = -1;
        std::string output = runHostsim(
            writeScenario(
                "bad-description.json",
                "{\"project\": \"open\", \"file\": \"P.pln\", \"description\": \"bad.project.json\"}"),
            status);
        EXPECT_EQ(status, 2) << c.description << "\n" << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << c.description << "\n" << output;
    }
}

TEST(PresetBundleTest, AWallWithTwoFinishesTravelsThroughImportSaveReopenAndExport) {
    // The inside finish (lime, pen 1) and the outside one (slate, pen 9) are both finishes: each
    // comes back in its own place after an import, a save, a close and a reopen, and an export.
    const std::string steps =
        R"({"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"}, {"entry": "Initialize"},)"
        R"({"project": "open", "file": "Lined.pln"},)"
        R"({"hostFile": "in.presets", "folder": "Documents", "text": "<zelvanePresets><presetDatabase><records>)"
        R"(<wall key=\"00000000-0000-0000-0000-000000000001\" edit=\"2024-01-01T00:00:00Z\"><name>Lined</name>)"
        R"(<finish><material><value>lime</value></material><pen><value>1</value></pen></finish>)"
        R"(<finish><material><value>slate</value></material><pen><value>9</value></pen></finish>)"
        R"(</wall></records></presetDatabase></zelvanePresets>"},)"
        R"({"script": {"dialogs": {"32604": [[{"do": "click", "item": 7}, {"do": "click", "item": 1}]]},)"
        R"( "files": [{"file": "in.presets", "filter": 0}]}},)"
        R"({"menu": 32500, "item": 1},)"
        R"({"project": "save"}, {"project": "close"}, {"project": "open", "file": "Lined.pln"},)"
        R"({"script": {"dialogs": {"32604": [[{"do": "click", "item": 8}, {"do": "click", "item": 2}]]},)"
        R"( "files": [{"file": "out.presets", "filter": 0}]}},)"
        R"({"menu": 32500, "item": 1}, {"project": "quit"}, {"entry": "FreeData"})";
    int status = -1;
    std::string output =
        runHostsim(writeScenario("lined.json", steps, R"(, "reportFiles": ["out.presets"])"), status);
    ASSERT_EQ(status, 0) << output;
    // Each part found after the one before, from the start of a section of the report.
    auto inOrder = [&output](const char* section, const std::vector<std::string>& parts) {
        std::string::size_type at = output.find(section);
        for (const std::string& part : parts) {
            if (at == std::string::npos) {
                return false;
            }
            at = output.find(part, at);
        }
        return at != std::string::npos;
    };
    const std::string saved = R"(<material ignored=\"0\"><value>lime</value></material><pen ignored=\"0\">)"
                              R"(<value>1</value></pen></finish>)";
    const std::string savedOutside = R"(<material ignored=\"0\"><value>slate</value></material><pen )"
                                     R"(ignored=\"0\"><value>9</value></pen></finish>)";
    EXPECT_TRUE(inOrder("module data:", {saved, savedOutside})) << output;
    EXPECT_TRUE(inOrder("\"out.presets\":\n", {"<value>lime</value>", "<value>1</value>",
                                               "<value>slate</value>", "<value>9</value>"}))
        << output;
}
