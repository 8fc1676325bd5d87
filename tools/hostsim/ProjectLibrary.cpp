#include "ProjectLibrary.h"

#include "MemberReader.h"
#include "ScenarioInput.h"

#include "GSRoot/Guid.hpp"
#include "fileio/Descriptor.h"
#include "fileio/FileError.h"
#include "fileio/Paths.h"
#include "sim/Component3D.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <cmath>
#include <cstdio>
#include <map>

namespace hostsim {
namespace {

using nlohmann::json;

const std::map<std::string, API_LibTypeID> partTypes = {
    {"window", APILib_WindowID},     {"door", APILib_DoorID},   {"object", APILib_ObjectID},
    {"lamp", APILib_LampID},         {"zone", APILib_RoomID},   {"property", APILib_PropertyID},
    {"label", APILib_LabelID},       {"macro", APILib_MacroID}, {"picture", APILib_PictID},
    {"skylight", APILib_SkylightID},
};

const std::map<std::string, API_AddParID> parameterTypes = {
    {"integer", APIParT_Integer},  {"length", APIParT_Length},       {"angle", APIParT_Angle},
    {"real", APIParT_RealNum},     {"lightSwitch", APIParT_LightSw}, {"colour", APIParT_ColRGB},
    {"intensity", APIParT_Intens}, {"lineStyle", APIParT_LineTyp},   {"material", APIParT_Mater},
    {"fill", APIParT_FillPat},     {"pen", APIParT_PenCol},          {"string", APIParT_CString},
    {"boolean", APIParT_Boolean},  {"separator", APIParT_Separator}, {"title", APIParT_Title},
};

// A number of a list of values.
double number(const json& value, const std::string& where) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        throw ScenarioError(where + ": must be a number");
    }
    return value.get<double>();
}

// A unique ID: two GUID texts in braces joined by "-".
std::string uniqueID(const MemberReader& object, const char* key) {
    std::string id = object.limitedText(key, 127);
    if (id.empty()) {
        return id;
    }
    auto guid = [&id](std::size_t at) {
        if (id[at] != '{' || id[at + 37] != '}') {
            return false;
        }
        GS::Guid value;
        return value.ConvertFromString(id.substr(at + 1, 36).c_str()) == NoError;
    };
    if (id.size() != 77 || id[38] != '-' || !guid(0) || !guid(39)) {
        object.fail(key, "must be two GUID texts in braces joined by \"-\"");
    }
    return id;
}

// The unique ID of a part described without one, made from its name: the same on every play, and
// another for every name. Each of its two GUIDs is two FNV-1a hashes of the name, marked as a
// GUID of version 8 (one made in a way of its own).
std::string nameBasedID(const std::string& name) {
    auto hash = [&name](UInt64 seed) {
        UInt64 value = 14695981039346656037ull ^ seed;
        for (unsigned char c : name) {
            value = (value ^ c) * 1099511628211ull;
        }
        return value;
    };
    std::string id;
    for (UInt64 part : {0ull, 2ull}) {
        UInt64 high = hash(part + 1);
        UInt64 low = hash(part + 2);
        high = (high & ~0xF000ull) | 0x8000ull;     // version 8
        low = (low & ~(3ull << 62)) | (2ull << 62); // the variant of RFC 9562
        char text[40];
        std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%012llX}", unsigned(high >> 32),
                      unsigned((high >> 16) & 0xFFFF), unsigned(high & 0xFFFF), unsigned(low >> 48),
                      static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
        id += (id.empty() ? "" : "-") + std::string(text);
    }
    return id;
}

sim::LibParameter parameter(const MemberReader& entry) {
    entry.only(vocabulary::parameter);
    std::string name = entry.limitedText("name", 31);
    if (name.empty()) {
        entry.fail("name", "every parameter needs a name");
    }
    std::string kind = entry.limitedText("type", 32);
    auto found = parameterTypes.find(kind);
    if (found == parameterTypes.end()) {
        entry.fail("type", "unknown parameter type " + escaped(kind));
    }
    API_AddParID type = found->second;
    short flags = short(entry.integer("flags", 0, 32767, 0));
    bool isText = type == APIParT_CString;
    if (!entry.has("values")) {
        const json& value = entry.member("value");
        if (isText) {
            return sim::textParameter(name, entry.limitedText("value", 255), flags);
        }
        double real = value.is_null()      ? 0.0
                      : value.is_boolean() ? (value.get<bool>() ? 1.0 : 0.0)
                                           : entry.number("value", 0.0);
        return sim::scalarParameter(type, name, real, flags);
    }
    Int32 rows = Int32(entry.integer("rows", 0, 1 << 16, 1));
    Int32 columns = Int32(entry.integer("columns", 0, 1 << 16, 1));
    const json& values = entry.list("values");
    if (values.size() != std::size_t(std::max(rows, 1)) * std::size_t(std::max(columns, 1))) {
        entry.fail("values", "must hold rows x columns values");
    }
    sim::LibParameter result;
    if (isText) {
        std::vector<std::string> cells;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!values[i].is_string()) {
                throw ScenarioError(entry.item("values", i) + ": must be a text");
            }
            // The host keeps the cells one after another, each ended by a NUL.
            cells.push_back(values[i].get<std::string>());
            checkText(cells.back(), entry.item("values", i));
        }
        result = sim::textArray(name, rows, columns, cells);
    } else {
        std::vector<double> cells;
        for (std::size_t i = 0; i < values.size(); ++i) {
            cells.push_back(number(values[i], entry.item("values", i)));
        }
        result = sim::numberArray(type, name, rows, columns, cells);
    }
    result.record.flags = flags;
    return result;
}

} // namespace

ProjectLibrary ProjectLibrary::read(const json& description, const std::string& source,
                                    const std::filesystem::path& folder) {
    ProjectLibrary result;
    MemberReader top(description, source);
    if (top.has("embeddedLibrary")) {
        std::string name = top.limitedText("embeddedLibrary", 255);
        result.m_embedded = sandboxedName(name, source + ".embeddedLibrary: ").string();
    }
    if (!top.has("library")) {
        return result;
    }
    const json& list = top.list("library");
    result.m_given = true;
    for (std::size_t i = 0; i < list.size(); ++i) {
        MemberReader entry(list[i], top.item("library", i));
        entry.only(vocabulary::libraryPart);
        sim::LibPartDef part;
        part.name = entry.limitedText("name", 255);
        if (part.name.empty()) {
            entry.fail("name", "every library part needs a name");
        }
        if (!result.m_indexes.emplace(part.name, Int32(i + 1)).second) {
            entry.fail("name", "another library part is named " + escaped(part.name));
        }
        std::string kind = entry.limitedText("type", 32);
        auto type = partTypes.find(kind.empty() ? "object" : kind);
        if (type == partTypes.end()) {
            entry.fail("type", "unknown library part type " + escaped(kind));
        }
        part.type = type->second;
        part.fileName = entry.limitedText("file", 255);
        part.ownID = uniqueID(entry, "id");
        if (part.ownID.empty()) {
            // The host gives every part an ID; the rules of an object map look parts up by it.
            part.ownID = nameBasedID(part.name);
        }
        part.parentID = uniqueID(entry, "parent");
        part.location = entry.limitedText("location", 1024);
        if (!part.location.empty() && std::filesystem::path(part.location).is_relative() && !folder.empty()) {
            part.location = (folder / part.location).lexically_normal().string();
        }
        part.missing = entry.flag("missing");
        part.isTemplate = entry.flag("template");
        part.placeable = entry.flag("placeable", true);
        part.ownerID = Int32(entry.integer("owner", 0, 0x7FFFFFFF, 0));
        part.version = short(entry.integer("version", 0, 32767, 0));
        part.details.fixSize = entry.flag("fixedSize");
        part.details.customUI = entry.flag("customInterface");
        part.a = entry.number("a", 1.0);
        part.b = entry.number("b", 1.0);
        if (!(part.a > 0.0) || !(part.b > 0.0)) {
            entry.fail(part.a > 0.0 ? "b" : "a", "must be a number above 0");
        }
        if (entry.flag("centred")) {
            result.m_centred.push_back(Int32(i + 1));
        }
        if (entry.has("sections")) {
            MemberReader sections(entry.member("sections"), entry.where() + ".sections");
            for (const auto& [code, content] : entry.member("sections").items()) {
                if (code.size() != 4) {
                    sections.fail(code, "must be named by a four-character code");
                }
                if (!content.is_string()) {
                    sections.fail(code, "must be a text");
                }
                part.sections[MakeGSType({code[0], code[1], code[2], code[3], 0})] =
                    content.get<std::string>();
            }
        }
        const json& parameters = entry.list("parameters");
        for (std::size_t p = 0; p < parameters.size(); ++p) {
            part.parameters.push_back(parameter(MemberReader(parameters[p], entry.item("parameters", p))));
        }
        result.m_parts.push_back(std::move(part));
    }
    return result;
}

sim::LibParameter ProjectLibrary::readParameter(const MemberReader& entry) {
    return parameter(entry);
}

void ProjectLibrary::apply() const {
    if (!m_embedded.empty()) {
        std::filesystem::path folder = hostFolderFile("Documents", m_embedded, "");
        // hostsim's own work, not the add-on's: the host neither logs nor fails it.
        const sim::OwnFileCalls own;
        // Made down from the host's Documents as held, each folder the player's or root's: the add-on
        // puts the player's files there.
        std::error_code error;
        std::string refused;
        const fileio::Descriptor documents = sim::openSpecialFolder("Documents", error);
        const fileio::Descriptor made =
            documents ? fileio::makeFolders(documents.get(), m_embedded, fileio::Entry::Folders::players,
                                            error, &refused)
                      : fileio::Descriptor();
        if (!error && !sim::sandboxHolds(made.get())) {
            error = std::make_error_code(std::errc::permission_denied); // a link out of the sandbox
        }
        const std::string cannot =
            "cannot make the embedded library folder " + escaped(folder.string()) + ": ";
        if (error == fileio::FileError::notPlayersFolder) {
            // The folder the walk refused, on the way or where a link of the player's led: not the
            // player's own folder or link that the name gives.
            const std::filesystem::path documents = sim::sandboxRoot() / "Documents";
            const std::filesystem::path shown =
                refused.empty() ? documents : (documents / refused).lexically_normal();
            throw ScenarioError(cannot + "the folder " + escaped(shown.string()) +
                                " is not taken: " + error.message());
        }
        if (error) {
            throw ScenarioError(cannot + error.message());
        }
        sim::setLibraryFolders({folder.string()}, 0);
    }
    if (!m_given) {
        return;
    }
    sim::clearLibrary();
    for (const sim::LibPartDef& part : m_parts) {
        sim::addLibPart(part);
    }
    for (Int32 index : m_centred) {
        sim::setPartBoxCentred(index, true);
    }
}

const sim::LibPartDef* ProjectLibrary::part(Int32 index) const {
    if (index < 1 || index > count()) {
        return nullptr;
    }
    return m_given ? &m_parts[std::size_t(index - 1)] : sim::loadedLibPart(index);
}

Int32 ProjectLibrary::indexOf(const std::string& name) const {
    if (m_given) {
        auto found = m_indexes.find(name);
        return found != m_indexes.end() ? found->second : 0;
    }
    for (Int32 index = 1; index <= count(); ++index) {
        const sim::LibPartDef* part = sim::loadedLibPart(index);
        if (part != nullptr && part->name == name) {
            return index;
        }
    }
    return 0;
}

Int32 ProjectLibrary::count() const {
    return m_given ? Int32(m_parts.size()) : sim::libPartCount();
}

} // namespace hostsim
