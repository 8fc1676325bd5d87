// An alert of warning; an empty title becomes the localised warning title.
#pragma once

#include "Interface/Alert.h"

namespace zelvane {

class WarnAlert : public Alert {
public:
    static constexpr Int16 hostType = -2;

    explicit WarnAlert(const String& title = String()) : Alert(hostType, titleOr(title, 2)) {}
};

} // namespace zelvane
