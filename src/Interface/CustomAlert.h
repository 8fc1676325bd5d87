// An alert with a title and up to three buttons of its own.
#pragma once

#include "Interface/Alert.h"

namespace zelvane {

class CustomAlert : public Alert {
public:
    static constexpr Int16 hostType = -2;

    // The last argument is the caller's alert type, which the host's alert does not take.
    CustomAlert(const String& title, const String& first, const String& second = String(),
                const String& third = String(), Int16 type = hostType);

    using Alert::show;
    // Both texts and the three buttons; an empty first button text becomes the localised OK, an
    // empty second or third leaves that button out. Answers the button pressed.
    virtual Int16 show(const String& largeText, const String& smallText);

private:
    String m_first;
    String m_second;
    String m_third;
};

} // namespace zelvane
