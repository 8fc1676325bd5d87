// The record of a deleted record: it keeps the key, name and times of the record it stands for
// and the code of the database that record was deleted from.
#pragma once

#include "Preset/UserDataRecord.h"

namespace zelvane {

class DeletedRecord : public UserDataRecord {
public:
    static constexpr char const* tag = "deletedRecord";

    // Without a name, or named by the localised default name of a deleted record.
    explicit DeletedRecord(bool noName = true);
    DeletedRecord(DeletedRecord const& other) = default;

    std::size_t shippingSize() const override { return 4; }
    // The record's fields, then "databaseID" as an attribute, only when it is set.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    // The database code goes back to none; the record's other fields stay.
    void setDefault() override;
    char const* getTag() const override { return tag; }

    DeletedRecord* clone() const override { return new DeletedRecord(*this); }
    DeletedRecord* cloneIndependent() const override { return clone(); }

    unsigned int getDatabaseID() const { return m_databaseID; }
    void setDatabaseID(unsigned int databaseID) { m_databaseID = databaseID; }

private:
    unsigned int m_databaseID = 0;
};

} // namespace zelvane
