#include "ScenarioInput.h"

#include "HostProgram.h"

#include "sim/JsonText.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace hostsim {

using nlohmann::json;

json readJsonFile(const std::filesystem::path& path, const std::string& kind) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw ScenarioError(kind + " " + path.string() + " is a folder, not a file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        throw ScenarioError("cannot read " + kind + " " + path.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad() || !text) {
        throw ScenarioError("cannot read " + kind + " " + path.string());
    }
    std::string reason;
    json value = sim::parseJson(text.str(), reason);
    if (value.is_discarded()) {
        throw ScenarioError(kind + " " + path.string() + " is not valid JSON: " + reason);
    }
    return value;
}

bool isIntegerIn(const json& value, Int64 low, Int64 high) {
    if (value.is_number_unsigned()) {
        UInt64 number = value.get<UInt64>();
        return high >= 0 && number <= UInt64(high) && (low < 0 || number >= UInt64(low));
    }
    return value.is_number_integer() && value.get<Int64>() >= low && value.get<Int64>() <= high;
}

std::filesystem::path sandboxedName(const std::string& name, const std::string& context) {
    std::filesystem::path path = std::filesystem::path(name).lexically_normal();
    std::string why;
    if (name.empty()) {
        why = "is empty";
    } else if (path.has_root_path()) {
        why = "is absolute";
    } else if (!path.has_filename() || path.filename() == "." || path.filename() == "..") {
        why = "names a folder";
    } else if (*path.begin() == "..") {
        why = "leads out of the sandbox";
    }
    if (!why.empty()) {
        throw ScenarioError(context + "the file \"" + name + "\" " + why +
                            ": the host writes it in its sandbox, so give a name relative to it");
    }
    return path;
}

std::filesystem::path sandboxedFile(const std::filesystem::path& folder, const std::string& name,
                                    const std::string& context) {
    std::filesystem::path file = folder / sandboxedName(name, context);
    std::error_code error;
    std::filesystem::path root = std::filesystem::weakly_canonical(folder, error);
    std::filesystem::path resolved = std::filesystem::weakly_canonical(file, error);
    auto inside = std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
    if (error || inside.first != root.end()) {
        throw ScenarioError(context + "the file \"" + name + "\" leads out of the sandbox");
    }
    return file;
}

} // namespace hostsim
