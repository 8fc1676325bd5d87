#include "XML/UnknownElements.h"

#include <algorithm>

namespace zelvane {

namespace {

bool holdsMarkup(UnknownElements::Entries const& entries) {
    return std::any_of(entries.begin(), entries.end(),
                       [](auto const& entry) { return entry.markup != nullptr; });
}

UnknownElements::Entries copyOf(UnknownElements::Entries const& entries) {
    UnknownElements::Entries copy;
    copy.reserve(entries.size());
    for (auto const& entry : entries) {
        copy.push_back(UnknownElements::Entry{
            entry.markup != nullptr ? std::make_unique<XMLVerbatim::Markup>(*entry.markup) : nullptr,
            entry.code});
    }
    return copy;
}

} // namespace

UnknownElements::UnknownElements() = default;

UnknownElements::UnknownElements(UnknownElements const& other)
    : m_prolog(copyOf(other.m_prolog)), m_content(copyOf(other.m_content)), m_epilog(copyOf(other.m_epilog)),
      m_inside(other.m_inside) {}

UnknownElements& UnknownElements::operator=(UnknownElements const& other) {
    if (this != &other) {
        UnknownElements copy(other);
        swap(copy);
    }
    return *this;
}

UnknownElements::~UnknownElements() = default;

bool UnknownElements::empty() const {
    return !holdsMarkup(m_prolog) && !holdsMarkup(m_content) && !holdsMarkup(m_epilog) &&
           std::all_of(m_inside.begin(), m_inside.end(),
                       [](auto const& entry) { return entry.second.empty(); });
}

void UnknownElements::clear() {
    m_prolog.clear();
    m_content.clear();
    m_epilog.clear();
    m_inside.clear();
}

void UnknownElements::swap(UnknownElements& other) {
    m_prolog.swap(other.m_prolog);
    m_content.swap(other.m_content);
    m_epilog.swap(other.m_epilog);
    m_inside.swap(other.m_inside);
}

KeptMarkup const* UnknownElements::findInside(unsigned int code) const {
    auto it = m_inside.find(code);
    return it != m_inside.end() ? &it->second : nullptr;
}

void UnknownElements::keep(Entries& entries, String const& text) {
    auto markup = std::make_unique<XMLVerbatim::Markup>();
    markup->text = text;
    entries.push_back(Entry{std::move(markup)});
}

Shipping* UnknownElements::add(Entries& entries, String const& tag, String const& nameSpace) {
    auto markup = std::make_unique<XMLVerbatim::Markup>();
    markup->tag = tag;
    markup->nameSpace = nameSpace;
    entries.push_back(Entry{std::move(markup)});
    return new XMLVerbatim(*entries.back().markup);
}

} // namespace zelvane
