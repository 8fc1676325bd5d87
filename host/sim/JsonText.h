// Outside JSON text (scenarios, resource files, scripted answers) read with a bound on nesting:
// the parser itself keeps its own stack, but copying, merging, printing or comparing a value
// recurses once per level, so a file nested tens of thousands deep would overflow the stack.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace sim {

// Levels of objects and arrays a text may nest; the files we read need a handful.
constexpr int jsonNestingLimit = 256;

// The value of the text, or a discarded value with the reason in `error` when the text is not JSON
// nested within the limit, or gives one key twice in an object: the line and column of a syntax
// error, the nesting limit, or the key given twice with the line and column of its second place.
nlohmann::json parseJson(std::string_view text, std::string& error);

} // namespace sim
