// The host program: loads add-on bundles into the simulated host and plays a scenario (entry
// points, project notifications, menu items, add-on commands, scripted answers), then writes a
// report of what happened.
#pragma once

#include "ACAPI/EntryPoints.hpp"
#include "fileio/Descriptor.h"
#include "sim/AddOns.h"
#include "sim/Escaped.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hostsim {

class ProjectDescription;

// A scenario that cannot be played: its message says what and where.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A host error code as the report and messages write it: "0", or "0x" and its hexadecimal digits.
std::string errorText(GSErrCode err);

// Names and texts are quoted as the host quotes them, with their control characters escaped.
using sim::escaped;

// A bundle that cannot be loaded.
class BundleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The last entry point the host called of a bundle; the host calls them in this order.
enum class EntryStage { Loaded, Checked, Registered, Initialised, Freed };

struct Bundle {
    std::string name;
    std::filesystem::path path;
    std::vector<std::string> resources; // resource files, merged in order (later ones win)
    sim::AddOnID id;
    void* handle = nullptr;
    // The bundle's file, held open while it is loaded: the system loads it through this descriptor.
    fileio::Descriptor file;
    CheckEnvironmentProc* checkEnvironment = nullptr;
    RegisterInterfaceProc* registerInterface = nullptr;
    InitializeProc* initialize = nullptr;
    FreeDataProc* freeData = nullptr;
    EntryStage stage = EntryStage::Loaded;
    // The entry point of `stage` refused to load the add-on or answered an error: of the entry
    // points, only FreeData is called after it.
    bool failed = false;
    // How CheckEnvironment refused to load the add-on or RegisterInterface failed, and at which
    // step ("sample refused to load at step 1"); empty when neither did. Kept for a menu step that
    // finds the add-on's menus never registered.
    std::string refusal;

    // CheckEnvironment called and FreeData not yet called.
    bool running() const { return stage != EntryStage::Loaded && stage != EntryStage::Freed; }
    // Initialize called and answered no error, FreeData not yet called: its handlers are installed.
    bool initialised() const { return stage == EntryStage::Initialised && !failed; }
};

// A file hostsim reads for a scenario, and what it is to the scenario ("the scenario", "the
// bundle of add-on \"a\"").
struct InputFile {
    std::filesystem::path path;
    std::string what;
};

class HostProgram {
public:
    // `scenarioPath` names the scenario; relative bundle and resource paths are looked up beside it
    // and then in `programFolder` (where the host program and the bundles are built).
    HostProgram(std::filesystem::path scenarioPath, std::filesystem::path programFolder);
    HostProgram(const HostProgram&) = delete;
    HostProgram& operator=(const HostProgram&) = delete;
    // Frees and unloads every bundle still loaded.
    ~HostProgram();

    // Reads and checks the scenario, keeping its steps; throws ScenarioError.
    void read(nlohmann::json scenario);
    // Loads the bundles (throws BundleError), plays the steps and writes the report; throws
    // ScenarioError, naming the step, when a step cannot be played.
    void run(std::ostream& report);
    // The files the read scenario has hostsim read where they are found: the scenario, the bundles,
    // resource files, project descriptions and the files their library parts lie in. A file found
    // nowhere is left out.
    std::vector<InputFile> inputFiles() const;

private:
    Bundle& bundleNamed(const nlohmann::json& step, const char* key);
    // Where a file the scenario names is: the name itself when absolute, else the file beside the
    // scenario or in hostsim's own folder, always with its folder (so that dlopen never searches
    // the system's library path). Empty when it is in neither place.
    std::filesystem::path locate(const std::string& name) const;
    // Why a file the scenario names was not found: the places looked.
    std::string notFound() const;
    // Throws ScenarioError when two add-ons name one bundle file.
    void checkBundleFiles() const;
    void load(Bundle& bundle);
    void loadResources(const Bundle& bundle);
    void unload(Bundle& bundle);
    // Plays step i.
    std::string play(std::size_t i);
    std::string entry(Bundle& bundle, const std::string& name);
    // The add-on whose menu answers the item; throws ScenarioError when no add-on registered the
    // menu, or its menu has no such item.
    const Bundle& checkMenuItem(short menu, short item) const;
    // A "project" step, with the description it names (null for none).
    std::string project(const nlohmann::json& step, std::unique_ptr<ProjectDescription> named);
    // The project description a "project" step names, read and checked; throws ScenarioError.
    ProjectDescription description(const nlohmann::json& step, const std::string& context) const;
    std::string command(const nlohmann::json& step);
    void writeSummary(std::ostream& report) const;

    std::filesystem::path m_scenarioPath;
    std::filesystem::path m_scenarioFolder; // absolute
    std::filesystem::path m_programFolder;
    std::vector<Bundle> m_bundles;
    std::vector<nlohmann::json> m_steps;
    // The descriptions the steps name, by step, each read once with the scenario and given up
    // when played.
    std::map<std::size_t, std::unique_ptr<ProjectDescription>> m_descriptions;
    std::vector<std::string> m_reportFiles; // files of the sandbox's documents the report shows
    Int32 m_application = 1;
};

} // namespace hostsim
