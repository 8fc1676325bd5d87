// Free functions that edit or scan a String in place. Positions and lengths count characters;
// none of them throws for a bad position: they answer npos, false or leave the text unchanged.
#pragma once

#include "Environment/String.h"

#include <utility>
#include <vector>

namespace zelvane {

// Removes the leading and/or trailing characters that belong to set; with a replacement, puts
// one copy of it in place of each removed character. A text made only of characters of set
// becomes empty; an empty set changes nothing.
String& replaceEnclosing(String& text, String const& set, String const& replacement, bool leading,
                         bool trailing);
// Replaces every occurrence of from, left to right, resuming after each inserted to.
String& replaceAll(String& text, String const& from, String const& to);
// Replaces every character that belongs to set by replacement.
String& replaceAllOf(String& text, String const& set, String const& replacement);
// Finds the first character of quotes at or after start: start becomes the position after it and
// end the position of the same quote character closing it (npos when there is none). Answers
// whether a closing quote was found; start is npos when no quote was found at all.
bool findQuoted(String& text, unsigned int& start, unsigned int& end, String const& quotes);
// Right-aligns text in width characters, pad repeated before it: padRight("7", 3, "0") is "007".
// False, with the text unchanged, when it is longer than width or pad is empty.
bool padRight(String& text, unsigned int width, String const& pad);
// Left-aligns: padLeft("7", 3, "0") is "700".
bool padLeft(String& text, unsigned int width, String const& pad);
// The first line ending (CR, LF, or a CR LF or LF CR pair) in [start, end) (end npos: the whole
// text): (its position, the position after it), or npos for the second when the ending closes
// the range; (npos, npos) when there is none.
std::pair<unsigned int, unsigned int> findLineEnding(String const& text, unsigned int start = 0,
                                                     unsigned int end = String::npos);
// Appends the (start, length) of each line of [start, end) to lines; a range that ends with a
// line ending has no empty last line. Answers how many lines it appended.
unsigned int findLines(String const& text, std::vector<std::pair<unsigned int, unsigned int>>& lines,
                       unsigned int start = 0, unsigned int end = String::npos);

// The unsigned number made of the digits that end the text from character pos (at most len
// bytes of it, whole characters): "Wall 12" gives 12. npos when the text does not end in digits,
// is made of digits alone, or the number does not fit in 32 bits.
unsigned int findTrailingNumber(String const& text, unsigned int pos = 0, unsigned int len = String::npos);

} // namespace zelvane
