#include "Remap/ObjectSpecification.h"

#include "Database/ComponentLink.h"
#include "Element/Object.h"
#include "Element/Opening.h"
#include "Environment/Host.h"
#include "Library/ComponentSource.h"
#include "Library/FamilyGuid.h"
#include "Library/LengthParameter.h"
#include "Library/Library.h"
#include "Library/Parameter.h"
#include "Library/ParameterList.h"
#include "Remap/CustomParameters.h"
#include "Remap/PartTypeProxy.h"
#include "Remap/SpecificationList.h"
#include "XML/XMLTypeProxy.h"

#include <memory>

namespace zelvane::remap {

namespace {

constexpr char const* fieldTags[ObjectSpecification::fieldCount] = {
    "mappedType", "originalName", "mappedName", "mappedObjectGuid", "customParameters"};

} // namespace

ObjectSpecification::ObjectSpecification() {
    setDefault();
}

ObjectSpecification::ObjectSpecification(ObjectSpecification const& other) = default;
ObjectSpecification& ObjectSpecification::operator=(ObjectSpecification const& other) = default;
ObjectSpecification::~ObjectSpecification() = default;

ObjectSpecification::Holder& ObjectSpecification::Holder::operator=(Holder const&) {
    if (list != nullptr) {
        list->forgetIndex();
    }
    return *this;
}

void ObjectSpecification::keyChanged() {
    if (m_owner.list != nullptr) {
        m_owner.list->forgetIndex();
    }
}

void ObjectSpecification::setOriginalName(String const& name) {
    m_originalName = name;
    keyChanged();
}

void ObjectSpecification::setMappedType(API_LibTypeID type) {
    m_mappedType = type;
    keyChanged();
}

Shipping* ObjectSpecification::getShipping(std::size_t index, bool) {
    switch (index) {
    case 0: {
        auto* type = new PartTypeProxy(m_mappedType, fieldTags[0], true);
        type->setEssential(m_mappedType != APILib_ObjectID);
        return type;
    }
    case 1:
        return new XMLTypeProxy<String>(m_originalName, fieldTags[1]);
    case 2:
        return new XMLTypeProxy<String>(m_mappedName, fieldTags[2]);
    case 3:
        return new XMLTypeProxy<String>(m_mappedObjectGuid, fieldTags[3]);
    case 4: {
        if (m_customParameters == nullptr) {
            return nullptr;
        }
        auto* parameters = new CustomParameters(*m_customParameters, m_parametersKept);
        parameters->setEssential(m_customParameters->size() != 0 || !m_parametersKept.list.empty());
        return parameters;
    }
    default:
        return nullptr;
    }
}

Shipping* ObjectSpecification::getShipping(String const& tag, String const&) {
    for (std::size_t index = 0; index < fieldCount; ++index) {
        if (tag == fieldTags[index]) {
            // Read values go into a list of the rule's own.
            if (index == 4 && m_customParameters == nullptr) {
                m_customParameters = std::make_shared<ParameterList>();
            }
            // A key field about to be read.
            if (index < 2) {
                keyChanged();
            }
            return getShipping(index, false);
        }
    }
    return nullptr;
}

void ObjectSpecification::setDefault() {
    m_mappedName.clear();
    m_mappedType = APILib_ObjectID;
    m_customParameters.reset();
    m_mappedLink.reset();
    m_automatic = false;
    m_kept.clear();
    m_parametersKept = CustomParameters::Kept();
    keyChanged();
}

ComponentLink* ObjectSpecification::getMappedLink() {
    if (m_mappedLink == nullptr) {
        Library* library = host.getFrontLibrary();
        if (library != nullptr && !m_mappedObjectGuid.empty()) {
            API_LibTypeID found = 0;
            if (Int32 index = library->getIndexByID(FamilyGuid(m_mappedObjectGuid), found)) {
                m_mappedLink = std::make_shared<ComponentLink>(index, found, library);
            }
        }
        if (m_mappedLink == nullptr) {
            // A rule never given a name names no part: nothing to search for.
            m_mappedLink = m_mappedName.empty()
                               ? std::make_shared<ComponentLink>(0, m_mappedType, library)
                               : std::make_shared<ComponentLink>(m_mappedName, m_mappedType, library);
        }
    }
    return m_mappedLink->isValid() ? m_mappedLink.get() : nullptr;
}

bool ObjectSpecification::setMappedLink(ComponentLink const& link) {
    Library const* library = link.getLibrary() != nullptr ? link.getLibrary() : host.getFrontLibrary();
    if (library == nullptr) {
        return false;
    }
    ComponentLink asked(link);
    asked.setLibrary(library);
    std::unique_ptr<ComponentSource> part((*library)[asked]);
    if (part == nullptr || !part->exists()) {
        return false;
    }
    m_mappedName = part->getName();
    m_mappedObjectGuid = part->getUniqueID();
    m_mappedLink = std::make_shared<ComponentLink>(part->getLink());
    return true;
}

void ObjectSpecification::applyParametersTo(ComponentElem& element) const {
    if (m_customParameters == nullptr || m_customParameters->size() == 0) {
        return;
    }
    element.copyParametersFrom(*m_customParameters, false, true, false);
    auto length = [this](char const* name) {
        return dynamic_cast<LengthParameter const*>(m_customParameters->getParameter(String(name)));
    };
    LengthParameter const* width = length("A");
    LengthParameter const* height = length("ZZYZX");
    if (auto* object = dynamic_cast<Object*>(&element)) {
        if (width != nullptr) {
            object->setAxialWidth(width->getValue(0, 0));
        }
        if (LengthParameter const* depth = length("B")) {
            object->setAxialDepth(depth->getValue(0, 0));
        }
        if (height != nullptr) {
            object->setAxialHeight(height->getValue(0, 0));
        }
    } else if (auto* opening = dynamic_cast<Opening*>(&element)) {
        if (width != nullptr) {
            opening->setOpenWidth(width->getValue(0, 0));
        }
        if (height != nullptr) {
            opening->setOpenHeight(height->getValue(0, 0));
        }
    }
}

void ObjectSpecification::setParameters(ParameterList const& before, ParameterList const& after) {
    for (std::size_t position = before.size(); position-- > 0;) {
        Parameter const* own = before.getParameter(position);
        if (own == nullptr) {
            continue;
        }
        Parameter const* chosen = after.getParameter(own->getName());
        if (chosen == nullptr) {
            continue;
        }
        bool differs = *own != *chosen;
        if (m_customParameters != nullptr) {
            for (std::size_t index;
                 (index = m_customParameters->getParameterIndex(own->getName())) != ParameterList::npos;) {
                m_customParameters->deleteParameter(index);
            }
        } else if (differs) {
            m_customParameters = std::make_shared<ParameterList>();
        }
        if (differs) {
            m_customParameters->addParameter(chosen->clone());
        }
    }
}

} // namespace zelvane::remap
