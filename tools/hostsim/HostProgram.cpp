#include "HostProgram.h"

#include "AttributeReport.h"
#include "FileContent.h"
#include "FileScript.h"
#include "HostSetup.h"
#include "ProgressReport.h"
#include "ProjectDescription.h"
#include "ProjectReport.h"
#include "ScenarioInput.h"
#include "ScenarioVocabulary.h"

#include "ACAPI/CommandParameters.hpp"
#include "ACAPI/Goodies.hpp"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Rules.h"
#include "fileio/WriteWhole.h"
#include "sim/Dialogs.h"
#include "sim/Files.h"
#include "sim/Library.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/ReadFile.h"
#include "sim/ReplaceFile.h"
#include "sim/Resources.h"
#include "sim/Sim.h"
#include "sim/Toolbox.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>

namespace hostsim {
namespace {

using nlohmann::json;

std::string where(std::size_t index) {
    return "step " + std::to_string(index + 1) + ": ";
}

const json& member(const json& object, const char* key, const std::string& context) {
    auto it = object.find(key);
    if (it == object.end()) {
        throw ScenarioError(context + "\"" + key + "\" is missing");
    }
    return *it;
}

std::string text(const json& object, const char* key, const std::string& context) {
    const json& value = member(object, key, context);
    if (!value.is_string()) {
        throw ScenarioError(context + "\"" + key + "\" must be text");
    }
    return value.get<std::string>();
}

Int64 integer(const json& object, const char* key, const std::string& context, Int64 low, Int64 high) {
    const json& value = member(object, key, context);
    if (!value.is_number_integer()) {
        throw ScenarioError(context + "\"" + key + "\" must be an integer");
    }
    if (!isIntegerIn(value, low, high)) {
        throw ScenarioError(context + "\"" + key + "\" is out of range (" + std::to_string(low) + " to " +
                            std::to_string(high) + ")");
    }
    return value.get<Int64>();
}

GSType fourCharCode(const std::string& code, const std::string& context) {
    if (code.size() != 4) {
        throw ScenarioError(context + escaped(code) + " is not a four-character code");
    }
    GSType value = 0;
    for (char c : code) {
        value = (value << 8) | UInt8(c);
    }
    return value;
}

std::string codeText(GSType code) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += char((code >> shift) & 0xFF);
    }
    return out;
}

// "dialogs": {"32600": [[action, ...], ...]}: for each dialog resource ID, one script per opening.
void checkDialogScripts(const json& dialogs, const std::string& context) {
    if (!dialogs.is_object()) {
        throw ScenarioError(context + "\"dialogs\" must map dialog resource IDs to lists of scripts");
    }
    for (auto it = dialogs.begin(); it != dialogs.end(); ++it) {
        std::string id = it.key();
        if (id.empty() || id.size() > 5 || !std::all_of(id.begin(), id.end(), ::isdigit) ||
            std::stol(id) > 32767) {
            throw ScenarioError(context + escaped(id) + " is not a dialog resource ID");
        }
        if (!it.value().is_array()) {
            throw ScenarioError(context + "the scripts of dialog " + id + " must be a list");
        }
        for (const json& script : it.value()) {
            if (!script.is_array()) {
                throw ScenarioError(context + "a script of dialog " + id + " must be a list of actions");
            }
            for (const json& action : script) {
                std::string where = context + "dialog " + id + ": ";
                if (!action.is_object()) {
                    throw ScenarioError(where + "an action must be an object");
                }
                checkMembers(action, vocabulary::dialogAction, where);
                std::string kind = text(action, "do", where);
                if (vocabulary::named(vocabulary::dialogActions, kind) == nullptr) {
                    throw ScenarioError(where + "unknown action " + escaped(kind));
                }
                for (const char* key : {"item", "page", "h", "v"}) {
                    if (action.contains(key)) {
                        integer(action, key, where, -32768, 32767);
                    }
                }
                if (action.contains("value")) {
                    integer(action, "value", where, INT32_MIN, INT32_MAX);
                }
                if (action.contains("text")) {
                    text(action, "text", where);
                }
            }
        }
    }
}

void checkStep(const json& step, std::size_t index, const std::set<std::string>& names) {
    std::string context = where(index);
    if (!step.is_object()) {
        throw ScenarioError(context + "a step must be an object");
    }
    const vocabulary::Members* kind = nullptr;
    for (const vocabulary::Members& candidate : vocabulary::steps) {
        if (step.contains(candidate.object())) {
            if (kind != nullptr) {
                throw ScenarioError(context + "\"" + std::string(kind->object()) + "\" and \"" +
                                    std::string(candidate.object()) + "\" in one step");
            }
            kind = &candidate;
        }
    }
    if (kind == nullptr) {
        const std::size_t count = std::size(vocabulary::steps);
        std::string kinds;
        for (std::size_t k = 0; k < count; ++k) {
            kinds += (k == 0           ? ""
                      : k + 1 == count ? " or "
                                       : ", ") +
                     std::string(vocabulary::steps[k].object());
        }
        throw ScenarioError(context + "no action (" + kinds + ")");
    }
    for (auto it = step.begin(); it != step.end(); ++it) {
        if (!kind->contains(it.key())) {
            throw ScenarioError(context + "unknown member " + escaped(it.key()) + " of a \"" +
                                std::string(kind->object()) + "\" step");
        }
    }
    if (step.contains("addon")) {
        std::string name = text(step, "addon", context);
        if (names.count(name) == 0) {
            throw ScenarioError(context + "no add-on is named " + escaped(name));
        }
    }
    std::string action(kind->object());
    if (action == "entry") {
        std::string name = text(step, "entry", context);
        if (std::find(std::begin(vocabulary::entryPoints), std::end(vocabulary::entryPoints), name) ==
            std::end(vocabulary::entryPoints)) {
            throw ScenarioError(context + "unknown entry point " + escaped(name));
        }
    } else if (action == "project") {
        std::string name = text(step, "project", context);
        if (vocabulary::named(vocabulary::projectActions, name) == nullptr) {
            throw ScenarioError(context + "unknown project action " + escaped(name));
        }
        if (step.contains("file")) {
            sandboxedName(text(step, "file", context), context);
        }
    } else if (action == "notify") {
        integer(step, "notify", context, 1, 0xFFFFFFFFLL);
    } else if (action == "menu") {
        integer(step, "menu", context, 1, 32767);
        integer(step, "item", context, 1, 32767);
    } else if (action == "command") {
        fourCharCode(text(step, "command", context), context);
        if (step.contains("version")) {
            integer(step, "version", context, 1, 0x7FFFFFFF);
        }
        if (step.contains("parameters")) {
            const json& parameters = step["parameters"];
            if (!parameters.is_object()) {
                throw ScenarioError(context + "\"parameters\" must be an object");
            }
            for (auto it = parameters.begin(); it != parameters.end(); ++it) {
                if (it.key().empty() || it.key().size() > 255) {
                    throw ScenarioError(context + "a parameter name must have 1 to 255 bytes");
                }
                const json& value = it.value();
                if (!value.is_string() && !value.is_boolean() && !value.is_number()) {
                    throw ScenarioError(context + "parameter " + escaped(it.key()) +
                                        " must be text, a number or a boolean");
                }
                if (value.is_number_integer() && !isIntegerIn(value, INT32_MIN, INT32_MAX)) {
                    throw ScenarioError(context + "parameter " + escaped(it.key()) + " is out of range");
                }
            }
        }
    } else if (action == "hostFile") {
        checkHostFile(step, context);
    } else if (action == "undo") {
        if (step["undo"] != true) {
            throw ScenarioError(context + "\"undo\" must be true");
        }
    } else if (action == "moduleData") {
        const json& data = step["moduleData"];
        if (!data.is_object()) {
            throw ScenarioError(context + "\"moduleData\" must be an object");
        }
        checkMembers(data, vocabulary::moduleData, context);
        text(data, "text", context + "moduleData: ");
        if (data.contains("name")) {
            text(data, "name", context + "moduleData: ");
        }
        if (data.contains("version")) {
            integer(data, "version", context + "moduleData: ", INT32_MIN, INT32_MAX);
        }
    } else if (action == "script") {
        const json& script = step["script"];
        if (!script.is_object()) {
            throw ScenarioError(context + "\"script\" must be an object");
        }
        checkMembers(script, vocabulary::script, context);
        for (auto it = script.begin(); it != script.end(); ++it) {
            if (it.key() == "dialogs") {
                checkDialogScripts(it.value(), context);
                continue;
            }
            if (!it.value().is_array()) {
                throw ScenarioError(context + "script " + escaped(it.key()) + " must be a list");
            }
            if (it.key() == "settingsDialog") {
                for (const json& answer : it.value()) {
                    readSettingsAnswer(answer, context);
                }
            } else if (it.key() == "progressCancelAt") {
                for (const json& answer : it.value()) {
                    if (!isIntegerIn(answer, 0, INT32_MAX)) {
                        throw ScenarioError(context +
                                            "progressCancelAt answers are query numbers from 1, or 0");
                    }
                }
            } else if (it.key() == "layerChooser") {
                for (const json& answer : it.value()) {
                    if (!isIntegerIn(answer, -1, 32767)) {
                        throw ScenarioError(context + "layerChooser answers are layer indexes or -1");
                    }
                }
            } else if (it.key() == "files") {
                checkFileAnswers(it.value(), context);
            } else if (it.key() == "faults") {
                checkFaults(it.value(), context);
            } else if (it.key() == "alerts") {
                for (const json& answer : it.value()) {
                    if (!isIntegerIn(answer, 1, 3)) {
                        throw ScenarioError(context + "alert answers are buttons 1 to 3");
                    }
                }
            }
        }
    }
}

// Why the host would not call entry point `name` of the bundle now; empty when it would. It calls
// CheckEnvironment, RegisterInterface and Initialize once each in this order, each only when the
// one before answered an add-on type or no error; FreeData once, any time after CheckEnvironment.
std::string entryRefusal(const Bundle& bundle, const std::string& name) {
    const EntryStage stage = bundle.stage;
    if (name == "CheckEnvironment") {
        return stage == EntryStage::Loaded ? "" : "already called";
    }
    if (stage == EntryStage::Loaded) {
        return "CheckEnvironment not called";
    }
    if (stage == EntryStage::Freed) {
        return name == "FreeData" ? "already called" : "FreeData called";
    }
    if (name == "FreeData") {
        return "";
    }
    const EntryStage before = name == "RegisterInterface" ? EntryStage::Checked : EntryStage::Registered;
    if (stage > before) {
        return "already called";
    }
    if (bundle.failed) {
        return stage == EntryStage::Checked ? "the add-on refused to load" : "RegisterInterface failed";
    }
    return stage < before ? "RegisterInterface not called" : "";
}

// Why a step that the add-on answers with a handler it installs in Initialize is not played; empty
// when the add-on is initialised.
std::string notInitialised(const Bundle& bundle) {
    if (bundle.initialised()) {
        return "";
    }
    return bundle.name + (bundle.stage == EntryStage::Freed ? " was freed" : " is not initialised");
}

// The host calls nothing of an add-on after its FreeData, or after its Initialize failed: the
// handlers it installed are gone, what it registered and its module data stay.
void forgetHandlers(sim::AddOnID id) {
    sim::AddOn* addOn = sim::findAddOn(id);
    if (addOn == nullptr) {
        return;
    }
    for (sim::MenuRegistration& menu : addOn->menus) {
        menu.handler = nullptr;
    }
    for (sim::ServiceRegistration& service : addOn->services) {
        service.handler = nullptr;
    }
    addOn->mergeHandler = nullptr;
    addOn->projectHandler = nullptr;
    addOn->projectMask = 0;
}

// The name dlopen loads the open bundle file `fd` by: the process's own link to the descriptor,
// which leads to the file looked at whatever its path leads to by then, or, where the system has no
// such links, `path` itself.
std::string loadedName(int fd, const std::filesystem::path& path) {
    const std::string held = "/proc/self/fd/" + std::to_string(fd);
    struct stat named {};
    struct stat opened {};
    // The process's own link, which the system makes: no other user's link to follow.
    const bool linked =
        ::stat(held.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 && fileio::sameNode(named, opened);
    return linked ? held : path.string();
}

// `text` with each `name` in it written as `path`: the loader's messages name what it loaded.
std::string named(std::string text, const std::string& name, const std::filesystem::path& path) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
        text.replace(at, name.size(), path.string());
        at += path.string().size();
    }
    return text;
}

// Closes the bundle's library and its file. A library the system keeps loaded after dlclose (one
// with unique symbols) keeps its name, so its file's descriptor is never closed: no bundle loaded
// later under the same descriptor's name is taken for it.
void closeBundle(Bundle& bundle) {
    const std::string name = loadedName(bundle.file.get(), bundle.path);
    dlclose(bundle.handle);
    bundle.handle = nullptr;
    if (void* kept = bundle.file ? dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD) : nullptr) {
        dlclose(kept);
        static_cast<void>(bundle.file.release());
    }
    bundle.file.reset();
}

} // namespace

std::string errorText(GSErrCode err) {
    if (err == NoError) {
        return "0";
    }
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << UInt32(err);
    return out.str();
}

HostProgram::HostProgram(std::filesystem::path scenarioPath, std::filesystem::path programFolder)
    : m_scenarioPath(std::move(scenarioPath)), m_programFolder(std::move(programFolder)) {
    std::error_code error;
    // Joined to the working folder by name alone: no entry is looked at.
    m_scenarioFolder = std::filesystem::absolute(m_scenarioPath, error).parent_path();
}

HostProgram::~HostProgram() {
    for (auto it = m_bundles.rbegin(); it != m_bundles.rend(); ++it) {
        unload(*it);
    }
}

void HostProgram::read(json scenario) {
    if (!scenario.is_object()) {
        throw ScenarioError("the scenario must be an object");
    }
    checkMembers(scenario, vocabulary::scenario, "");
    if (scenario.contains("application")) {
        m_application = Int32(integer(scenario, "application", "", 0, 3));
    }
    const json& addOns = member(scenario, "addons", "");
    if (!addOns.is_array() || addOns.empty()) {
        throw ScenarioError("\"addons\" must be a list of at least one add-on");
    }
    std::set<std::string> names;
    std::set<sim::AddOnID> ids;
    for (std::size_t i = 0; i < addOns.size(); ++i) {
        const json& entry = addOns[i];
        std::string context = "add-on " + std::to_string(i + 1) + ": ";
        if (!entry.is_object()) {
            throw ScenarioError(context + "must be an object");
        }
        checkMembers(entry, vocabulary::addOn, context);
        Bundle bundle;
        bundle.name = text(entry, "name", context);
        // The report writes the name as it stands, at the start of its lines.
        for (std::size_t at = 0; at < bundle.name.size(); ++at) {
            if (sim::controlLength(bundle.name, at) != 0) {
                throw ScenarioError(context + "the name " + escaped(bundle.name) +
                                    " holds a control character or a line break");
            }
        }
        bundle.path = text(entry, "bundle", context);
        checkFileName(bundle.path.string(), context);
        bundle.id.developer = UInt32(integer(entry, "developer", context, 1, 0xFFFFFFFFLL));
        bundle.id.local = UInt32(integer(entry, "local", context, 1, 0xFFFFFFFFLL));
        if (entry.contains("resources")) {
            const json& files = entry["resources"];
            if (files.is_string()) {
                bundle.resources.push_back(files.get<std::string>());
                checkFileName(bundle.resources.back(), context);
            } else if (files.is_array() && std::all_of(files.begin(), files.end(),
                                                       [](const json& file) { return file.is_string(); })) {
                for (const json& file : files) {
                    bundle.resources.push_back(file.get<std::string>());
                    checkFileName(bundle.resources.back(), context);
                }
            } else {
                throw ScenarioError(context + "\"resources\" must be a file name or a list of them");
            }
        }
        if (!names.insert(bundle.name).second) {
            throw ScenarioError(context + "the name " + escaped(bundle.name) + " is used twice");
        }
        if (!ids.insert(bundle.id).second) {
            throw ScenarioError(context + "its developer and local ID are used twice");
        }
        m_bundles.push_back(std::move(bundle));
    }
    checkBundleFiles();
    m_reportFiles = readReportedFiles(scenario);
    member(scenario, "steps", "");
    json& steps = scenario["steps"];
    if (!steps.is_array()) {
        throw ScenarioError("\"steps\" must be a list");
    }
    // The steps are moved, not copied: a long scenario's steps take more memory than its text.
    m_steps.reserve(steps.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        checkStep(steps[i], i, names);
        if (steps[i].contains("project") && steps[i].contains("description")) {
            m_descriptions[i] = std::make_unique<ProjectDescription>(description(steps[i], where(i)));
        }
        m_steps.push_back(std::move(steps[i]));
    }
}

ProjectDescription HostProgram::description(const json& step, const std::string& context) const {
    const json& name = step["description"];
    std::string action = step["project"].get<std::string>();
    if (!name.is_string() || (action != "new" && action != "open")) {
        throw ScenarioError(context + "\"description\" names a file, for a project that is made or opened");
    }
    checkFileName(name.get<std::string>(), context);
    std::filesystem::path path = locate(name.get<std::string>());
    if (path.empty()) {
        throw ScenarioError(context + "cannot read the project description " +
                            escaped(name.get<std::string>()) + ": " + notFound());
    }
    try {
        // Named without the step, which the description's own failures when applied get from the run.
        // Its folder is joined to the working folder by name alone: no entry is looked at.
        return ProjectDescription::read(readJsonFile(path, "the project description"),
                                        "project description " + escaped(name.get<std::string>()),
                                        std::filesystem::absolute(path).parent_path());
    } catch (const ScenarioError& error) {
        throw ScenarioError(context + error.what());
    }
}

void HostProgram::checkBundleFiles() const {
    // One file loads once in a process: a second add-on on it would share the first one's
    // framework globals and overwrite them.
    std::map<std::string, std::string> owners;
    for (const Bundle& bundle : m_bundles) {
        std::filesystem::path path = locate(bundle.path.string());
        if (path.empty()) {
            // Missing, which its load tells; two add-ons on one name are told first.
            path = m_scenarioFolder / bundle.path;
        }
        // The same file under two names (a link, a hard link) is found by what it is; a missing one
        // by where its name leads.
        struct stat info {};
        std::error_code error;
        const std::filesystem::path followed = sim::followedPath(path, error);
        const std::string key = sim::statusOf(path, info)
                                    ? std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino)
                                : error ? path.lexically_normal().string()
                                        : followed.lexically_normal().string();
        auto known = owners.emplace(key, bundle.name);
        if (!known.second) {
            throw ScenarioError("add-ons " + escaped(known.first->second) + " and " + escaped(bundle.name) +
                                " name the same bundle file " + escaped(path.string()) +
                                ": each add-on needs a bundle file of its own");
        }
    }
}

std::vector<InputFile> HostProgram::inputFiles() const {
    std::vector<InputFile> files{{m_scenarioPath, "the scenario"}};
    auto add = [&files, this](const std::string& name, const std::string& what) {
        std::filesystem::path path = locate(name);
        if (!path.empty()) {
            files.push_back({path, what});
        }
    };
    for (const Bundle& bundle : m_bundles) {
        add(bundle.path.string(), "the bundle of add-on " + escaped(bundle.name));
        for (const std::string& name : bundle.resources) {
            add(name, "a resource file of add-on " + escaped(bundle.name));
        }
    }
    for (const auto& named : m_descriptions) {
        const std::string step = std::to_string(named.first + 1);
        add(m_steps[named.first]["description"].get<std::string>(),
            "the project description of step " + step);
        if (named.second == nullptr) {
            continue;
        }
        // The files of its library parts, which the add-ons read through the host.
        for (const sim::LibPartDef& part : named.second->library().parts()) {
            if (!part.location.empty()) {
                files.push_back({part.location, "the file of library part " + escaped(part.name) +
                                                    " in the project description of step " + step});
            }
        }
    }
    return files;
}

std::filesystem::path HostProgram::locate(const std::string& name) const {
    std::filesystem::path path(name);
    if (path.is_absolute()) {
        return path;
    }
    for (const std::filesystem::path& folder : {m_scenarioFolder, m_programFolder}) {
        const fileio::Entry entry((folder / path).string());
        struct stat info {};
        // One that the rules do not let be followed is found there all the same: its read says why.
        if (entry.error() || entry.status(info)) {
            return folder / path;
        }
    }
    return {};
}

std::string HostProgram::notFound() const {
    return "it is neither beside the scenario (in " + escaped(m_scenarioFolder.string()) +
           ") nor in hostsim's folder (" + escaped(m_programFolder.string()) + ")";
}

void HostProgram::loadResources(const Bundle& bundle) {
    if (bundle.resources.empty()) {
        return;
    }
    json merged = json::object();
    for (const std::string& name : bundle.resources) {
        std::filesystem::path path = locate(name);
        if (path.empty()) {
            throw ScenarioError("cannot read the resource file " + escaped(name) + ": " + notFound());
        }
        json file = readJsonFile(path, "the resource file");
        if (!file.is_object()) {
            throw ScenarioError("the resource file " + escaped(path.string()) + " is not a JSON object");
        }
        merged.merge_patch(file);
    }
    std::string error;
    if (!sim::loadResourcesText(bundle.id, merged.dump(), &error)) {
        throw ScenarioError("the resources of add-on " + escaped(bundle.name) + ": " + error);
    }
}

void HostProgram::load(Bundle& bundle) {
    std::filesystem::path path = locate(bundle.path.string());
    if (path.empty()) {
        throw BundleError("cannot load bundle " + escaped(bundle.path.string()) + ": " + notFound());
    }
    const std::string cannot = "cannot load bundle " + escaped(path.string()) + ": ";
    const fileio::Entry entry(path.string());
    struct stat info {};
    if (entry.error() || !entry.status(info)) {
        throw BundleError(
            cannot +
            (entry.error() ? entry.error() : std::error_code(errno, std::generic_category())).message());
    }
    // dlopen would wait on a FIFO for a writer that never comes.
    if (!S_ISREG(info.st_mode)) {
        throw BundleError(cannot + "it is " + fileio::kindOf(info.st_mode) + ", not a file");
    }
    // Opened under the file rules (another user's file in a folder other users may write is not
    // loaded), and loaded through the descriptor, so that the file looked at is the file loaded.
    std::error_code error;
    fileio::Descriptor file = entry.openFile(O_RDONLY, fileio::Owners::player, error);
    if (error) {
        throw BundleError(cannot + error.message());
    }
    sim::loadAddOn(bundle.id);
    loadResources(bundle);
    const std::string name = loadedName(file.get(), path);
    // Each bundle keeps its own copy of the framework: nothing of it is shared between bundles.
    bundle.handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (bundle.handle == nullptr) {
        const char* reason = dlerror();
        throw BundleError(cannot + (reason != nullptr ? escaped(named(reason, name, path)) : "unknown"));
    }
    bundle.file = std::move(file);
    bundle.checkEnvironment =
        reinterpret_cast<CheckEnvironmentProc*>(dlsym(bundle.handle, "CheckEnvironment"));
    bundle.registerInterface =
        reinterpret_cast<RegisterInterfaceProc*>(dlsym(bundle.handle, "RegisterInterface"));
    bundle.initialize = reinterpret_cast<InitializeProc*>(dlsym(bundle.handle, "Initialize"));
    bundle.freeData = reinterpret_cast<FreeDataProc*>(dlsym(bundle.handle, "FreeData"));
    if (bundle.checkEnvironment == nullptr || bundle.registerInterface == nullptr ||
        bundle.initialize == nullptr || bundle.freeData == nullptr) {
        closeBundle(bundle);
        throw BundleError("bundle " + escaped(path.string()) + " lacks one of the four entry points");
    }
}

void HostProgram::unload(Bundle& bundle) {
    if (bundle.running()) {
        sim::setCurrentAddOn(bundle.id);
        bundle.freeData();
        bundle.stage = EntryStage::Freed;
    }
    if (bundle.handle != nullptr) {
        // The host forgets what an unloaded bundle registered: its handlers are gone.
        sim::unloadAddOn(bundle.id);
        closeBundle(bundle);
    }
}

Bundle& HostProgram::bundleNamed(const json& step, const char* key) {
    if (!step.contains(key)) {
        return m_bundles.front();
    }
    std::string name = step[key].get<std::string>();
    for (Bundle& bundle : m_bundles) {
        if (bundle.name == name) {
            return bundle;
        }
    }
    return m_bundles.front(); // names were checked when the scenario was read
}

const Bundle& HostProgram::checkMenuItem(short menu, short item) const {
    std::string chosen = "menu " + std::to_string(menu) + "/" + std::to_string(item) + " cannot be chosen: ";
    // The first add-on loaded that registered the menu gets its items, as the host gives them.
    for (const Bundle& bundle : m_bundles) {
        const sim::AddOn* addOn = sim::findAddOn(bundle.id);
        if (addOn == nullptr || std::none_of(addOn->menus.begin(), addOn->menus.end(),
                                             [menu](const sim::MenuRegistration& registered) {
                                                 return registered.menuResID == menu;
                                             })) {
            continue;
        }
        const sim::ResourceFile* resources = sim::resources(sim::resourceModule(bundle.id));
        const sim::MenuTemplate* shown = resources != nullptr ? resources->findMenu(menu) : nullptr;
        const std::string named = "the menu " + std::to_string(menu) + " of add-on " + bundle.name;
        if (shown == nullptr) {
            // The host registered the menu without looking for it: the resource's absence shows only now.
            std::string files;
            for (const std::string& name : bundle.resources) {
                files += (files.empty() ? "" : ", ") + escaped(name);
            }
            throw ScenarioError(chosen + named + " is in none of its resource files (" +
                                (files.empty() ? "it has none" : files) + ")");
        }
        if (std::size_t(item) > shown->items.size()) {
            throw ScenarioError(chosen + named + " has " + std::to_string(shown->items.size()) + " items");
        }
        return bundle;
    }
    // An add-on that refused to load, or failed to register its interface, registered no menu:
    // the likely reason.
    std::string refusals;
    for (const Bundle& bundle : m_bundles) {
        if (!bundle.refusal.empty()) {
            refusals += (refusals.empty() ? ": " : "; ") + bundle.refusal;
        }
    }
    throw ScenarioError(chosen + "no add-on registered the menu " + std::to_string(menu) + refusals);
}

std::string HostProgram::entry(Bundle& bundle, const std::string& name) {
    sim::setCurrentAddOn(bundle.id);
    std::ostringstream out;
    out << name << " " << bundle.name << " -> ";
    std::string refusal = entryRefusal(bundle, name);
    if (!refusal.empty()) {
        out << "not called (" << refusal << ")";
        return out.str();
    }
    if (name == "CheckEnvironment") {
        API_EnvirParams envir;
        envir.serverInfo.serverApplication = m_application;
        envir.serverInfo.mainVersion = 21;
        API_AddonType type = bundle.checkEnvironment(&envir);
        bundle.stage = EntryStage::Checked;
        bundle.failed = type == APIAddon_DontRegister;
        envir.addOnInfo.name[sizeof envir.addOnInfo.name - 1] = 0;
        envir.addOnInfo.description[sizeof envir.addOnInfo.description - 1] = 0;
        out << type << " name " << escaped(envir.addOnInfo.name) << " description "
            << escaped(envir.addOnInfo.description);
        return out.str();
    }
    GSErrCode err = NoError;
    if (name == "RegisterInterface") {
        err = bundle.registerInterface();
        bundle.stage = EntryStage::Registered;
    } else if (name == "Initialize") {
        err = bundle.initialize();
        bundle.stage = EntryStage::Initialised;
    } else {
        err = bundle.freeData();
        bundle.stage = EntryStage::Freed;
    }
    bundle.failed = err != NoError;
    if (bundle.stage == EntryStage::Freed || (bundle.stage == EntryStage::Initialised && bundle.failed)) {
        forgetHandlers(bundle.id);
    }
    out << errorText(err);
    return out.str();
}

std::string HostProgram::project(const json& step, std::unique_ptr<ProjectDescription> named) {
    std::string action = step["project"].get<std::string>();
    std::ostringstream out;
    out << "project " << action;
    GSErrCode err = NoError;
    if (action == "new" || action == "open") {
        if (sim::isProjectOpen()) {
            sim::notifyProject(APINotify_Close);
            sim::closeProject();
        }
        std::string path;
        if (action == "open") {
            std::string file = step.contains("file") ? step["file"].get<std::string>() : "Project.pln";
            std::filesystem::path location = hostFolderFile("Documents", file, "");
            // Made only where there is none, a link followed to the file it names: a file that
            // appears meanwhile is opened as it is. The player's project goes only into folders of
            // the player's, as the walk holds them. hostsim's own work, not the add-on's.
            const sim::OwnFileCalls own;
            const fileio::Entry target(location.string(), fileio::Entry::follow,
                                       fileio::Entry::Folders::players);
            const std::string text = "project\n";
            fileio::WriteOptions options;
            options.mustBeNew = true;
            std::error_code error = target.error()
                                        ? target.error()
                                        : fileio::writeWhole(target, fileio::textWriter(text), options);
            const std::string cannot = "cannot write the project file " + escaped(location.string()) + ": ";
            if (target.error() == fileio::FileError::notPlayersFolder) {
                // The folder the walk refused, not the player's file it was to hold.
                throw ScenarioError(cannot + "the folder " + escaped(target.path()) +
                                    " is not taken: " + error.message());
            }
            if (error && error != std::errc::file_exists) {
                throw ScenarioError(cannot + error.message());
            }
            struct stat info {};
            if (error && (!target.status(info) || !S_ISREG(info.st_mode))) {
                throw ScenarioError("the project file " + escaped(location.string()) + " is not a file");
            }
            path = location.string();
            out << " " << escaped(file);
        }
        sim::openProject(path);
        if (named != nullptr) {
            named->apply();
            out << " with " << named->elementCount() << " elements";
        }
        err = sim::notifyProject(vocabulary::named(vocabulary::projectActions, action)->notification);
    } else if (action == "save") {
        if (!sim::isProjectOpen()) {
            out << " (no project)";
        } else {
            err = sim::notifyProject(APINotify_PreSave);
            GSErrCode saved = sim::notifyProject(APINotify_Save);
            err = err != NoError ? err : saved;
        }
    } else if (action == "close") {
        err = sim::notifyProject(APINotify_Close);
        sim::closeProject();
    } else {
        // Quitting the host closes its project.
        err = sim::notifyProject(APINotify_Quit);
        sim::closeProject();
    }
    out << " -> " << errorText(err);
    return out.str();
}

std::string HostProgram::command(const json& step) {
    Bundle& target = bundleNamed(step, "addon");
    GSType code = fourCharCode(step["command"].get<std::string>(), "");
    Int32 version = step.contains("version") ? step["version"].get<Int32>() : 1;
    GSHandle parameters = nullptr;
    std::ostringstream out;
    out << "command " << sim::escapedLine(codeText(code)) << " version " << version << " of " << target.name
        << " -> ";
    if (std::string refusal = notInitialised(target); !refusal.empty()) {
        out << "not called (" << refusal << ")";
        return out.str();
    }
    if (GSErrCode err = ACAPI_Goodies(APIAny_InitMDCLParameterListID, &parameters); err != NoError) {
        throw ScenarioError("the host could not make the command's parameter list (error " + errorText(err) +
                            ")");
    }
    if (step.contains("parameters")) {
        for (auto it = step["parameters"].begin(); it != step["parameters"].end(); ++it) {
            API_MDCLParameter parameter;
            std::string name = it.key();
            std::string value;
            parameter.name = name.c_str();
            if (it.value().is_string()) {
                value = it.value().get<std::string>();
                parameter.type = MDCLPar_string;
                parameter.string_par = value.c_str();
            } else if (it.value().is_boolean()) {
                parameter.type = MDCLPar_boolean;
                parameter.bool_par = it.value().get<bool>();
            } else if (it.value().is_number_integer()) {
                parameter.type = MDCLPar_int;
                parameter.int_par = it.value().get<Int32>();
            } else {
                parameter.type = MDCLPar_float;
                parameter.float_par = it.value().get<double>();
            }
            // The command is not called without one of its parameters.
            if (GSErrCode err = ACAPI_Goodies(APIAny_AddMDCLParameterID, parameters, &parameter);
                err != NoError) {
                ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &parameters);
                throw ScenarioError("the host could not add the parameter " + escaped(name) +
                                    " to the command's list (error " + errorText(err) + ")");
            }
        }
    }
    // The called add-on writes its answer here; the report shows whether it did.
    alignas(8) char result[64] = {};
    GSErrCode err = sim::callAddOnCommand(target.id, code, version, parameters, result, false);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &parameters);
    out << errorText(err);
    bool answered = std::any_of(std::begin(result), std::end(result), [](char c) { return c != 0; });
    out << (answered ? ", answered" : ", no answer");
    return out.str();
}

std::string HostProgram::play(std::size_t i) {
    const json& step = m_steps[i];
    if (step.contains("entry")) {
        Bundle& bundle = bundleNamed(step, "addon");
        std::string line = entry(bundle, step["entry"].get<std::string>());
        if (bundle.failed && bundle.refusal.empty() &&
            (bundle.stage == EntryStage::Checked || bundle.stage == EntryStage::Registered)) {
            bundle.refusal = bundle.stage == EntryStage::Checked
                                 ? bundle.name + " refused to load"
                                 : "the RegisterInterface of " + bundle.name + " failed";
            bundle.refusal += " at step " + std::to_string(i + 1);
        }
        return line;
    }
    if (step.contains("project")) {
        auto named = m_descriptions.find(i);
        return project(step, named != m_descriptions.end() ? std::move(named->second) : nullptr);
    }
    if (step.contains("notify")) {
        API_NotifyEventID id = API_NotifyEventID(step["notify"].get<Int64>());
        std::ostringstream out;
        out << "notify 0x" << std::hex << id << " -> " << errorText(sim::notifyProject(id));
        return out.str();
    }
    if (step.contains("menu")) {
        short menu = short(step["menu"].get<Int64>());
        short item = short(step["item"].get<Int64>());
        std::string refusal = notInitialised(checkMenuItem(menu, item));
        return "menu " + std::to_string(menu) + "/" + std::to_string(item) + " -> " +
               (refusal.empty() ? errorText(sim::selectMenuItem(menu, item))
                                : "not called (" + refusal + ")");
    }
    if (step.contains("command")) {
        return command(step);
    }
    if (step.contains("moduleData")) {
        Bundle& bundle = bundleNamed(step, "addon");
        const json& data = step["moduleData"];
        sim::ModuleDataRecord record;
        std::string content = data["text"].get<std::string>();
        record.bytes.assign(content.begin(), content.end());
        record.version = data.contains("version") ? data["version"].get<Int32>() : 1;
        record.platformSign = 19789;
        std::string name = data.contains("name") ? data["name"].get<std::string>() : "";
        sim::loadAddOn(bundle.id).moduleData[name] = record;
        return "module data " + escaped(name) + " of " + bundle.name + " set, " +
               std::to_string(content.size()) + " bytes";
    }
    if (step.contains("hostFile")) {
        return placeHostFile(step);
    }
    if (step.contains("undo")) {
        if (!sim::undoLastCommand()) {
            return "undo -> nothing to undo";
        }
        const auto& steps = sim::undoSteps();
        auto undone =
            std::find_if(steps.rbegin(), steps.rend(), [](const sim::UndoStep& s) { return s.undone; });
        return "undo " + escaped(undone->name) + " -> undone";
    }
    const json& script = step["script"];
    std::ostringstream out;
    out << "script";
    if (script.contains("settingsDialog")) {
        for (const json& answer : script["settingsDialog"]) {
            sim::SettingsAnswer settings = readSettingsAnswer(answer, "");
            bool known = settings.part.empty();
            for (Int32 index = 1; !known && index <= sim::libPartCount(); ++index) {
                known = sim::libPart(index)->name == settings.part;
            }
            if (!known) {
                throw ScenarioError("settingsDialog: no loaded library part is named " +
                                    escaped(settings.part));
            }
            sim::queueSettingsDialog(settings);
        }
        out << " settingsDialog " << script["settingsDialog"].size();
    }
    if (script.contains("faults")) {
        out << " faults " << queueFaults(script["faults"]);
    }
    if (script.contains("progressCancelAt")) {
        for (const json& answer : script["progressCancelAt"]) {
            sim::queueProgressCancel(answer.get<int>());
        }
        out << " progressCancelAt " << script["progressCancelAt"].size();
    }
    if (script.contains("alerts")) {
        for (const json& answer : script["alerts"]) {
            sim::queueAlertAnswer(short(answer.get<Int64>()));
        }
        out << " alerts " << script["alerts"].size();
    }
    if (script.contains("files")) {
        out << " files " << queueFileAnswers(script["files"]);
    }
    if (script.contains("dialogs")) {
        for (auto it = script["dialogs"].begin(); it != script["dialogs"].end(); ++it) {
            short id = short(std::stol(it.key()));
            for (const json& actions : it.value()) {
                sim::DialogScript dialogScript;
                for (const json& action : actions) {
                    sim::DialogAction item;
                    item.kind =
                        vocabulary::named(vocabulary::dialogActions, action["do"].get<std::string>())->kind;
                    item.item = short(action.value("item", 0));
                    item.page = short(action.value("page", 0));
                    item.text = action.value("text", std::string());
                    item.value = action.value("value", 0);
                    item.h = short(action.value("h", 0));
                    item.v = short(action.value("v", 0));
                    dialogScript.push_back(item);
                }
                sim::queueDialogScript(id, dialogScript);
            }
            out << " dialog " << id << " " << it.value().size();
        }
    }
    if (script.contains("layerChooser")) {
        for (const json& answer : script["layerChooser"]) {
            sim::queueLayerChoice(short(answer.get<Int64>()));
        }
        out << " layerChooser " << script["layerChooser"].size();
    }
    return out.str();
}

void HostProgram::run(std::ostream& report) {
    for (Bundle& bundle : m_bundles) {
        load(bundle);
    }
    report << "hostsim report: " << escaped(m_scenarioPath.filename().string()) << "\n";
    for (const Bundle& bundle : m_bundles) {
        report << "add-on " << bundle.name << ": " << escaped(bundle.path.filename().string())
               << " (developer " << bundle.id.developer << ", local " << bundle.id.local << ")\n";
    }
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        std::string line;
        try {
            line = play(i);
        } catch (const ScenarioError& error) {
            throw ScenarioError(where(i) + error.what());
        }
        // A settings dialog answered with what its user could not give stops the scenario.
        if (std::string refusal = sim::takeSettingsRefusal(); !refusal.empty()) {
            throw ScenarioError(where(i) + "settingsDialog: " + refusal);
        }
        report << where(i) << line << "\n";
    }
    for (auto it = m_bundles.rbegin(); it != m_bundles.rend(); ++it) {
        if (it->running()) {
            report << "unload: " << entry(*it, "FreeData") << "\n";
        }
    }
    writeSummary(report);
}

void HostProgram::writeSummary(std::ostream& report) const {
    // A fault on a call the host never makes fails nothing: said here rather than passed over.
    const std::vector<std::string> unfired = sim::unfiredFaults();
    if (!unfired.empty()) {
        report << "faults never fired:\n";
        for (const std::string& call : unfired) {
            report << "  " << escaped(call) << "\n";
        }
    }
    report << "report window:\n";
    writeLines(report, sim::reportText(), "  ");
    report << "console:\n";
    writeLines(report, sim::consoleText(), "  ");
    report << "alerts:\n";
    for (const sim::AlertRecord& alert : sim::alerts()) {
        report << "  type " << alert.type << " " << escaped(alert.title) << ": " << escaped(alert.largeText);
        if (!alert.smallText.empty()) {
            report << " " << escaped(alert.smallText);
        }
        report << " -> " << alert.answer << (alert.scripted ? "" : " (not scripted)") << "\n";
    }
    report << "dialogs:\n";
    for (const sim::DialogRecord& dialog : sim::dialogs()) {
        report << "  " << dialog.resourceID << " " << escaped(dialog.title) << ": "
               << (dialog.modal ? (dialog.result == 1 ? "accepted" : "cancelled") : "palette")
               << (dialog.scripted ? "" : " (not scripted)")
               << (dialog.forcedCancel ? " (closed by the host)" : "") << "\n";
        for (const std::string& failure : dialog.failures) {
            report << "    failed: " << failure << "\n";
        }
    }
    reportFileDialogs(report);
    report << "undo steps:\n";
    for (const sim::UndoStep& step : sim::undoSteps()) {
        report << "  " << escaped(step.name) << " -> " << errorText(step.result)
               << (step.undone ? " (undone)" : "") << "\n";
    }
    report << "menu items:\n";
    for (const Bundle& bundle : m_bundles) {
        const sim::AddOn* addOn = sim::findAddOn(bundle.id);
        if (addOn == nullptr) {
            continue;
        }
        for (const sim::MenuRegistration& menu : addOn->menus) {
            for (short item = 1; item <= 20; ++item) {
                GSFlags flags = sim::menuItemFlags(menu.menuResID, item);
                std::string label = sim::menuItemText(menu.menuResID, item);
                if (flags != 0 || !label.empty()) {
                    report << "  " << bundle.name << " " << menu.menuResID << "/" << item << ": flags "
                           << flags << (label.empty() ? "" : " text " + escaped(label)) << "\n";
                }
            }
        }
    }
    writeProgress(report);
    reportAttributes(report);
    report << "module data:\n";
    for (const Bundle& bundle : m_bundles) {
        const sim::AddOn* addOn = sim::findAddOn(bundle.id);
        if (addOn == nullptr) {
            continue;
        }
        for (const auto& entry : addOn->moduleData) {
            const sim::ModuleDataRecord& record = entry.second;
            report << "  " << bundle.name << " " << escaped(entry.first) << " version " << record.version
                   << " sign " << record.platformSign << ": "
                   << escaped(std::string(record.bytes.begin(), record.bytes.end())) << "\n";
        }
    }
    writeProject(report);
    reportFiles(report, m_reportFiles);
    reportPreferenceFiles(report);
}

} // namespace hostsim
