#include "IO/Location.hpp"

#include "IO/Internal.hpp"
#include "sim/Sim.h"

namespace IO {
namespace internal {

std::string text(const Name& name) {
    return name.ToUTF8();
}

Name makeName(const std::string& text) {
    return Name(text.c_str());
}

bool isValidLocalName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::filesystem::path pathOf(const Location& location) {
    std::string path;
    location.ToPath(&path);
    return path;
}

Location locationOf(const std::filesystem::path& path) {
    return Location(path.string().c_str());
}

} // namespace internal

namespace {

std::string normalise(const std::string& text) {
    if (text.empty()) {
        return std::string();
    }
    std::filesystem::path path(text);
    if (path.is_relative()) {
        const std::filesystem::path current = sim::specialFolder("Current");
        if (current.empty()) {
            return std::string(); // not taken from a current folder the host refused
        }
        path = current / path;
    }
    std::string result = path.lexically_normal().generic_string();
    while (result.size() > 1 && result.back() == '/') {
        result.pop_back();
    }
    return result;
}

} // namespace

Location::Location(const char* path) : m_path(normalise(path != nullptr ? path : "")) {}

Location::Location(const Location& folder, const Name& localName) : m_path(folder.m_path) {
    if (AppendToLocal(localName) != NoError) {
        m_path.clear();
    }
}

GSErrCode Location::ToPath(std::string* path) const {
    if (GSErrCode err = sim::injectedError("IO::Location::ToPath")) {
        return err;
    }
    if (path == nullptr || m_path.empty()) {
        return ErrParam;
    }
    *path = m_path;
    return NoError;
}

GSErrCode Location::ToURL(std::string* url) const {
    if (GSErrCode err = sim::injectedError("IO::Location::ToURL")) {
        return err;
    }
    if (url == nullptr || m_path.empty()) {
        return ErrParam;
    }
    static const char hex[] = "0123456789ABCDEF";
    std::string result = "file://";
    for (unsigned char c : m_path) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            result += char(c);
        } else {
            result += '%';
            result += hex[c >> 4];
            result += hex[c & 0xF];
        }
    }
    *url = result;
    return NoError;
}

GSErrCode Location::GetLastLocalName(Name* name) const {
    if (GSErrCode err = sim::injectedError("IO::Location::GetLastLocalName")) {
        return err;
    }
    if (name == nullptr || m_path.empty() || m_path == "/") {
        return ErrParam;
    }
    *name = internal::makeName(m_path.substr(m_path.rfind('/') + 1));
    return NoError;
}

GSErrCode Location::DeleteLastLocalName() {
    if (GSErrCode err = sim::injectedError("IO::Location::DeleteLastLocalName")) {
        return err;
    }
    if (m_path.empty() || m_path == "/") {
        return ErrParam;
    }
    std::size_t slash = m_path.rfind('/');
    m_path.erase(slash == 0 ? 1 : slash);
    return NoError;
}

GSErrCode Location::AppendToLocal(const Name& name) {
    if (GSErrCode err = sim::injectedError("IO::Location::AppendToLocal")) {
        return err;
    }
    std::string local = internal::text(name);
    if (m_path.empty() || !internal::isValidLocalName(local)) {
        return ErrParam;
    }
    if (m_path.back() != '/') {
        m_path += '/';
    }
    m_path += local;
    return NoError;
}

bool Location::IsAncestorOf(const Location& other) const {
    if (m_path.empty() || other.m_path.size() <= m_path.size()) {
        return false;
    }
    if (other.m_path.compare(0, m_path.size(), m_path) != 0) {
        return false;
    }
    return m_path == "/" || other.m_path[m_path.size()] == '/';
}

} // namespace IO
