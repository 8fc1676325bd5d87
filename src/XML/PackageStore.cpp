#include "XML/PackageStore.h"

#include "Addon/Addon.h"
#include "Addon/Event.h"
#include "Environment/DataBufferIn.h"
#include "Environment/DataBufferOut.h"
#include "Environment/MemoryBlock.h"
#include "Environment/String.h"
#include "XML/ShippingForms.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLReader.h"
#include "XML/XMLVerbatim.h"
#include "XML/XMLWriter.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvane {

namespace {

constexpr char const* defaultTag = "packageStore";

bool sameNameSpace(char const* own, String const& nameSpace) {
    return nameSpace == String(own != nullptr ? own : "");
}

// Whether kept markup is an XML declaration ("<?xml ...?>", the target in any case).
bool isDeclaration(String const& text) {
    std::string_view markup(text.data(), text.dataLength());
    if (markup.size() < 6 || markup.compare(0, 2, "<?") != 0) {
        return false;
    }
    char const after = markup[5];
    return (markup[2] | 0x20) == 'x' && (markup[3] | 0x20) == 'm' && (markup[4] | 0x20) == 'l' &&
           (after == ' ' || after == '\t' || after == '\r' || after == '\n' || after == '?');
}

// A new binding (owned by the caller) of kept markup, for the writer, which only reads it.
Shipping* bindKept(XMLVerbatim::Markup const& markup) {
    return new XMLVerbatim(const_cast<XMLVerbatim::Markup&>(markup));
}

// A package read or written with what its element holds beside the fields its binding takes
// (the reader keeps there, too, a child or attribute of another namespace than its field's).
class KeptPackage : public XMLAssemblyProxy {
public:
    KeptPackage(Package& package, KeptMarkup& inside) : XMLAssemblyProxy(package), m_inside(inside) {}

    bool hasAttributes() const override { return getObject().hasAttributes(); }
    bool hasEnded() const override { return getObject().hasEnded(); }
    KeptMarkup* getKept() override { return &m_inside; }

private:
    KeptMarkup& m_inside;
};

// Binds a document of packages for a store without putting them back to their defaults, so that
// packages the document lacks keep their values. It counts the package elements it binds and,
// given a place to keep them, keeps there, in document order, what no package takes and where the
// packages stood. Its root element is the store's own or a package's; with `enclosed` what stands
// around the root is kept apart, otherwise all is content.
class KeepingBinding : public XMLAssembly {
public:
    KeepingBinding(PackageStore& store, std::size_t& found, UnknownElements* unknown, bool enclosed)
        : m_store(store), m_found(found), m_unknown(unknown), m_enclosed(enclosed) {}

    char const* getTag() const override { return m_store.getTag(); }
    char const* getNameSpace() const override { return m_store.getNameSpace(); }
    std::size_t shippingSize() const override { return 1; }
    bool hasAttributes() const override { return false; }
    Shipping* getShipping(std::size_t, bool) override { return nullptr; }
    Shipping* getShipping(String const& tag, String const& nameSpace) override {
        m_elementSeen = true;
        if (tag == m_store.getTag() && sameNameSpace(m_store.getNameSpace(), nameSpace)) {
            return new Root(*this);
        }
        return bind(tag, nameSpace);
    }
    void setDefault() override {}
    bool validate() override { return m_store.validate(); }
    bool keepsMarkup() const override { return m_unknown != nullptr; }
    void keepMarkup(String const& markup) override {
        using Side = KeptMarkup::Side;
        keep(markup, !m_enclosed ? Side::inside : m_elementSeen ? Side::after : Side::before);
    }
    void fieldRead(Shipping& field, String const& element) override {
        if (auto* package = dynamic_cast<KeptPackage*>(&field)) {
            m_read[dynamic_cast<Package&>(package->getObject()).getID()].element = element;
        }
    }

    // A package of the store, or what is kept in its place among the root's content. A package
    // element read again is read into the package as the first was: the one read before is then
    // kept as it was written, where it stood.
    Shipping* bind(String const& tag, String const& nameSpace) {
        Package* package = m_store.findPackage(tag, nameSpace);
        if (package == nullptr) {
            return m_unknown != nullptr ? add(tag, nameSpace) : nullptr;
        }
        ++m_found;
        if (m_unknown == nullptr) {
            return new XMLAssemblyProxy(*package);
        }
        unsigned int code = package->getID();
        std::vector<unsigned int>& packages = m_unknown->packages();
        auto earlier = m_read.find(code);
        if (earlier != m_read.end()) {
            std::size_t index = earlier->second.index;
            m_unknown->markup().keepTwin(tag, nameSpace, earlier->second.element, index);
            packages.erase(packages.begin() + static_cast<std::ptrdiff_t>(index));
            for (auto& entry : m_read) {
                if (entry.second.index > index) {
                    --entry.second.index;
                }
            }
        }
        m_read[code] = Read{packages.size(), String()};
        packages.push_back(code);
        return new KeptPackage(*package, m_unknown->inside(code));
    }

private:
    // Keeps markup, or a new element or attribute, after the package elements bound so far.
    void keep(String const& markup, KeptMarkup::Side side) {
        m_unknown->markup().keep(markup, side, m_unknown->packages().size());
    }
    Shipping* add(String const& tag, String const& nameSpace) {
        return m_unknown->markup().add(tag, nameSpace, m_unknown->packages().size());
    }

    // The store's own element: an element of its tag inside it is kept like any other.
    // In module data the element is kept too: its start tag with the attributes as written, and its
    // end tag, around what it holds, so that namespaces it declares stay declared for that.
    class Root : public XMLAssembly {
    public:
        explicit Root(KeepingBinding& document) : m_document(document) {
            if (!document.m_enclosed && document.m_unknown != nullptr) {
                m_start = document.m_unknown->markup().items().size();
                document.keep(String(), KeptMarkup::Side::inside);
            }
        }

        char const* getTag() const override { return m_document.getTag(); }
        char const* getNameSpace() const override { return m_document.getNameSpace(); }
        std::size_t shippingSize() const override { return 1; }
        bool hasAttributes() const override { return false; }
        Shipping* getShipping(std::size_t, bool) override { return nullptr; }
        Shipping* getShipping(String const& tag, String const& nameSpace) override {
            open();
            return m_document.bind(tag, nameSpace);
        }
        // The root's attributes bind nothing: they are kept as they were.
        Shipping* getAttribute(String const& tag, String const& nameSpace) override {
            if (m_start != none) {
                return m_attributes.add(tag, nameSpace, 0);
            }
            return m_document.m_unknown != nullptr ? m_document.add(tag, nameSpace) : nullptr;
        }
        void setDefault() override {}
        bool validate() override {
            if (m_start != none) {
                open();
                String end("</");
                end += getTag();
                end += ">";
                m_document.keep(end, KeptMarkup::Side::inside);
            }
            return m_document.validate();
        }
        bool keepsMarkup() const override { return m_document.m_unknown != nullptr; }
        void keepMarkup(String const& markup) override {
            open();
            m_document.keep(markup, KeptMarkup::Side::inside);
        }
        void fieldRead(Shipping& field, String const& element) override {
            m_document.fieldRead(field, element);
        }

    private:
        static constexpr std::size_t none = ~std::size_t(0);

        // The start tag, once the attributes were read, before what follows can move it.
        void open() {
            if (m_start == none || m_opened) {
                return;
            }
            m_opened = true;
            String& start = m_document.m_unknown->markup().textAt(m_start);
            start = "<";
            start += getTag();
            for (KeptMarkup::Item const& item : m_attributes.items()) {
                start += " ";
                start += item.markup.text;
            }
            start += ">";
        }

        KeepingBinding& m_document;
        std::size_t m_start = none;
        bool m_opened = false;
        KeptMarkup m_attributes;
    };

    // Where the last element of a package stands among the package elements kept, and its text.
    struct Read {
        std::size_t index;
        String element;
    };

    PackageStore& m_store;
    std::size_t& m_found;
    UnknownElements* m_unknown;
    bool m_enclosed;
    bool m_elementSeen = false;
    std::map<unsigned int, Read> m_read;
};

// The packages of a store as the content of its element (or, without a tag, as module data's
// elements back to back), where they stood among what was kept of the document, each with what
// was kept inside it; the packages it lacks follow in the list's order or in code order.
class WrittenContent : public XMLAssembly {
public:
    WrittenContent(PackageStore const& store, UnknownElements const* kept, char const* tag, bool filtered,
                   TypeList const* codes)
        : m_kept(kept), m_tag(tag) {
        auto place = [&](unsigned int code) {
            Package* package = store.getPackage(code, filtered);
            if (package != nullptr &&
                (codes == nullptr || std::count(codes->begin(), codes->end(), code) != 0) &&
                std::none_of(m_slots.begin(), m_slots.end(),
                             [package](Slot const& slot) { return slot.package == package; })) {
                m_slots.push_back(Slot{nullptr, package});
            }
        };
        if (kept != nullptr) {
            std::vector<unsigned int> const& read = kept->packages();
            std::size_t next = 0;
            for (KeptMarkup::Item const& item : kept->markup().items()) {
                if (item.side != KeptMarkup::Side::inside) {
                    continue;
                }
                for (; next < item.place && next < read.size(); ++next) {
                    place(read[next]);
                }
                // Module data is UTF-8 without a declaration: one kept that came first would name
                // the encoding of what follows.
                if (*tag != '\0' ||
                    (!item.markup.attribute && !(m_slots.empty() && isDeclaration(item.markup.text)))) {
                    m_slots.push_back(Slot{&item.markup, nullptr});
                }
            }
            for (; next < read.size(); ++next) {
                place(read[next]);
            }
        }
        TypeList all;
        if (codes == nullptr) {
            store.getTypes(all);
        }
        for (unsigned int code : codes != nullptr ? *codes : all) {
            place(code);
        }
    }

    char const* getTag() const override { return m_tag; }
    std::size_t shippingSize() const override { return m_slots.size(); }
    bool hasAttributes() const override {
        return std::any_of(m_slots.begin(), m_slots.end(),
                           [](Slot const& slot) { return slot.markup != nullptr && slot.markup->attribute; });
    }
    Shipping* getShipping(std::size_t index, bool attributes) override {
        if (index >= m_slots.size()) {
            return nullptr;
        }
        Slot const& slot = m_slots[index];
        if (slot.markup != nullptr) {
            return slot.markup->attribute == attributes ? bindKept(*slot.markup) : nullptr;
        }
        if (attributes) {
            return nullptr;
        }
        KeptMarkup const* inside = m_kept != nullptr ? m_kept->findInside(slot.package->getID()) : nullptr;
        if (inside != nullptr && !inside->empty()) {
            // The writer only reads what is kept.
            return new KeptPackage(*slot.package, const_cast<KeptMarkup&>(*inside));
        }
        return new XMLAssemblyProxy(*slot.package);
    }
    Shipping* getShipping(String const&, String const&) override { return nullptr; }
    void setDefault() override {}

private:
    struct Slot {
        XMLVerbatim::Markup const* markup;
        Package* package;
    };

    UnknownElements const* m_kept;
    char const* m_tag;
    std::vector<Slot> m_slots;
};

// A preference document: what was kept before the root element, the root, what was kept after it.
class WrittenDocument : public XMLAssembly {
public:
    WrittenDocument(WrittenContent& root, KeptMarkup const& kept) : m_root(root) {
        for (KeptMarkup::Side side : {KeptMarkup::Side::before, KeptMarkup::Side::after}) {
            for (KeptMarkup::Item const& item : kept.items()) {
                if (item.side == side) {
                    m_slots.push_back(&item.markup);
                }
            }
            // The root stands between the two.
            if (side == KeptMarkup::Side::before) {
                m_slots.push_back(nullptr);
            }
        }
    }

    char const* getTag() const override { return ""; }
    std::size_t shippingSize() const override { return m_slots.size(); }
    bool hasAttributes() const override { return false; }
    Shipping* getShipping(std::size_t index, bool) override {
        if (index >= m_slots.size()) {
            return nullptr;
        }
        return m_slots[index] != nullptr ? bindKept(*m_slots[index]) : new XMLAssemblyProxy(m_root);
    }
    Shipping* getShipping(String const&, String const&) override { return nullptr; }
    void setDefault() override {}

private:
    WrittenContent& m_root;
    std::vector<XMLVerbatim::Markup const*> m_slots;
};

} // namespace

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

Shipping* PackageStore::getShipping(String const& tag, String const& nameSpace) {
    Package* package = findPackage(tag, nameSpace);
    return package != nullptr ? new XMLAssemblyProxy(*package) : nullptr;
}

Package* PackageStore::findPackage(String const& tag, String const& nameSpace) const {
    for (auto const& entry : *m_packages) {
        Package* package = entry.second;
        if (tag == package->getTag() &&
            (nameSpace.empty() || sameNameSpace(package->getNameSpace(), nameSpace)) &&
            (m_filter == nullptr || m_filter->accept(*package))) {
            return package;
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

MemoryBlock* PackageStore::getData(TypeList const* codes, UnknownElements const* kept) const {
    auto block = std::make_unique<MemoryBlock>();
    bool written = false;
    {
        DataBufferOut out(block.get());
        XMLWriter writer(&out);
        WrittenContent content(*this, kept, "", false, codes);
        written = writer.exportFrom(content, false, false, false, false);
        out.flushBuffer();
        written = written && !out.failed();
    }
    // Half a block would be stored in the project as if it were whole.
    return written ? block.release() : nullptr;
}

bool PackageStore::exportTo(DataBufferOut& stream, UnknownElements const& kept) {
    WrittenContent root(*this, &kept, getTag(), true, nullptr);
    WrittenDocument document(root, kept.markup());
    XMLWriter writer(&stream);
    return writer.exportFrom(document, true, true, true, true);
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

bool PackageStore::setData(MemoryBlock const& block, bool publish, UnknownElements* unknown) {
    if (block.size() == 0) {
        setDefault();
        if (unknown != nullptr) {
            unknown->clear();
        }
        return true;
    }
    DataBufferIn stream(block, Encoding::utf8);
    return readDocument(stream, false, publish, nullptr, unknown);
}

bool PackageStore::importFrom(DataBufferIn& stream, bool publish, std::size_t* found,
                              UnknownElements* unknown) {
    return readDocument(stream, true, publish, found, unknown);
}

bool PackageStore::readDocument(DataBufferIn& stream, bool enclosed, bool publish, std::size_t* found,
                                UnknownElements* unknown) {
    // The document is read into copies, kept only when it was read whole, so that a malformed one
    // never leaves the packages half read. Module data sets every package: those it lacks are
    // cleared.
    std::unique_ptr<PackageStore> scratch = makeScratch(!enclosed);
    std::size_t bound = 0;
    UnknownElements kept;
    bool read = false;
    {
        // The copies are seen through this store's filter, which stays this store's.
        struct FilterLoan {
            PackageStore& store;
            ~FilterLoan() { store.m_filter = nullptr; }
        } loan{*scratch};
        scratch->m_filter = m_filter;
        XMLReader reader(&stream);
        KeepingBinding binding(*scratch, bound, unknown != nullptr ? &kept : nullptr, enclosed);
        read = reader.importTo(binding);
    }
    if (read) {
        m_packages.swap(scratch->m_packages);
        if (found != nullptr) {
            *found = bound;
        }
        if (unknown != nullptr) {
            *unknown = std::move(kept);
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
