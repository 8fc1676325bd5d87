// Makes a record's name unique among the records of a source: a database, walked in key order, or
// a list of (key, record) pairs. The generator holds only a reference to its source.
#pragma once

#include "Environment/String.h"
#include "Preset/UniqueNameScan.h"
#include "XML/Shipping.h"
#include "XML/XMLUnit.h"

#include <cstddef>
#include <memory>

namespace zelvane {

template <typename Source>
class UserDataUniqueString {
public:
    using Position = typename Source::const_iterator;

    explicit UserDataUniqueString(Source const& source) : m_source(source) {}

    // The name unchanged when no record's field `fieldIndex` holds it, else the name's base with
    // the next free number. A holder, when asked for, is set to the (last) record holding the
    // name, and left alone when none does.
    String generateFor(String const& name, std::size_t fieldIndex, Position* holder = nullptr) const {
        UniqueNameScan scan(name);
        for (Position position = m_source.begin(); position != m_source.end(); ++position) {
            if (position->second == nullptr) {
                continue;
            }
            if (scan.take(getValue(position, fieldIndex)) && holder != nullptr) {
                *holder = position;
            }
        }
        return scan.result();
    }

    // The text of a field of the record at `position`; empty when the field is not a leaf.
    String getValue(Position position, std::size_t fieldIndex) const {
        String text;
        if (position->second == nullptr) {
            return text;
        }
        std::unique_ptr<Shipping> field(position->second->getShipping(fieldIndex, false));
        if (XMLUnit* unit = field != nullptr ? field->asUnit() : nullptr) {
            unit->write(text);
        }
        return text;
    }

private:
    Source const& m_source;
};

} // namespace zelvane
