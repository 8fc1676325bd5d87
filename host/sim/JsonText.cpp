#include "sim/JsonText.h"

#include "sim/Escaped.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace sim {
namespace {

using nlohmann::json;

// Line and column (from 1, a column counting characters) of the byte at `offset`, or of the end of
// the text when the offset is beyond it.
std::string placeOf(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Hands the parser the text byte by byte and keeps how far it has read, so that a key the parser
// has just read can be found in the text.
class ReadingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    ReadingIterator(const char* at, const char** read) : m_at(at), m_read(read) {}

    reference operator*() const { return *m_at; }
    ReadingIterator& operator++() {
        *m_read = ++m_at;
        return *this;
    }
    ReadingIterator operator++(int) {
        ReadingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const ReadingIterator& other) const { return m_at == other.m_at; }
    bool operator!=(const ReadingIterator& other) const { return m_at != other.m_at; }

private:
    const char* m_at;
    const char** m_read;
};

// Builds the value as the library's own builder does, but stops at the first object or array that
// would nest beyond the limit, and at a key given twice in one object: the library would keep the
// later value without a word.
class BoundedBuilder {
public:
    BoundedBuilder(json& result, std::string_view text, const char* const& read)
        : m_result(result), m_text(text), m_read(read) {}

    bool null() { return add(nullptr) != nullptr; }
    bool boolean(bool value) { return add(value) != nullptr; }
    bool number_integer(json::number_integer_t value) { return add(value) != nullptr; }
    bool number_unsigned(json::number_unsigned_t value) { return add(value) != nullptr; }
    bool number_float(json::number_float_t value, const json::string_t&) { return add(value) != nullptr; }
    bool string(json::string_t& value) { return add(std::move(value)) != nullptr; }
    bool binary(json::binary_t& value) { return add(json::binary(std::move(value))) != nullptr; }
    bool start_object(std::size_t) { return open(json::value_t::object); }
    bool key(json::string_t& name) {
        json& object = *m_open.back();
        if (object.contains(name)) {
            m_error = "the key " + escaped(name) + " appears twice in one object (" +
                      placeOf(m_text, keyStart()) + ")";
            return false;
        }
        m_slot = &object[std::move(name)];
        return true;
    }
    bool end_object() {
        m_open.pop_back();
        return true;
    }
    bool start_array(std::size_t) { return open(json::value_t::array); }
    bool end_array() {
        m_open.pop_back();
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) {
        // The position counts the bytes read, the one the parser stopped at too.
        m_error = "not well-formed JSON at " + placeOf(m_text, position == 0 ? 0 : position - 1);
        return false;
    }
    const std::string& error() const { return m_error; }

private:
    json* add(json&& value) {
        if (m_open.empty()) {
            m_result = std::move(value);
            return &m_result;
        }
        json& parent = *m_open.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        *m_slot = std::move(value);
        return m_slot;
    }
    bool open(json::value_t kind) {
        if (m_open.size() >= std::size_t(jsonNestingLimit)) {
            m_error = "nested deeper than " + std::to_string(jsonNestingLimit) + " levels";
            return false;
        }
        m_open.push_back(add(json(kind)));
        return true;
    }
    // Where the key just read begins: the parser has read up to its closing quote, and no quote
    // inside it stands unescaped.
    std::size_t keyStart() const {
        std::size_t at = std::size_t(m_read - m_text.data());
        at = at == 0 ? 0 : at - 1; // the closing quote
        while (at > 0) {
            if (m_text[--at] != '"') {
                continue;
            }
            std::size_t backslashes = 0;
            while (backslashes < at && m_text[at - 1 - backslashes] == '\\') {
                ++backslashes;
            }
            if (backslashes % 2 == 0) {
                break;
            }
        }
        return at;
    }

    json& m_result;
    std::string_view m_text;
    const char* const& m_read;
    std::vector<json*> m_open; // the objects and arrays being built, outermost first
    json* m_slot = nullptr;    // the member of the innermost object whose key was read last
    std::string m_error;
};

} // namespace

json parseJson(std::string_view text, std::string& error) {
    json result;
    const char* read = text.data();
    BoundedBuilder builder(result, text, read);
    bool ok = json::sax_parse(ReadingIterator(text.data(), &read),
                              ReadingIterator(text.data() + text.size(), &read), &builder);
    if (!ok || !builder.error().empty()) {
        error = builder.error().empty() ? "not well-formed JSON" : builder.error();
        // A value cut off at the limit is at most that deep, so it is freed without trouble.
        return json(json::value_t::discarded);
    }
    error.clear();
    return result;
}

} // namespace sim
