// The root element of a user-database file and the vehicle by which databases travel between the
// project, dialogs and files: it writes and reads the bindings (views of databases) added to it,
// and keeps the databases themselves until they are handed on.
#pragma once

#include "XML/XMLArray.h"

#include <memory>
#include <set>
#include <vector>

namespace zelvane {

class Package;
class PackageStore;

class UserDatabaseCollection : public XMLArray {
public:
    static constexpr char const* tag = "collection";

    // A null tag means "collection". The tag is not copied: it must outlive the collection.
    explicit UserDatabaseCollection(char const* rootTag = nullptr);
    UserDatabaseCollection(UserDatabaseCollection const&) = delete;
    UserDatabaseCollection& operator=(UserDatabaseCollection const&) = delete;
    // Deletes the bindings and the packages the collection owns; lent packages stay with their
    // owners.
    ~UserDatabaseCollection() override;

    std::size_t shippingSize() const override { return m_shippings.size(); }
    bool isRepeating() const override { return true; }
    bool hasAttributes() const override { return false; }
    // A new proxy of the binding under its own tag, of the binding's kind (assembly, map or
    // array); null for any other kind.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    void setDefault() override {}
    using XMLArray::addShipping;
    // The proxy of the first binding of that tag; null when none has it.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;

    // Takes the binding (nothing happens for a null one). The package, when given, is kept until
    // it is released: an owned one is deleted with the collection, a lent one only forgotten. A
    // package of a code already held replaces the one before.
    virtual void addPackage(XMLShipping* shipping, Package* package, bool owned = false);
    // Hands every package to the open project, which keeps owned ones and a copy of lent ones
    // (unless it already holds that very package). Without an open project nothing moves and
    // the answer is false.
    virtual bool applyToProject();
    char const* getTag() const override;
    void setTag(char const* rootTag) override { m_tag = rootTag; }

    // The package of that code; the collection keeps it. Null when there is none.
    Package* getPackage(unsigned int id) const;
    // Hands the package of that code to the caller, who owns it from then on; null when none.
    Package* releasePackage(unsigned int id);

private:
    std::vector<std::unique_ptr<XMLShipping>> m_shippings;
    std::shared_ptr<PackageStore> m_store;
    std::set<unsigned int> m_owned;
    char const* m_tag;
};

} // namespace zelvane
