#include "Preset/UserDatabaseCollection.h"

#include "Database/Project.h"
#include "Environment/Host.h"
#include "XML/PackageStore.h"
#include "XML/XMLArrayProxy.h"
#include "XML/XMLAssemblyProxy.h"
#include "XML/XMLMapProxy.h"

namespace zelvane {

namespace {

Shipping* proxyOf(XMLShipping* shipping) {
    if (shipping == nullptr) {
        return nullptr;
    }
    if (auto* assembly = dynamic_cast<XMLAssembly*>(shipping)) {
        return new XMLAssemblyProxy(*assembly);
    }
    if (auto* map = dynamic_cast<XMLMap*>(shipping)) {
        return new XMLMapProxy(*map);
    }
    if (auto* array = dynamic_cast<XMLArray*>(shipping)) {
        return new XMLArrayProxy(*array);
    }
    return nullptr;
}

} // namespace

UserDatabaseCollection::UserDatabaseCollection(char const* rootTag) : m_tag(rootTag) {}

UserDatabaseCollection::~UserDatabaseCollection() {
    if (m_store != nullptr && m_store.use_count() == 1) {
        TypeList codes;
        m_store->getTypes(codes);
        for (unsigned int code : codes) {
            if (m_owned.count(code) == 0) {
                m_store->releasePackage(code);
            }
        }
    }
}

Shipping* UserDatabaseCollection::getShipping(std::size_t index, bool) {
    return index < m_shippings.size() ? proxyOf(m_shippings[index].get()) : nullptr;
}

Shipping* UserDatabaseCollection::addShipping(String const& tag, String const&) {
    for (auto const& shipping : m_shippings) {
        char const* own = shipping != nullptr ? shipping->getTag() : nullptr;
        if (own != nullptr && tag == own) {
            return proxyOf(shipping.get());
        }
    }
    return nullptr;
}

void UserDatabaseCollection::addPackage(XMLShipping* shipping, Package* package, bool owned) {
    std::unique_ptr<XMLShipping> binding(shipping);
    std::unique_ptr<Package> held(owned ? package : nullptr);
    if (binding == nullptr) {
        return;
    }
    m_shippings.push_back(std::move(binding));
    if (package == nullptr) {
        return;
    }
    if (m_store == nullptr) {
        m_store = std::make_shared<PackageStore>();
    }
    unsigned int code = package->getID();
    Package* before = m_store->releasePackage(code);
    if (m_owned.erase(code) != 0 && before != package) {
        delete before;
    }
    // The store deletes the package itself should it fail to keep it.
    held.release();
    m_store->setPackage(package, false);
    if (owned) {
        m_owned.insert(code);
    }
}

bool UserDatabaseCollection::applyToProject() {
    if (m_store == nullptr) {
        return true;
    }
    Project* project = host.getProject();
    if (project == nullptr) {
        return false;
    }
    TypeList codes;
    m_store->getTypes(codes);
    for (unsigned int code : codes) {
        // Out of the store first: should the project fail to keep an owned package, it deletes it.
        Package* package = m_store->releasePackage(code);
        if (m_owned.erase(code) != 0) {
            project->setPreference(package, false);
        } else if (project->getPreference(code) != package) {
            project->setPreference(*package, false);
        }
    }
    return true;
}

char const* UserDatabaseCollection::getTag() const {
    return m_tag != nullptr ? m_tag : tag;
}

Package* UserDatabaseCollection::getPackage(unsigned int id) const {
    return m_store != nullptr ? m_store->getPackage(id) : nullptr;
}

Package* UserDatabaseCollection::releasePackage(unsigned int id) {
    if (m_store == nullptr) {
        return nullptr;
    }
    m_owned.erase(id);
    return m_store->releasePackage(id);
}

} // namespace zelvane
