// The application preferences behind CFPreferences: values kept in their stored form (strings
// and dictionaries of them, nested) per application, and the file they are written to.
#pragma once

#include <map>
#include <string>

namespace macos {

struct PropertyList {
    bool isString = true;
    std::string text;
    std::map<std::string, PropertyList> entries;
};

// Stored forms: "S<length>:<bytes>" for a string, "D<count>:" then "<length>:<key>" and the
// value of each entry for a dictionary.
std::string encodeString(std::string const& text);
std::string encodeDictionary(std::map<std::string, std::string> const& encodedEntries);
// Reads one value at pos (moved past it); false for malformed or too deeply nested input.
bool decode(std::string const& text, std::size_t& pos, PropertyList& value, int depth = 0);

// The value stored under key for the application; false when there is none.
bool preferenceValue(std::string const& application, std::string const& key, PropertyList& value);
// Stores an encoded value (null removes the key) until the next synchronisation.
void setPreferenceValue(std::string const& application, std::string const& key, std::string const* encoded);
// Writes the application's changed values into its file; false when that fails.
bool synchronisePreferences(std::string const& application);

} // namespace macos
