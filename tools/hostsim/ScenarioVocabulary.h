// The words a scenario and a project description are written in: the kinds of step, the members
// each kind of object may have, the project actions and the dialog actions of a script. The readers
// refuse any other member, step or action with these tables, and dispatch by them, so that the
// format's reference can be checked against them.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "sim/Dialogs.h"

#include <cstddef>
#include <iterator>
#include <string_view>

namespace hostsim::vocabulary {

// The members one kind of object may have.
class Members {
public:
    template <std::size_t N>
    constexpr Members(std::string_view object, const std::string_view (&names)[N])
        : m_object(object), m_names(names), m_count(N) {}

    // The object as a message names it ("an element"), or for a step its kind ("menu").
    constexpr std::string_view object() const { return m_object; }
    constexpr const std::string_view* begin() const { return m_names; }
    constexpr const std::string_view* end() const { return m_names + m_count; }
    constexpr bool contains(std::string_view name) const {
        for (std::string_view known : *this) {
            if (known == name) {
                return true;
            }
        }
        return false;
    }

private:
    std::string_view m_object;
    const std::string_view* m_names;
    std::size_t m_count;
};

// A scenario file.
inline constexpr std::string_view scenarioNames[] = {"application", "addons", "steps", "reportFiles"};
inline constexpr Members scenario{"the scenario", scenarioNames};
inline constexpr std::string_view addOnNames[] = {"name", "bundle", "developer", "local", "resources"};
inline constexpr Members addOn{"an add-on", addOnNames};

// The steps, each named by the member that gives its kind.
inline constexpr std::string_view entryStepNames[] = {"entry", "addon"};
inline constexpr std::string_view projectStepNames[] = {"project", "file", "description"};
inline constexpr std::string_view notifyStepNames[] = {"notify"};
inline constexpr std::string_view menuStepNames[] = {"menu", "item"};
inline constexpr std::string_view commandStepNames[] = {"command", "version", "parameters", "addon"};
inline constexpr std::string_view moduleDataStepNames[] = {"moduleData", "addon"};
inline constexpr std::string_view scriptStepNames[] = {"script"};
inline constexpr std::string_view undoStepNames[] = {"undo"};
inline constexpr std::string_view hostFileStepNames[] = {"hostFile", "folder", "text"};
inline constexpr Members steps[] = {
    {"entry", entryStepNames},   {"project", projectStepNames}, {"notify", notifyStepNames},
    {"menu", menuStepNames},     {"command", commandStepNames}, {"moduleData", moduleDataStepNames},
    {"script", scriptStepNames}, {"undo", undoStepNames},       {"hostFile", hostFileStepNames},
};

inline constexpr std::string_view moduleDataNames[] = {"text", "name", "version"};
inline constexpr Members moduleData{"module data", moduleDataNames};
// What a "script" step queues: each member a list of answers.
inline constexpr std::string_view scriptNames[] = {
    "alerts", "dialogs", "layerChooser", "files", "settingsDialog", "progressCancelAt", "faults"};
inline constexpr Members script{"a script", scriptNames};
inline constexpr std::string_view dialogActionNames[] = {"do", "item", "page", "text", "value", "h", "v"};
inline constexpr Members dialogAction{"a dialog action", dialogActionNames};
inline constexpr std::string_view faultNames[] = {"call", "error", "times", "skip"};
inline constexpr Members fault{"a fault", faultNames};
inline constexpr std::string_view fileAnswerNames[] = {"file", "filter"};
inline constexpr Members fileAnswer{"a file dialog answer", fileAnswerNames};
inline constexpr std::string_view settingsAnswerNames[] = {"part", "values"};
inline constexpr Members settingsAnswer{"a settingsDialog answer", settingsAnswerNames};

// A project description.
inline constexpr std::string_view descriptionNames[] = {
    "storeys",         "top",       "currentStorey", "databases",    "elements",    "attributes", "library",
    "embeddedLibrary", "selection", "selectionKind", "activeWindow", "toolDefaults"};
inline constexpr Members description{"a project description", descriptionNames};
inline constexpr std::string_view storeyNames[] = {"index", "floorId", "level", "name"};
inline constexpr Members storey{"a storey", storeyNames};
inline constexpr std::string_view databaseNames[] = {"kind", "name",  "reference", "title",
                                                     "id",   "scale", "master"};
inline constexpr Members database{"a database", databaseNames};
// An element's members of every kind; those of one kind follow.
inline constexpr std::string_view elementNames[] = {
    "type",     "name",     "guid",       "variation", "database",     "layer", "floor",
    "locked",   "hasMemo",  "renovation", "owner",     "drawingOrder", "group", "info",
    "compound", "userData", "proxyOf",    "marks",     "ifc"};
inline constexpr Members element{"an element", elementNames};
inline constexpr std::string_view objectNames[] = {"part", "position", "angle", "level",        "mirrored",
                                                   "A",    "B",        "ZZYZX", "unloadedName", "parameters"};
inline constexpr Members object{"objects (6) and lamps (7)", objectNames};
inline constexpr std::string_view openingNames[] = {"part", "wall", "width", "height", "distance", "sill"};
inline constexpr Members opening{"doors (5) and windows (4)", openingNames};
inline constexpr std::string_view wallNames[] = {"start", "end", "thickness", "height"};
inline constexpr Members wall{"walls (1)", wallNames};
inline constexpr std::string_view markerNames[] = {"pen", "bottom", "top", "line", "secondLine"};
inline constexpr Members marker{"section (25) and elevation (33) markers", markerNames};
// The members of a kind an element has, as each kind's defaults do.
inline constexpr Members elementKinds[] = {object, opening, wall, marker};
// A tool's defaults: its tool, and the members of its kind (elementKinds).
inline constexpr std::string_view toolDefaultNames[] = {"type", "variation"};
inline constexpr Members toolDefault{"a tool's defaults", toolDefaultNames};
inline constexpr std::string_view userDataNames[] = {"text", "version", "platform", "flags"};
inline constexpr Members userData{"user data", userDataNames};
inline constexpr std::string_view ifcNames[] = {"properties", "attributes", "classifications"};
inline constexpr Members ifc{"IFC data", ifcNames};
inline constexpr std::string_view ifcPropertyNames[] = {"set", "name", "value"};
inline constexpr Members ifcProperty{"an IFC property", ifcPropertyNames};
inline constexpr std::string_view ifcAttributeNames[] = {"name", "type", "value"};
inline constexpr Members ifcAttribute{"an IFC attribute", ifcAttributeNames};
inline constexpr std::string_view ifcClassificationNames[] = {"reference", "name", "location"};
inline constexpr Members ifcClassification{"an IFC classification", ifcClassificationNames};
inline constexpr std::string_view attributesNames[] = {"pens", "layers", "layerCombinations", "cities",
                                                       "materials"};
inline constexpr Members attributes{"the attributes", attributesNames};
inline constexpr std::string_view penNames[] = {"name", "colour", "width"};
inline constexpr Members pen{"a pen", penNames};
inline constexpr std::string_view layerNames[] = {"name", "hidden", "locked", "wire", "group"};
inline constexpr Members layer{"a layer", layerNames};
inline constexpr std::string_view layerCombinationNames[] = {"name", "layers"};
inline constexpr Members layerCombination{"a layer combination", layerCombinationNames};
inline constexpr std::string_view layerStateNames[] = {"layer", "hidden", "locked", "wire", "group"};
inline constexpr Members layerState{"a layer's state", layerStateNames};
inline constexpr std::string_view cityNames[] = {"name", "latitude", "longitude", "timeZone"};
inline constexpr Members city{"a city", cityNames};
inline constexpr std::string_view materialNames[] = {"name", "colour", "transparency"};
inline constexpr Members material{"a material", materialNames};
inline constexpr std::string_view libraryPartNames[] = {
    "name",     "type",      "file",     "id",        "parent",    "location",        "missing",
    "template", "placeable", "owner",    "version",   "fixedSize", "customInterface", "a",
    "b",        "centred",   "sections", "parameters"};
inline constexpr Members libraryPart{"a library part", libraryPartNames};
inline constexpr std::string_view parameterNames[] = {"name",    "type",   "value", "rows",
                                                      "columns", "values", "flags"};
inline constexpr Members parameter{"a parameter", parameterNames};

// Every table of members above.
inline constexpr const Members* memberTables[] = {&scenario,     &addOn,
                                                  &moduleData,   &script,
                                                  &dialogAction, &fault,
                                                  &fileAnswer,   &settingsAnswer,
                                                  &description,  &storey,
                                                  &database,     &element,
                                                  &object,       &opening,
                                                  &wall,         &marker,
                                                  &toolDefault,  &userData,
                                                  &ifc,          &ifcProperty,
                                                  &ifcAttribute, &ifcClassification,
                                                  &attributes,   &pen,
                                                  &layer,        &layerCombination,
                                                  &layerState,   &city,
                                                  &material,     &libraryPart,
                                                  &parameter};

// The actions of a "project" step, with the notification each sends (save sends pre-save first).
struct ProjectAction {
    std::string_view name;
    API_NotifyEventID notification;
};
inline constexpr ProjectAction projectActions[] = {
    {"new", APINotify_New},     {"open", APINotify_Open}, {"save", APINotify_Save},
    {"close", APINotify_Close}, {"quit", APINotify_Quit},
};

// The actions ("do") of a dialog's script.
struct DialogActionName {
    std::string_view name;
    sim::DialogAction::Kind kind;
};
inline constexpr DialogActionName dialogActions[] = {
    {"click", sim::DialogAction::click},           {"doubleClick", sim::DialogAction::doubleClick},
    {"setText", sim::DialogAction::setText},       {"typeCharacter", sim::DialogAction::typeCharacter},
    {"leaveFocus", sim::DialogAction::leaveFocus}, {"selectRow", sim::DialogAction::selectRow},
    {"toggle", sim::DialogAction::toggle},         {"resize", sim::DialogAction::resize},
    {"hotKey", sim::DialogAction::hotKey},         {"drop", sim::DialogAction::drop},
    {"closeOK", sim::DialogAction::closeOK},       {"closeCancel", sim::DialogAction::closeCancel},
};

// The action of `actions` (projectActions, dialogActions) named `name`, null when none is.
template <typename Action, std::size_t N>
constexpr const Action* named(const Action (&actions)[N], std::string_view name) {
    for (const Action& action : actions) {
        if (action.name == name) {
            return &action;
        }
    }
    return nullptr;
}

// The entry points an "entry" step calls, and the host folders a "hostFile" step writes in.
inline constexpr std::string_view entryPoints[] = {"CheckEnvironment", "RegisterInterface", "Initialize",
                                                   "FreeData"};
inline constexpr std::string_view hostFolders[] = {"Preferences", "SharedData", "Documents", "Temp"};

} // namespace hostsim::vocabulary
