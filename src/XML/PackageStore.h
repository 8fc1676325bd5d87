// Holds at most one package per code, writes its packages as XML and reads them back, merges
// stores, and announces the packages it replaces or re-reads by an update event (family: the
// package's code, kind 0) handed to the add-on.
#pragma once

#include "Environment/Map.h"
#include "Environment/Time.h"
#include "XML/Package.h"
#include "XML/UnknownElements.h"

#include <memory>
#include <vector>

namespace zelvane {

class DataBufferIn;
class DataBufferOut;
class MemoryBlock;

// Package codes.
using TypeList = std::vector<unsigned int>;

class PackageStore : public XMLAssembly {
public:
    // Decides which packages the store hands out when filtered.
    class Filter {
    public:
        virtual ~Filter() = default;
        virtual bool accept(Package const& package) const = 0;
    };

    // Code to owned package, in code order.
    using PackageList = Map<unsigned int, Package>;

    // Null tag: "packageStore". The tag is not copied: it must outlive the store.
    explicit PackageStore(char const* tag = nullptr);
    // Clones every package; the copy's access time is now and it has no filter.
    PackageStore(PackageStore const& other);
    PackageStore& operator=(PackageStore const&) = delete;
    ~PackageStore() override;

    // New stores (owned by the caller) with the tag and access time of this one, holding each
    // package's cloneIndependent() or cloneEmpty(); no filter.
    virtual PackageStore* cloneIndependent() const;
    virtual PackageStore* cloneEmpty() const;
    // Whether the package of that code passes the filter and is exported.
    virtual bool isExported(unsigned int code) const;
    // Whether any stored package is.
    virtual bool isExported() const;
    char const* getTag() const override;

    std::size_t shippingSize() const override;
    bool hasAttributes() const override { return false; }
    // The package at that position in code order, unless the filter rejects it.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    // The first package in code order of that tag and namespace that the filter passes, as
    // findPackage tells.
    Shipping* getShipping(String const& tag, String const& nameSpace) override;
    // The first package in code order of that tag that the filter passes, where the element's
    // namespace prefix is none (what the writer gives a package without namespaces) or the
    // package's own: a prefixed element of another namespace, or one in a default namespace
    // (XMLReader::defaultNameSpace), is no package of this store.
    Package* findPackage(String const& tag, String const& nameSpace) const;
    // Every package back to its defaults; the access time is now.
    void setDefault() override;

    void setAccessTime();
    Time const& getAccessTime() const { return m_accessTime; }

    // The stored package (the store keeps it) or null; filtered, a package the filter rejects
    // gives null too.
    Package* getPackage(unsigned int code, bool filtered = false) const;
    // Stores a clone, replacing (and deleting) another package of the same code. With publish the
    // update event follows, also when the very package was already stored.
    void setPackage(Package const& package, bool publish);
    // Adopts the package, likewise.
    void setPackage(Package* package, bool publish);
    // Hands the package to the caller and forgets it; null when absent.
    Package* releasePackage(unsigned int code);
    // Forgets every package without deleting it.
    void releaseAllPackages();
    // Appends the stored codes in code order.
    void getTypes(TypeList& list) const;
    // A new store (owned by the caller) of the packages' export forms.
    PackageStore* getExport() const;
    // Merges each package of the other store into this one's package of the same code, and
    // stores clones of the others.
    void merge(PackageStore const& other);
    // Puts the packages back to their defaults; with keepOptional those that answer
    // isClearOptional() stay as they are.
    void clearPackages(bool keepOptional);
    // Takes the filter (null for none), deleting the previous one.
    void setFilter(Filter* filter);
    void shutdown();

    // The packages of the listed codes (all without a list) as XML elements one after another,
    // without declaration or enclosing element, in a new block owned by the caller: the form of
    // the project's module data. With `kept` (as setData filled it) the packages stand where they
    // stood among what it keeps, and hold what it keeps of them; the packages it lacks follow.
    // Null when writing fails.
    MemoryBlock* getData(TypeList const* codes = nullptr, UnknownElements const* kept = nullptr) const;
    // Reads the packages from module data. An empty block puts every package back to its defaults.
    // Otherwise the packages the block holds are read and the others put back to their defaults;
    // when the block is malformed nothing changes and the answer is false. With publish the update
    // event of every package follows, whatever the outcome. The packages are replaced by the ones
    // read: pointers taken from the store before no longer hold. `unknown` (where given) is
    // replaced, when the block was read, by what it holds that no package takes.
    bool setData(MemoryBlock const& block, bool publish, UnknownElements* unknown = nullptr);
    // Reads packages from an XML document such as a preference file, whose root element is the
    // store's own or a package's: the packages it holds are read, the others keep their values.
    // A malformed document changes nothing and answers false. Publishing and the packages' identity
    // as for setData. When the document was read, `found` (where given) receives how many package
    // elements it held, and `unknown` (where given) is replaced by what the document holds that
    // no package takes (the root's attributes, elements, comments, processing instructions and
    // text, around, beside and inside the packages); without `unknown` they are skipped.
    bool importFrom(DataBufferIn& stream, bool publish, std::size_t* found = nullptr,
                    UnknownElements* unknown = nullptr);
    // Writes the store as a preference document: the declaration, what `kept` (as importFrom
    // filled it) holds before the root element, the store's own element with the packages the
    // filter passes where they stood among what it keeps there (the others after them), then what
    // it holds after the root. False when writing fails.
    bool exportTo(DataBufferOut& stream, UnknownElements const& kept);

    // Hands the update event of that code to the add-on.
    void publishUpdate(unsigned int code);
    void publishAll();

private:
    // A store holding `package` for each of this one's packages, with this store's tag.
    std::unique_ptr<PackageStore> makeScratch(bool cleared) const;
    // Reads a document as importFrom tells, or with `enclosed` unset as setData reads a block that
    // is not empty: the packages it lacks are cleared and the whole document is content.
    bool readDocument(DataBufferIn& stream, bool enclosed, bool publish, std::size_t* found,
                      UnknownElements* unknown);

    Time m_accessTime;
    std::unique_ptr<PackageList> m_packages;
    Filter* m_filter = nullptr;
    char const* m_tag;
};

} // namespace zelvane
