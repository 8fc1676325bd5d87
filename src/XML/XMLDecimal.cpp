#include "XML/XMLDecimal.h"

#include "XML/NumberText.h"

namespace zelvane {

bool XMLDecimal::write(String& text) {
    writeFixed(text, *getValue(), 6);
    return true;
}

} // namespace zelvane
