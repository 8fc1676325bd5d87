// A name filter with one wildcard token: "ab*" matches every text that begins with "ab", "*cd"
// every text that ends with "cd", "a*b*c" every text that begins with "a", ends with "c" and has
// a "b" between them. Matching is case-sensitive; lower-case both sides for a case-free match.
#pragma once

#include "Environment/String.h"

namespace zelvane {

class SearchString {
public:
    // The wildcard is taken to be one character long.
    SearchString(String const& pattern, String const& wildcard);
    SearchString(SearchString const& other) = default;

    SearchString& operator=(SearchString const& other) = default;
    // A new pattern with the same wildcard.
    SearchString& operator=(String const& pattern);

    bool operator==(String const& text) const;
    // The pattern rebuilt from its pieces.
    String getString() const;

private:
    void parse(String const& pattern);

    String m_wildcard;
    String m_prefix; // before the first wildcard
    String m_middle; // between the first and the last wildcard, or the whole pattern without one
    String m_suffix; // after the last wildcard
    bool m_noWildcard = true;
    bool m_matchAll = true;
};

} // namespace zelvane
