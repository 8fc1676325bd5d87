// A modal host alert with a title and an OK button. The alerts of each kind take their default
// title, and default button texts, from the framework's localised strings.
#pragma once

#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class Alert {
public:
    // The framework's string list of alert titles and button texts.
    static constexpr short stringsID = 32700;

    Alert(Int16 type, const String& title) : m_type(type), m_title(title) {}
    virtual ~Alert() = default;

    // Shows the text with an OK button; answers the number of the button pressed.
    virtual Int16 show(const String& text);

    Int16 getType() const { return m_type; }
    const String& getTitle() const { return m_title; }

protected:
    // The given title, or the localised one at the index when it is empty.
    static String titleOr(const String& title, short index);
    static Int16 showAlert(Int16 type, const String& title, const String& largeText, const String& smallText,
                           const String& first, const String& second, const String& third);

private:
    Int16 m_type;
    String m_title;
};

} // namespace zelvane
