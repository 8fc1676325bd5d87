// A gable of a wall or roof, held as the host's record verbatim.
#pragma once

#include "ACAPI/ElementMemo.hpp"

namespace zelvane {

class Gable {
public:
    Gable() = default;
    explicit Gable(const API_Gable& record) : m_record(record) {}
    virtual ~Gable() = default;

    virtual Gable* clone() const { return new Gable(*this); }

    void clear() { m_record = API_Gable(); }
    const API_Gable& getRecord() const { return m_record; }
    void setRecord(const API_Gable& record) { m_record = record; }
    // A new copy of the record (the caller deletes it).
    API_Gable* getGableData() const { return new API_Gable(m_record); }

private:
    API_Gable m_record;
};

} // namespace zelvane
