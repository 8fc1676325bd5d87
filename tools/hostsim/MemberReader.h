// Reads the members of one object of a description, each error a ScenarioError naming where the
// member is ("file.elements[2].layer").
#pragma once

#include "HostProgram.h"
#include "ScenarioInput.h"
#include "ScenarioVocabulary.h"

#include "ACAPI/APIGeometry.hpp"
#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Guid.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

namespace hostsim {

// Throws ScenarioError (after `where`) for a text holding a NUL character: the host keeps its names
// and texts as C strings, which would end at the NUL.
inline void checkText(const std::string& value, const std::string& where) {
    if (value.find('\0') != std::string::npos) {
        throw ScenarioError(where + ": the text " + escaped(value) + " holds a NUL character");
    }
}

class MemberReader {
public:
    MemberReader(const nlohmann::json& object, std::string where)
        : m_object(object), m_where(std::move(where)) {
        if (!object.is_object()) {
            fail("", "must be an object");
        }
    }

    [[noreturn]] void fail(const std::string& key, const std::string& what) const {
        throw ScenarioError(m_where + (key.empty() ? "" : "." + key) + ": " + what);
    }
    // Fails at the first member that `own` does not name, as a member of its object.
    void only(const vocabulary::Members& own) const { onlyOf(own, nullptr, nullptr); }
    // The same where the members of one of `kinds` may stand too (an element's, by its kind).
    template <std::size_t N>
    void only(const vocabulary::Members& own, const vocabulary::Members (&kinds)[N]) const {
        onlyOf(own, std::begin(kinds), std::end(kinds));
    }
    bool has(const char* key) const { return m_object.contains(key); }
    std::string text(const char* key, const std::string& fallback = "") const {
        if (!has(key)) {
            return fallback;
        }
        if (!m_object[key].is_string()) {
            fail(key, "must be a text");
        }
        std::string value = m_object[key].get<std::string>();
        checkText(value, m_where + "." + key);
        return value;
    }
    // A text of at most limit bytes; empty when the member is missing.
    std::string limitedText(const char* key, std::size_t limit) const {
        std::string value = text(key);
        if (value.size() > limit) {
            fail(key, "must be at most " + std::to_string(limit) + " bytes");
        }
        return value;
    }
    Int64 integer(const char* key, Int64 low, Int64 high, Int64 fallback) const {
        if (!has(key)) {
            return fallback;
        }
        if (!isIntegerIn(m_object[key], low, high)) {
            fail(key, "must be an integer from " + std::to_string(low) + " to " + std::to_string(high));
        }
        return m_object[key].get<Int64>();
    }
    double number(const char* key, double fallback) const {
        if (!has(key)) {
            return fallback;
        }
        if (!m_object[key].is_number() || !std::isfinite(m_object[key].get<double>())) {
            fail(key, "must be a number");
        }
        return m_object[key].get<double>();
    }
    double number(const char* key, double low, double high, double fallback) const {
        if (!has(key)) {
            return fallback;
        }
        const nlohmann::json& value = m_object[key];
        if (!value.is_number() || !(value.get<double>() >= low) || !(value.get<double>() <= high)) {
            fail(key, "must be a number from " + nlohmann::json(low).dump() + " to " +
                          nlohmann::json(high).dump());
        }
        return value.get<double>();
    }
    bool flag(const char* key, bool fallback = false) const {
        if (!has(key)) {
            return fallback;
        }
        if (!m_object[key].is_boolean()) {
            fail(key, "must be true or false");
        }
        return m_object[key].get<bool>();
    }
    // A missing member is an empty list.
    const nlohmann::json& list(const char* key) const {
        static const nlohmann::json none = nlohmann::json::array();
        if (!has(key)) {
            return none;
        }
        if (!m_object[key].is_array()) {
            fail(key, "must be a list");
        }
        return m_object[key];
    }
    GSType code(const char* key) const {
        std::string value = text(key);
        if (value.empty()) {
            return 0;
        }
        if (value.size() != 4) {
            fail(key, "must be a four-character code");
        }
        return MakeGSType({value[0], value[1], value[2], value[3], 0});
    }
    GS::Guid guid(const char* key) const {
        GS::Guid value;
        std::string form = text(key);
        if (!form.empty() && value.ConvertFromString(form.c_str()) != NoError) {
            fail(key, "must be a GUID text");
        }
        return value;
    }
    // A member given as a list of two numbers ([x, y]).
    API_Coord point(const char* key, API_Coord fallback) const {
        if (!has(key)) {
            return fallback;
        }
        const nlohmann::json& value = m_object[key];
        if (!value.is_array() || value.size() != 2 || !value[0].is_number() || !value[1].is_number()) {
            fail(key, "must be a list of two numbers");
        }
        return API_Coord{value[0].get<double>(), value[1].get<double>()};
    }
    // Null when the member is missing.
    const nlohmann::json& member(const char* key) const {
        static const nlohmann::json none;
        return has(key) ? m_object[key] : none;
    }
    const std::string& where() const { return m_where; }
    // Where entry index of the list member key is ("file.elements[2]").
    std::string item(const char* key, std::size_t index) const {
        return m_where + "." + key + "[" + std::to_string(index) + "]";
    }

private:
    void onlyOf(const vocabulary::Members& own, const vocabulary::Members* kinds,
                const vocabulary::Members* end) const {
        for (auto it = m_object.begin(); it != m_object.end(); ++it) {
            if (!own.contains(it.key()) && std::none_of(kinds, end, [&it](const vocabulary::Members& kind) {
                    return kind.contains(it.key());
                })) {
                fail("", "unknown member " + escaped(it.key()) + " of " + std::string(own.object()));
            }
        }
    }

    const nlohmann::json& m_object;
    std::string m_where;
};

} // namespace hostsim
