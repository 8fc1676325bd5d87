// The host application an object was made for, written into XML by its name.
#pragma once

#include "Environment/String.h"
#include "GSRoot/GSRoot.hpp"
#include "XML/XMLUnit.h"

namespace zelvane {

class HostType : public XMLUnit {
public:
    // 0 "All", 1 "ArchiCAD", 2 "Vectorworks", 3 "Revit".
    static constexpr UInt32 allID = 0;
    static constexpr UInt32 defaultID = 1;

    // A null tag means "host"; with `attribute` the value is written as an attribute of its parent.
    explicit HostType(UInt32 id = defaultID, const char* tag = nullptr, bool attribute = false)
        : XMLUnit(attribute), m_id(id), m_tag(tag) {}

    HostType& operator=(UInt32 id) {
        m_id = id;
        return *this;
    }
    // Compares the IDs only.
    bool operator==(const HostType& other) const { return m_id == other.m_id; }
    bool operator!=(const HostType& other) const { return m_id != other.m_id; }

    UInt32 getID() const { return m_id; }
    // The name of the ID, empty for an unknown one.
    String getName() const;
    bool isRead() const { return m_read; }

    void setDefault() override;
    // Puts the name into the text; false when the ID has none.
    bool write(String& text) override;
    // Marks the value as read; takes one of the four names exactly, else keeps the ID and answers
    // false.
    bool read(const String& text) override;
    const char* getTag() const override { return m_tag != nullptr ? m_tag : "host"; }

private:
    UInt32 m_id;
    const char* m_tag; // a literal of the owner
    bool m_read = false;
};

} // namespace zelvane
