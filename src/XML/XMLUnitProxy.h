// Forwards every operation to another leaf, which it does not own.
#pragma once

#include "XML/XMLUnit.h"

namespace zelvane {

class XMLUnitProxy : public XMLUnit {
public:
    explicit XMLUnitProxy(XMLUnit& unit) : XMLUnit(unit.isAttribute()), m_unit(&unit) {}

    bool write(String& text) override { return m_unit->write(text); }
    bool isAttribute() const override { return m_unit->isAttribute(); }
    void setAttribute(bool attribute) override { m_unit->setAttribute(attribute); }
    char const* getTag() const override { return m_unit->getTag(); }
    char const* getNameSpace() const override { return m_unit->getNameSpace(); }
    bool isEssential() const override { return m_unit->isEssential(); }
    void setEssential(bool essential) override { m_unit->setEssential(essential); }
    void clear() override { m_unit->clear(); }
    void setDefault() override { m_unit->setDefault(); }
    bool validate() override { return m_unit->validate(); }
    bool read(String const& text) override { return m_unit->read(text); }

    XMLUnit& getUnit() const { return *m_unit; }

private:
    XMLUnit* m_unit;
};

} // namespace zelvane
