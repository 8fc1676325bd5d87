#include "IO/Name.hpp"

namespace IO {

Name::Name(const GS::UniString& text) : m_text(text) {}

Name::Name(const char* utf8) : m_text(utf8) {}

std::string Name::ToUTF8() const {
    return m_text.ToUTF8();
}

GSErrCode Name::GetExtension(Name* extension) const {
    if (extension == nullptr) {
        return ErrParam;
    }
    GS::USize length = m_text.GetLength();
    for (GS::USize i = length; i > 1; --i) {
        if (m_text[i - 1] == '.') {
            *extension = Name(m_text.GetSubstring(i, length - i));
            return NoError;
        }
    }
    return ErrNotFound;
}

} // namespace IO
