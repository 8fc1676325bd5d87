// Values applied to ranges of characters, such as the style and ruler runs of styled text: each
// entry applies from its start up to the next entry's start, the last one to the end of the text.
// An initialised map always has an entry at 0, and setting a value on a range keeps the map free
// of overlaps.
#pragma once

#include "Environment/Map.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <utility>

namespace zelvane {

template <typename T>
class ApplicationMap : public Map<unsigned int, T> {
    using Base = Map<unsigned int, T>;

public:
    using const_iterator = typename Base::const_iterator;

    // A length that runs to the end of the text.
    static constexpr unsigned int toEnd = ~0u;

    // One entry as a run of characters; a null value for none.
    struct Run {
        unsigned int start = 0;
        unsigned int length = 0;
        const T* value = nullptr;
    };

    using Base::Base;

    // Down to one entry at 0: the first entry's value, else a default value.
    void initialise() {
        std::unique_ptr<T> value(this->empty() ? new T() : this->release(this->begin()));
        this->clear();
        this->set(0, value.release());
    }

    // The entries overlapping start..start + length - 1: from the one covering start (the first
    // entry when none does) to the first starting after the range; (end, end) for no length.
    std::pair<const_iterator, const_iterator> findOverlap(unsigned int start, unsigned int length) const {
        if (length == 0) {
            return {this->end(), this->end()};
        }
        const_iterator first = this->upper_bound(start);
        if (first != this->begin()) {
            --first;
        }
        unsigned int lastPosition = unsigned(std::min<std::uint64_t>(std::uint64_t(start) + length - 1, ~0u));
        return {first, this->upper_bound(lastPosition)};
    }

    // Applies a copy of value to start..start + length - 1 of a text of textLength characters
    // (toEnd, or a length past the end: to the end). The run the range cut keeps applying after
    // it. At or past the end of the text nothing changes, but an empty text takes the value as
    // its only run's.
    void setApplication(const T& value, unsigned int start, unsigned int length, unsigned int textLength) {
        if (textLength <= start) {
            if (textLength == 0 && !this->empty()) {
                this->set(this->begin()->first, cloneAs<T>(&value));
            }
            return;
        }
        if (length == toEnd || std::uint64_t(start) + length > textLength) {
            length = textLength - start;
        }
        auto [first, last] = findOverlap(start, length);
        if (first == last) {
            return;
        }
        const unsigned int end = start + length;
        std::unique_ptr<T> tail;
        if (end < textLength && (last == this->end() || last->first != end)) {
            tail.reset(cloneAs<T>(std::prev(last)->second));
        }
        std::unique_ptr<T> copy(cloneAs<T>(&value));
        if (first->first < start) {
            ++first;
        }
        this->erase(first, last);
        if (tail != nullptr) {
            this->set(end, tail.release());
        }
        this->set(start, copy.release());
    }

    // Drops every entry starting at or after length.
    void stripTrailing(unsigned int length) { this->erase(this->lower_bound(length), this->end()); }

    // Becomes the source's entries over start..start + length - 1, shifted to start at 0.
    void replaceApplicationWith(const ApplicationMap& source, unsigned int start, unsigned int length) {
        this->clear();
        auto [first, last] = source.findOverlap(start, length);
        for (auto it = first; it != last; ++it) {
            this->set(it->first > start ? it->first - start : 0, cloneAs<T>(it->second));
        }
    }

    // The i-th entry as a run in a text of textLength characters; none past the last.
    Run getRun(std::size_t i, unsigned int textLength) const {
        if (i >= this->size()) {
            return Run();
        }
        auto it = std::next(this->begin(), std::ptrdiff_t(i));
        return runOf(it, textLength);
    }

    // The run covering the position; none at or past the end of the text.
    Run getRunAt(unsigned int position, unsigned int textLength) const {
        if (position >= textLength || this->empty()) {
            return Run();
        }
        const_iterator it = this->upper_bound(position);
        if (it == this->begin()) {
            return Run();
        }
        return runOf(std::prev(it), textLength);
    }

private:
    Run runOf(const_iterator it, unsigned int textLength) const {
        auto next = std::next(it);
        unsigned int until = next != this->end() ? next->first : textLength;
        return Run{it->first, until > it->first ? until - it->first : 0, it->second};
    }
};

} // namespace zelvane
