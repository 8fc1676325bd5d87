#include "Library/TextRecord.h"

#include <string_view>

namespace zelvane {

bool TextRecord::import(const String& line, const String& delimiter) {
    clear();
    std::string_view text(line.data());
    std::string_view separator(delimiter.data());
    if (separator.empty()) {
        return false;
    }
    std::size_t found = text.find(separator);
    if (found == std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (found != std::string_view::npos) {
        push_back(new TextField(String(text.data() + start, unsigned(found - start))));
        start = found + separator.size();
        found = text.find(separator, start);
    }
    return true;
}

String* TextRecord::getExport(const String& fieldDelimiter, const String&) const {
    auto* line = new String();
    for (std::size_t i = 0; i < size(); ++i) {
        const TextField* field = (*this)[i];
        if (field != nullptr) {
            line->append(field->getExport().data());
        }
        line->append(i + 1 < size() ? fieldDelimiter.data() : String::lineEnd);
    }
    return line;
}

} // namespace zelvane
