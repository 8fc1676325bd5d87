// A question with two buttons; an empty title becomes the localised question title.
#pragma once

#include "Interface/Alert.h"

namespace zelvane {

class ConfirmAlert : public Alert {
public:
    static constexpr Int16 hostType = -2;

    explicit ConfirmAlert(const String& title = String()) : Alert(hostType, titleOr(title, 4)) {}

    using Alert::show;
    // Empty button texts become the localised OK and Cancel; answers 1 or 2.
    virtual Int16 show(const String& text, const String& first, const String& second);
};

} // namespace zelvane
