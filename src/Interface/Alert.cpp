#include "Interface/Alert.h"

#include "DG/DGAlert.hpp"
#include "Environment/Host.h"
#include "Interface/ConfirmAlert.h"
#include "Interface/CustomAlert.h"

namespace zelvane {

String Alert::titleOr(const String& title, short index) {
    return title.empty() ? host.getLocalString(stringsID, index) : title;
}

Int16 Alert::showAlert(Int16 type, const String& title, const String& largeText, const String& smallText,
                       const String& first, const String& second, const String& third) {
    return DGAlert(type, GS::UniString(title), GS::UniString(largeText), GS::UniString(smallText),
                   GS::UniString(first), GS::UniString(second), GS::UniString(third));
}

Int16 Alert::show(const String& text) {
    return showAlert(m_type, m_title, text, String(), String("OK"), String(), String());
}

Int16 ConfirmAlert::show(const String& text, const String& first, const String& second) {
    return showAlert(getType(), getTitle(), text, String(),
                     first.empty() ? host.getLocalString(stringsID, 5) : first,
                     second.empty() ? host.getLocalString(stringsID, 6) : second, String());
}

CustomAlert::CustomAlert(const String& title, const String& first, const String& second, const String& third,
                         Int16)
    : Alert(hostType, title), m_first(first), m_second(second), m_third(third) {}

Int16 CustomAlert::show(const String& largeText, const String& smallText) {
    return showAlert(getType(), getTitle(), largeText, smallText,
                     m_first.empty() ? host.getLocalString(stringsID, 5) : m_first, m_second, m_third);
}

} // namespace zelvane
