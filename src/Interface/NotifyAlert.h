// An alert of information; an empty title becomes the localised information title.
#pragma once

#include "Interface/Alert.h"

namespace zelvane {

class NotifyAlert : public Alert {
public:
    static constexpr Int16 hostType = -3;

    explicit NotifyAlert(const String& title = String()) : Alert(hostType, titleOr(title, 1)) {}
};

} // namespace zelvane
