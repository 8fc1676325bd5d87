// Names and texts as the host's messages and hostsim's report quote them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

// The length in bytes of the control character or line break that starts at `at` of UTF-8 text:
// 1 for a C0 control or DEL, 2 for a C1 control (U+0080 to U+009F, the line break U+0085 among
// them), 3 for the line and paragraph separators U+2028 and U+2029; 0 for any other character.
// Each of them ends or hides a line to some reader of a message or report.
std::size_t controlLength(std::string_view text, std::size_t at);

// A text in quotes, with a quote, a backslash, a line end and every other control character
// escaped ("\x1b"), and so the control characters and line breaks of Unicode (U+0080 to U+009F,
// U+2028, U+2029: "\u2028"), so that a name holding them stays on its line and cannot pass for
// another line. A byte that is no part of a well-formed UTF-8 character (a lone continuation
// byte, 0xFF, an overlong form, a surrogate, a cut sequence) is escaped as that byte ("\xff"):
// a reader taking the text as Latin-1 would find a line break or a control sequence in it.
std::string escaped(std::string_view value);

// A line of a file's content as the report shows it: escaped as `escaped` escapes, but not put in
// quotes, and with its quotes and TABs left as they are, so that a text file stays readable.
std::string escapedLine(std::string_view line);

// A name as the path to a value in a message names it ("strings.300.items[0]"): as it is when
// escaping changes nothing in it, else escaped, quotes and all.
std::string escapedMember(std::string_view name);

} // namespace sim
