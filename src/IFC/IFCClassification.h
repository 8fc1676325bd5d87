// A classification system an IFC classification reference points into.
#pragma once

#include "ACAPI/IFC.hpp"
#include "Environment/String.h"

namespace zelvane {

class IFCClassification {
public:
    IFCClassification(const String& source = String(), const String& edition = String(),
                      const String& name = String())
        : m_source(source), m_edition(edition), m_name(name) {}
    // The record's source, edition and name (its edition date is not kept).
    explicit IFCClassification(const API_IFCClassification& record)
        : m_source(record.source), m_edition(record.edition), m_name(record.name) {}
    virtual ~IFCClassification() = default;

    const String& getSource() const { return m_source; }
    const String& getEdition() const { return m_edition; }
    const String& getName() const { return m_name; }
    void pack(API_IFCClassification& record) const {
        record.source = GS::UniString(m_source);
        record.edition = GS::UniString(m_edition);
        record.name = GS::UniString(m_name);
    }

private:
    String m_source;
    String m_edition;
    String m_name;
};

} // namespace zelvane
