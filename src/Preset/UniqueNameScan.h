// The text work of making a name unique: the name is cut into a base and a trailing number, the
// names of a record source are offered one by one, and the result is the name itself when none
// of them equals it, else the base followed by the next free number. Numbers are compared and
// counted as decimal text, so no length of digits wraps round.
#pragma once

#include "Environment/String.h"

#include <string>

namespace zelvane {

class UniqueNameScan {
public:
    explicit UniqueNameScan(String const& name);

    // Takes one name of the source; true when it equals the requested name.
    bool take(String const& text);
    bool hasClash() const { return m_clash; }
    // The requested name without a clash, else the base and the largest number seen plus one,
    // padded with "0" to the width of the requested name's number.
    String result() const;

private:
    String m_name;
    std::string m_base;
    std::size_t m_width = 0;
    // The largest number seen, in decimal without leading zeros ("" for 0).
    std::string m_largest;
    bool m_clash = false;
};

} // namespace zelvane
