// Writes legacy preset files for the tests: zero-terminated strings and numbers in the byte order
// of the platform named.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace testing_preset {

class LegacyPresetWriter {
public:
    explicit LegacyPresetWriter(bool bigEndian) : m_bigEndian(bigEndian) {}

    LegacyPresetWriter& text(std::string const& value) {
        m_bytes += value;
        m_bytes.push_back('\0');
        return *this;
    }
    LegacyPresetWriter& int32(std::int32_t value) { return raw(&value, 4); }
    LegacyPresetWriter& real(double value) { return raw(&value, 8); }
    LegacyPresetWriter& flag(bool value) {
        m_bytes.push_back(value ? 1 : 0);
        return *this;
    }
    // The header of a file of the version with that many top folders.
    LegacyPresetWriter& header(std::string const& version, int v, int folders) {
        text("ZelvanePresetFile").text(m_bigEndian ? "Mac" : "Win").text(version);
        if (v > 4) {
            flag(true);
        }
        return int32(folders);
    }
    LegacyPresetWriter& folder(std::string const& name, int v, int subfolders) {
        text(name);
        if (v >= 3) {
            text("note");
        }
        return int32(subfolders);
    }
    // A preset file's items before its values.
    LegacyPresetWriter& file(std::string const& name, std::string const& key, int v) {
        text(name).text(key);
        if (v < 3) {
            return text("5/3/2020/10/0/0/");
        }
        int32(1600000000).int32(7).text("t");
        if (v >= 4) {
            flag(false);
        }
        if (v >= 6) {
            flag(false);
        }
        return *this;
    }

    std::string const& bytes() const { return m_bytes; }

private:
    LegacyPresetWriter& raw(void const* value, std::size_t size) {
        char buffer[8];
        std::memcpy(buffer, value, size);
        for (std::size_t k = 0; k < size; ++k) {
            m_bytes.push_back(m_bigEndian ? buffer[size - 1 - k] : buffer[k]);
        }
        return *this;
    }

    bool m_bigEndian;
    std::string m_bytes;
};

} // namespace testing_preset
