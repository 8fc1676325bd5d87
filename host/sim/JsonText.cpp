#include "sim/JsonText.h"

namespace sim {
namespace {

using nlohmann::json;

// Builds the value as the library's own builder does, and stops at the first object or array
// that would nest beyond the limit.
class BoundedBuilder : public nlohmann::detail::json_sax_dom_parser<json> {
public:
    explicit BoundedBuilder(json& result) : json_sax_dom_parser(result, false) {}

    bool start_object(std::size_t size) { return enter() && json_sax_dom_parser::start_object(size); }
    bool end_object() {
        --m_depth;
        return json_sax_dom_parser::end_object();
    }
    bool start_array(std::size_t size) { return enter() && json_sax_dom_parser::start_array(size); }
    bool end_array() {
        --m_depth;
        return json_sax_dom_parser::end_array();
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) {
        m_error = "not well-formed JSON at byte " + std::to_string(position);
        return false;
    }
    const std::string& error() const { return m_error; }

private:
    bool enter() {
        if (++m_depth > jsonNestingLimit) {
            m_error = "nested deeper than " + std::to_string(jsonNestingLimit) + " levels";
            return false;
        }
        return true;
    }

    int m_depth = 0;
    std::string m_error;
};

} // namespace

json parseJson(std::string_view text, std::string& error) {
    json result;
    BoundedBuilder builder(result);
    bool ok = json::sax_parse(text.begin(), text.end(), &builder);
    if (!ok || !builder.error().empty()) {
        error = builder.error().empty() ? "not well-formed JSON" : builder.error();
        // A value cut off at the limit is at most that deep, so it is freed without trouble.
        return json(json::value_t::discarded);
    }
    error.clear();
    return result;
}

} // namespace sim
