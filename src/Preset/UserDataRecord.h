// A named record of a user database: its name, when it was last changed, how often it is used,
// and whether it was withdrawn. Record classes add their own fields after the three of this one.
#pragma once

#include "Environment/String.h"
#include "Environment/Time.h"
#include "XML/KeptMarkup.h"
#include "XML/XMLAssembly.h"

namespace zelvane {

class UserDataRecord : public virtual XMLAssembly {
public:
    // A named record is stamped with the current time; an unnamed one is reset to its defaults.
    explicit UserDataRecord(String const& name = String());
    UserDataRecord(UserDataRecord const& other) = default;
    UserDataRecord& operator=(UserDataRecord const&) = delete;

    // Field count of the record class.
    std::size_t shippingSize() const override = 0;
    bool isRepeating() const override { return false; }
    bool hasAttributes() const override { return true; }
    bool hasEnded() const override { return false; }
    // "cut" (only while deprecated) and "edit" as attributes, then "name" as an element.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    // Name empty, edit time null, no references, not deprecated; the expanded state stays.
    void setDefault() override;
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    // What the record's element held beside its fields (those a later version added, say),
    // written back where it stood; copies of the record keep it too.
    KeptMarkup* getKept() override { return &m_kept; }

    // Same name, edit time and deprecated state.
    virtual bool operator==(UserDataRecord const& other) const;
    virtual bool operator!=(UserDataRecord const& other) const { return !(*this == other); }
    // By name, then edit time; a deprecated record before a current one of the same name and time.
    virtual bool operator<(UserDataRecord const& other) const;
    virtual String const& getName() const { return m_name; }
    virtual String getFlatName() const { return m_name; }
    virtual String getTreeName() const { return m_name; }
    virtual Time const& getEditTime() const { return m_editTime; }
    virtual bool isOlderThan(UserDataRecord const& other) const { return m_editTime < other.m_editTime; }
    virtual bool isDeprecated() const { return m_deprecated; }
    virtual bool hasDeprecatedLink() const { return false; }
    virtual bool isUsed() const { return m_references != 0; }
    virtual bool isExpanded() const { return m_expanded; }
    // A change of name or of the deprecated state stamps the edit time.
    virtual void setName(String const& name);
    virtual void setDeprecated(bool deprecated);
    virtual void setEditTime(Time const& time) { m_editTime = time; }
    // The edit time becomes now, to the second: what the record stores is what it holds.
    virtual void markEditTime();
    virtual void resetReference() { m_references = 0; }
    virtual void addReference() { ++m_references; }
    // Never below 0; answers the new count.
    virtual unsigned int removeReference();
    virtual void setExpanded(bool expanded) { m_expanded = expanded; }

    // New copies owned by the caller; an independent copy shares nothing with this record.
    virtual UserDataRecord* clone() const = 0;
    virtual UserDataRecord* cloneIndependent() const { return clone(); }

    unsigned int getReferences() const { return m_references; }

private:
    String m_name;
    Time m_editTime;
    unsigned int m_references = 0;
    bool m_deprecated = false;
    bool m_expanded = false;
    KeptMarkup m_kept;
};

} // namespace zelvane
