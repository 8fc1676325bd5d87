#include "Element/Element.h"

#include "ACAPI/ElementRequests.hpp"
#include "Attribute/Layer.h"
#include "Database/AttributeLink.h"
#include "Database/Drawing.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Database/User.h"
#include "Environment/Host.h"
#include "Environment/MemoryBlock.h"
#include "GSRoot/UniString.hpp"

#include <algorithm>
#include <memory>

namespace zelvane {

bool Element::m_isMinData = true;

Element::Element(const ElementLink& link) : m_link(link), m_userDataHost(platform.getHost()) {}

Element::Element(const Element& other)
    : m_link(other.m_link), m_userDataFlags(other.m_userDataFlags),
      m_userDataVersion(other.m_userDataVersion), m_userDataHost(other.m_userDataHost),
      m_isLoaded(other.m_isLoaded), m_isTouched(other.m_isTouched) {
    std::unique_ptr<TransformList> transforms(
        other.m_transforms != nullptr ? new TransformList(*other.m_transforms) : nullptr);
    m_userData = other.m_userData != nullptr ? other.m_userData->clone() : nullptr;
    m_transforms = transforms.release();
}

Element& Element::operator=(const Element& other) {
    if (this == &other) {
        return *this;
    }
    std::unique_ptr<TransformList> transforms(
        other.m_transforms != nullptr ? new TransformList(*other.m_transforms) : nullptr);
    std::unique_ptr<MemoryBlock> block(other.m_userData != nullptr ? other.m_userData->clone() : nullptr);
    delete m_transforms;
    m_transforms = transforms.release();
    delete m_userData;
    m_userData = block.release();
    m_userDataFlags = other.m_userDataFlags;
    m_userDataVersion = other.m_userDataVersion;
    m_userDataHost = other.m_userDataHost;
    m_isLoaded = other.m_isLoaded;
    m_isTouched = other.m_isTouched;
    m_link = other.m_link;
    return *this;
}

Element::~Element() {
    delete m_transforms;
    delete m_userData;
}

bool Element::exists() const {
    return bool(m_link.getUniqueID()) && m_link.isValid();
}

void Element::setLink(const ElementLink& link, unsigned int) {
    element_id kind = m_link.getType();
    m_link = link;
    m_link.setType(kind);
    m_link.completeHeader(getHead(), true);
}

void Element::clearLink() {
    m_link.clearIdentity();
    if (m_userData != nullptr) {
        m_isTouched = true;
    }
}

String Element::getListingID(bool master) const {
    if (m_elementID.empty()) {
        GS::Guid guid(m_link.getUniqueID());
        GS::UniString compound, element;
        if (ACAPI_Database(APIDb_GetCompoundInfoStringID, &guid, &compound) == NoError &&
            ACAPI_Database(APIDb_GetElementInfoStringID, &guid, &element) == NoError) {
            m_elementID = String(element);
            // The compound string is the master prefix followed by the element's own ID.
            GS::USize cut = std::min(element.GetLength(), compound.GetLength());
            m_masterID = String(compound.GetSubstring(0, compound.GetLength() - cut));
        }
    }
    if (!master) {
        return m_elementID;
    }
    String whole = m_masterID;
    whole += m_elementID;
    return whole;
}

String Element::getMasterID() const {
    getListingID(true);
    return m_masterID;
}

Drawing* Element::getSource() const {
    return m_link.getSource();
}

MemoryBlock* Element::getUserData() const {
    loadUserData(false);
    return m_userData != nullptr ? m_userData->clone() : nullptr;
}

void Element::loadUserData(bool force) const {
    if ((m_isLoaded && !force) || !m_link.isValid()) {
        return;
    }
    m_isLoaded = true;
    Drawing* source = getSource();
    if (source == nullptr) {
        return;
    }
    std::unique_ptr<MemoryBlock> block(source->getUserData(m_link, nullptr, nullptr, nullptr));
    if (block != nullptr) {
        delete m_userData;
        m_userData = block.release();
        m_isTouched = false;
    }
}

void Element::setUserData(MemoryBlock* block) {
    if (block != m_userData) {
        delete m_userData;
        m_userData = block;
    }
    m_isLoaded = true;
    m_isTouched = true;
}

void Element::pushTransform(Transformation* transform) {
    std::unique_ptr<Transformation> held(transform);
    if (m_transforms == nullptr) {
        m_transforms = new TransformList;
    }
    m_transforms->push_back(held.release());
}

Transformation* Element::popTransform() {
    if (m_transforms == nullptr || m_transforms->empty()) {
        return nullptr;
    }
    Transformation* last = m_transforms->back();
    m_transforms->back() = nullptr; // handed to the caller, not deleted with the slot
    m_transforms->pop_back();
    if (m_transforms->empty()) {
        clearTransform();
    }
    return last;
}

void Element::clearTransform() {
    delete m_transforms;
    m_transforms = nullptr;
}

void Element::getMemo(unsigned long long, MemoStore*&) const {
    if (!m_isMinData) {
        loadUserData(false);
    }
}

void Element::setLocked(bool locked) {
    Project* project = host.getProject();
    if (project != nullptr && project->isShared()) {
        return;
    }
    getHead().locked = locked;
}

bool Element::isEditable() const {
    if (!getHead().hotlinkGuid.IsNull()) {
        return false;
    }
    Project* project = host.getProject();
    if (project != nullptr && project->isShared()) {
        const User* user = host.getUser();
        if (user == nullptr || getOwnerID() != user->getID()) {
            return false;
        }
    } else if (isLocked()) {
        return false;
    }
    Specification* specification = host.getFrontSpec();
    if (specification == nullptr) {
        return true;
    }
    std::unique_ptr<Attribute> attribute(
        specification->load(AttributeLink(int(getLayerIndex()), Layer::ID, specification)));
    const auto* layer = dynamic_cast<const Layer*>(attribute.get());
    return layer == nullptr || (!layer->isLocked() && !layer->isHidden());
}

bool Element::isGrouped() const {
    return !getHead().groupGuid.IsNull() || !getHead().hotlinkGuid.IsNull();
}

void Element::setStoreyIndex(short index) {
    m_link.setStoreyIndex(index);
    m_link.completeHeader(getHead(), true);
}

} // namespace zelvane
