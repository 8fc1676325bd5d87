#include "Environment/Guid.h"

#include "Environment/String.h"

#include "GSRoot/Guid.hpp"

#include <cstring>
#include <type_traits>

namespace zelvane {

static_assert(sizeof(Guid) == sizeof(GS::Guid) && std::is_trivially_copyable_v<GS::Guid>,
              "Guid converts to the host's record byte for byte");

Guid::Guid(String const& text) {
    *this = text;
}

Guid::Guid(GS::Guid const& guid) {
    std::memcpy(&m_high, &guid, sizeof m_high);
    std::memcpy(&m_low, reinterpret_cast<char const*>(&guid) + sizeof m_high, sizeof m_low);
}

Guid& Guid::operator=(String const& text) {
    GS::Guid guid;
    if (guid.ConvertFromString(text.data()) != NoError) {
        guid.Clear();
    }
    return *this = Guid(guid);
}

Guid::operator GS::Guid() const {
    GS::Guid guid;
    std::memcpy(static_cast<void*>(&guid), &m_high, sizeof m_high);
    std::memcpy(reinterpret_cast<char*>(&guid) + sizeof m_high, &m_low, sizeof m_low);
    return guid;
}

bool Guid::operator<(Guid const& other) const {
    return static_cast<GS::Guid>(*this).Compare(static_cast<GS::Guid>(other)) < 0;
}

void Guid::clear() {
    m_high = 0;
    m_low = 0;
}

Guid& Guid::generate() {
    GS::Guid guid;
    guid.Generate();
    return *this = Guid(guid);
}

char* Guid::copyTo(char* buffer) const {
    static_cast<GS::Guid>(*this).ConvertToString(buffer);
    return buffer;
}

String& Guid::copyTo(String& text) const {
    char buffer[textLength + 1];
    text = copyTo(buffer);
    return text;
}

String Guid::toString() const {
    String text;
    return copyTo(text);
}

unsigned short Guid::getHashValue() const {
    return static_cast<unsigned short>(static_cast<GS::Guid>(*this).GenerateHashValue());
}

} // namespace zelvane
