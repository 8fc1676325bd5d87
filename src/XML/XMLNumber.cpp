#include "XML/XMLNumber.h"

#include <locale>
#include <sstream>

namespace zelvane {

String fixedPoint(double value, unsigned short precision) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.setf(std::ios::fixed, std::ios::floatfield);
    out.precision(precision);
    out << value;
    std::string text = out.str();
    return String(text.c_str(), static_cast<unsigned int>(text.size()));
}

bool XMLNumber::write(String& text) {
    text = fixedPoint(*getValue(), getPrecision());
    return true;
}

} // namespace zelvane
