#include "IO/Name.hpp"

namespace IO {

Name::Name(const GS::UniString& text) : m_text(text) {}

Name::Name(const char* utf8) : m_text(utf8) {}

std::string Name::ToUTF8() const {
    return m_text.ToUTF8();
}

} // namespace IO
