#include "XML/PackageStore.h"

#include "Addon/Addon.h"
#include "Addon/Event.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLReader.h"
#include "XML/XMLWriter.h"

#include <cstring>
#include <iterator>

namespace zelvane {

namespace {

constexpr char const* defaultTag = "packageStore";

// Binds a store at the root of a document without putting its packages back to their defaults,
// so that packages the document lacks keep their values. It counts the package elements it binds
// and, given a place to keep them, keeps there the elements beside them that no package takes and
// the root's attributes.
class KeepingBinding : public XMLAssembly {
public:
    KeepingBinding(PackageStore& store, std::size_t& found, UnknownElements* unknown)
        : m_store(store), m_found(found), m_unknown(unknown) {}

    char const* getTag() const override { return m_store.getTag(); }
    char const* getNameSpace() const override { return m_store.getNameSpace(); }
    std::size_t shippingSize() const override { return m_store.shippingSize(); }
    bool hasAttributes() const override { return false; }
    Shipping* getShipping(std::size_t index, bool attributes) override {
        return m_store.getShipping(index, attributes);
    }
    Shipping* getShipping(String const& tag, String const& nameSpace) override {
        if (Shipping* package = m_store.getShipping(tag, nameSpace)) {
            ++m_found;
            return package;
        }
        // The store's own element is the document's root, bound by the reader's root rule.
        if (m_unknown == nullptr || tag == m_store.getTag()) {
            return nullptr;
        }
        return m_unknown->add(tag, nameSpace);
    }
    void setDefault() override {}
    bool validate() override { return m_store.validate(); }

private:
    PackageStore& m_store;
    std::size_t& m_found;
    UnknownElements* m_unknown;
};

} // namespace

UnknownElements::UnknownElements() = default;

UnknownElements::~UnknownElements() = default;

std::size_t UnknownElements::size() const {
    return m_entries.size();
}

void UnknownElements::clear() {
    m_entries.clear();
}

void UnknownElements::swap(UnknownElements& other) {
    m_entries.swap(other.m_entries);
}

Shipping* UnknownElements::add(String const& tag, String const& nameSpace) {
    auto entry = std::make_unique<XMLVerbatim::Markup>();
    entry->tag = tag;
    entry->nameSpace = nameSpace;
    m_entries.push_back(std::move(entry));
    return new XMLVerbatim(*m_entries.back());
}

Shipping* UnknownElements::getShipping(std::size_t index, bool attributes) const {
    if (index >= m_entries.size() || m_entries[index]->attribute != attributes) {
        return nullptr;
    }
    return new XMLVerbatim(*m_entries[index]);
}

PackageStore::PackageStore(char const* tag)
    : m_accessTime(true), m_packages(std::make_unique<PackageList>()), m_tag(tag) {}

PackageStore::PackageStore(PackageStore const& other)
    : XMLAssembly(other), m_accessTime(true), m_packages(std::make_unique<PackageList>(*other.m_packages)),
      m_tag(other.m_tag) {}

PackageStore::~PackageStore() {
    delete m_filter;
}

PackageStore* PackageStore::cloneIndependent() const {
    auto copy = std::make_unique<PackageStore>(m_tag);
    copy->m_accessTime = m_accessTime;
    for (auto const& entry : *m_packages) {
        copy->m_packages->set(entry.first, entry.second->cloneIndependent());
    }
    return copy.release();
}

PackageStore* PackageStore::cloneEmpty() const {
    auto copy = std::make_unique<PackageStore>(m_tag);
    copy->m_accessTime = m_accessTime;
    for (auto const& entry : *m_packages) {
        copy->m_packages->set(entry.first, entry.second->cloneEmpty());
    }
    return copy.release();
}

bool PackageStore::isExported(unsigned int code) const {
    Package* package = getPackage(code, true);
    return package != nullptr && package->isExported();
}

bool PackageStore::isExported() const {
    for (auto const& entry : *m_packages) {
        if (isExported(entry.first)) {
            return true;
        }
    }
    return false;
}

char const* PackageStore::getTag() const {
    return m_tag != nullptr ? m_tag : defaultTag;
}

std::size_t PackageStore::shippingSize() const {
    return m_packages->size();
}

Shipping* PackageStore::getShipping(std::size_t index, bool) {
    if (index >= m_packages->size()) {
        return nullptr;
    }
    Package* package = std::next(m_packages->begin(), static_cast<std::ptrdiff_t>(index))->second;
    if (m_filter != nullptr && !m_filter->accept(*package)) {
        return nullptr;
    }
    return new XMLAssemblyProxy(*package);
}

Shipping* PackageStore::getShipping(String const& tag, String const&) {
    for (auto const& entry : *m_packages) {
        Package* package = entry.second;
        if (tag == package->getTag() && (m_filter == nullptr || m_filter->accept(*package))) {
            return new XMLAssemblyProxy(*package);
        }
    }
    return nullptr;
}

void PackageStore::setDefault() {
    clearPackages(false);
    setAccessTime();
}

void PackageStore::setAccessTime() {
    m_accessTime = Time(true);
}

Package* PackageStore::getPackage(unsigned int code, bool filtered) const {
    auto it = m_packages->find(code);
    if (it == m_packages->end()) {
        return nullptr;
    }
    if (filtered && m_filter != nullptr && !m_filter->accept(*it->second)) {
        return nullptr;
    }
    return it->second;
}

void PackageStore::setPackage(Package const& package, bool publish) {
    unsigned int code = package.getID();
    if (getPackage(code) != &package) {
        // The clone is made before the old package goes, so a failed copy loses nothing.
        m_packages->set(code, package.clone());
    }
    if (publish) {
        publishUpdate(code);
    }
}

void PackageStore::setPackage(Package* package, bool publish) {
    if (package == nullptr) {
        return;
    }
    unsigned int code = package->getID();
    m_packages->set(code, package);
    if (publish) {
        publishUpdate(code);
    }
}

Package* PackageStore::releasePackage(unsigned int code) {
    return m_packages->release(code);
}

void PackageStore::releaseAllPackages() {
    m_packages->releaseAll();
}

void PackageStore::getTypes(TypeList& list) const {
    for (auto const& entry : *m_packages) {
        list.push_back(entry.first);
    }
}

PackageStore* PackageStore::getExport() const {
    auto result = std::make_unique<PackageStore>(m_tag);
    for (auto const& entry : *m_packages) {
        Package* package = entry.second;
        if (!package->isExported() || (m_filter != nullptr && !m_filter->accept(*package))) {
            continue;
        }
        std::unique_ptr<Package> exported(package->getExport());
        if (exported != nullptr) {
            result->setPackage(*exported, false);
        }
    }
    return result.release();
}

void PackageStore::merge(PackageStore const& other) {
    for (auto const& entry : *other.m_packages) {
        if (Package* own = getPackage(entry.first)) {
            own->merge(*entry.second);
        } else {
            setPackage(*entry.second, false);
        }
    }
}

void PackageStore::clearPackages(bool keepOptional) {
    for (auto const& entry : *m_packages) {
        if (!keepOptional || !entry.second->isClearOptional()) {
            entry.second->clear();
        }
    }
}

void PackageStore::setFilter(Filter* filter) {
    if (filter != m_filter) {
        delete m_filter;
        m_filter = filter;
    }
}

void PackageStore::shutdown() {
    for (auto const& entry : *m_packages) {
        entry.second->shutdown();
    }
}

MemoryBlock* PackageStore::getData(TypeList const* codes) const {
    auto block = std::make_unique<MemoryBlock>();
    bool written = true;
    {
        DataBufferOut out(block.get());
        XMLWriter writer(&out);
        if (codes == nullptr) {
            for (auto const& entry : *m_packages) {
                written = written && writer.exportFrom(*entry.second, false, false, false, false);
            }
        } else {
            for (unsigned int code : *codes) {
                if (Package* package = getPackage(code)) {
                    written = written && writer.exportFrom(*package, false, false, false, false);
                }
            }
        }
        out.flushBuffer();
        written = written && !out.failed();
    }
    // Half a block would be stored in the project as if it were whole.
    return written ? block.release() : nullptr;
}

std::unique_ptr<PackageStore> PackageStore::makeScratch(bool cleared) const {
    auto scratch = std::make_unique<PackageStore>(m_tag);
    for (auto const& entry : *m_packages) {
        Package* copy = entry.second->clone();
        scratch->m_packages->set(entry.first, copy);
        if (cleared) {
            copy->clear();
        }
    }
    return scratch;
}

bool PackageStore::readInto(PackageStore& scratch, DataBufferIn& stream, bool keepValues, std::size_t* found,
                            UnknownElements* unknown) {
    // The scratch store sees the packages through this store's filter, which stays this store's.
    struct FilterLoan {
        PackageStore& store;
        ~FilterLoan() { store.m_filter = nullptr; }
    } loan{scratch};
    scratch.m_filter = m_filter;
    XMLReader reader(&stream);
    if (keepValues) {
        std::size_t bound = 0;
        KeepingBinding binding(scratch, found != nullptr ? *found : bound, unknown);
        return reader.importTo(binding);
    }
    return reader.importTo(scratch);
}

bool PackageStore::setData(MemoryBlock const& block, bool publish) {
    if (block.size() == 0) {
        setDefault();
        return true;
    }
    // Read into copies and keep them only when the whole block was read, so a malformed block
    // never leaves the packages half read.
    std::unique_ptr<PackageStore> scratch = makeScratch(true);
    DataBufferIn stream(block, Encoding::utf8);
    bool read = readInto(*scratch, stream, false);
    if (read) {
        m_packages.swap(scratch->m_packages);
    }
    if (publish) {
        publishAll();
    }
    return read;
}

bool PackageStore::importFrom(DataBufferIn& stream, bool publish, std::size_t* found,
                              UnknownElements* unknown) {
    std::unique_ptr<PackageStore> scratch = makeScratch(false);
    std::size_t bound = 0;
    UnknownElements kept;
    bool read = readInto(*scratch, stream, true, &bound, unknown != nullptr ? &kept : nullptr);
    if (read) {
        m_packages.swap(scratch->m_packages);
        if (found != nullptr) {
            *found = bound;
        }
        if (unknown != nullptr) {
            unknown->swap(kept);
        }
    }
    if (publish) {
        publishAll();
    }
    return read;
}

void PackageStore::publishUpdate(unsigned int code) {
    if (addon == nullptr) {
        return; // outside the add-on's life nobody listens
    }
    Event event(EventSpec(code, 0));
    addon->publishEvent(event);
}

void PackageStore::publishAll() {
    TypeList codes;
    getTypes(codes);
    for (unsigned int code : codes) {
        publishUpdate(code);
    }
}

} // namespace zelvane
