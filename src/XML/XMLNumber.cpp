#include "XML/XMLNumber.h"

#include "XML/NumberText.h"

namespace zelvane {

bool XMLNumber::write(String& text) {
    writeFixed(text, *getValue(), getPrecision());
    return true;
}

} // namespace zelvane
