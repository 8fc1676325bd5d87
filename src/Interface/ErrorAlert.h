// An alert of error; an empty title becomes the localised error title.
#pragma once

#include "Interface/Alert.h"

namespace zelvane {

class ErrorAlert : public Alert {
public:
    static constexpr Int16 hostType = -1;

    explicit ErrorAlert(const String& title = String()) : Alert(hostType, titleOr(title, 3)) {}
};

} // namespace zelvane
