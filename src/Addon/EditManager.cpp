#include "Addon/EditManager.h"

#include "Attribute/Layer.h"
#include "Database/AttributeLink.h"
#include "Database/Drawing.h"
#include "Database/ElementLinkList.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Database/User.h"
#include "Element/Element.h"
#include "Environment/Host.h"

#include <memory>
#include <utility>
#include <vector>

namespace zelvane {
namespace {

constexpr attribute_id layerType = Layer::ID;

// A list holding a copy of the one link.
ElementLinkList listOf(const ElementLink& link) {
    ElementLinkList list;
    list.push_back(link.clone());
    return list;
}

void append(ElementLinkList*& list, const ElementLink& link) {
    if (list == nullptr) {
        list = new ElementLinkList;
    }
    list->push_back(link.clone());
}

template <typename T>
T* copyOf(const T* list) {
    return list == nullptr ? nullptr : new T(*list);
}

// Stores the layer with one flag changed back; the set keeps the change only when stored.
void restoreLayer(Specification& specification, const AttributeLink& link, bool lock) {
    std::unique_ptr<Attribute> attribute(specification.load(link));
    auto* layer = dynamic_cast<Layer*>(attribute.get());
    if (layer == nullptr) {
        return;
    }
    if (lock) {
        layer->setLocked(true);
    } else {
        layer->setHidden(true);
    }
    specification.put(*layer);
}

} // namespace

EditManager::EditManager(bool teamWork, bool unlockElements)
    : m_drawing(host.getActiveDrawing()), m_unlockElements(unlockElements) {
    if (teamWork) {
        Project* project = host.getProject();
        m_teamWork = project != nullptr && project->isShared() && project->isServerOnline();
    }
}

EditManager::EditManager(const EditManager& other)
    : m_lockedLayers(copyOf(other.m_lockedLayers)), m_hiddenLayers(copyOf(other.m_hiddenLayers)),
      m_unlockedElements(copyOf(other.m_unlockedElements)), m_drawing(other.m_drawing),
      m_teamWork(other.m_teamWork), m_unlockElements(other.m_unlockElements),
      m_layersSteady(other.m_layersSteady), m_openLayers(other.m_openLayers) {}

EditManager& EditManager::operator=(const EditManager& other) {
    if (this != &other) {
        EditManager copy(other);
        clear();
        std::swap(m_lockedLayers, copy.m_lockedLayers);
        std::swap(m_hiddenLayers, copy.m_hiddenLayers);
        std::swap(m_unlockedElements, copy.m_unlockedElements);
        m_drawing = other.m_drawing;
        m_teamWork = other.m_teamWork;
        m_unlockElements = other.m_unlockElements;
        m_layersSteady = other.m_layersSteady;
        m_openLayers = other.m_openLayers;
    }
    return *this;
}

EditManager::~EditManager() {
    clear();
}

void EditManager::clear() {
    delete m_lockedLayers;
    delete m_hiddenLayers;
    delete m_unlockedElements;
    delete m_reservedElements;
    m_lockedLayers = nullptr;
    m_hiddenLayers = nullptr;
    m_unlockedElements = nullptr;
    m_reservedElements = nullptr;
}

bool EditManager::enableLayer(const Element& element, Specification& specification, bool remember) {
    AttributeLink link(int(element.getLayerIndex()), layerType, &specification);
    std::unique_ptr<Attribute> attribute(specification.load(link));
    auto* layer = dynamic_cast<Layer*>(attribute.get());
    if (layer == nullptr) {
        return true;
    }
    if (layer->isLocked()) {
        layer->setLocked(false);
        if (!specification.put(*layer)) {
            return false;
        }
        if (remember) {
            if (m_lockedLayers == nullptr) {
                m_lockedLayers = new LayerList;
            }
            m_lockedLayers->push_back(link.clone());
        }
    }
    if (layer->isHidden()) {
        layer->setHidden(false);
        if (!specification.put(*layer)) {
            return false;
        }
        if (remember) {
            if (m_hiddenLayers == nullptr) {
                m_hiddenLayers = new LayerList;
            }
            m_hiddenLayers->push_back(link.clone());
        }
    }
    return true;
}

bool EditManager::enableEdit(Element& element, bool rememberLayers, bool rememberUnlocked,
                             bool rememberReserved) {
    if (!host.isProjectOpen()) {
        return false;
    }
    if (bool(element.getHotlinkID())) {
        return false;
    }
    if (m_layersSteady && m_openLayers.count(layerKeyOf(element)) > 0) {
        if (element.isEditableOnOpenLayer()) {
            return true;
        }
    } else if (element.isEditable()) {
        if (m_layersSteady) {
            m_openLayers.insert(layerKeyOf(element));
        }
        return true;
    }
    Specification* specification = host.getFrontSpec();
    if (specification == nullptr) {
        return false;
    }
    if (!enableLayer(element, *specification, rememberLayers)) {
        return false;
    }
    if (m_layersSteady) {
        m_openLayers.insert(layerKeyOf(element));
    }
    if (m_teamWork) {
        const User* user = host.getUser();
        Int16 userID = user != nullptr ? user->getID() : 0;
        if (element.getOwnerID() != userID) {
            Project* project = host.getProject();
            if (project == nullptr || !project->reserveElements(listOf(element.getLink()))) {
                return false;
            }
            if (rememberReserved) {
                append(m_reservedElements, element.getLink());
            }
            element.setOwnerID(userID);
        }
    }
    Drawing* drawing = element.getSource();
    if (m_unlockElements && element.isLocked() && drawing != nullptr) {
        if (drawing->unlock(listOf(element.getLink()))) {
            element.setLocked(false);
            if (rememberUnlocked) {
                append(m_unlockedElements, element.getLink());
            }
        }
    }
    return true;
}

EditManager::LayerKey EditManager::layerKeyOf(const Element& element) const {
    return LayerKey(host.getFrontSpec(), element.getLayerIndex());
}

void EditManager::setLayersSteady(bool steady) {
    m_layersSteady = steady;
    m_openLayers.clear();
}

void EditManager::restoreLayers() {
    m_openLayers.clear();
    if (m_lockedLayers == nullptr && m_hiddenLayers == nullptr) {
        return;
    }
    std::unique_ptr<LayerList> locked(m_lockedLayers);
    std::unique_ptr<LayerList> hidden(m_hiddenLayers);
    m_lockedLayers = nullptr;
    m_hiddenLayers = nullptr;
    Specification* specification = host.getFrontSpec();
    if (specification == nullptr) {
        return;
    }
    for (const LayerList* list : {locked.get(), hidden.get()}) {
        if (list == nullptr) {
            continue;
        }
        for (const AttributeLink* link : *list) {
            restoreLayer(*specification, *link, list == locked.get());
        }
    }
}

void EditManager::restoreElements() {
    if (m_unlockedElements == nullptr) {
        return;
    }
    std::unique_ptr<ElementLinkList> unlocked(m_unlockedElements);
    m_unlockedElements = nullptr;
    // Each element is locked again through the drawing it was unlocked in, as the host locks only
    // in the current database.
    std::vector<std::pair<Drawing*, ElementLinkList>> byDrawing;
    for (const ElementLink* link : *unlocked) {
        Drawing* drawing = link->getSource();
        if (drawing == nullptr) {
            drawing = host.getFrontPlan();
        }
        if (drawing == nullptr) {
            continue;
        }
        auto found = byDrawing.begin();
        while (found != byDrawing.end() && found->first != drawing) {
            ++found;
        }
        if (found == byDrawing.end()) {
            byDrawing.emplace_back(drawing, ElementLinkList());
            found = byDrawing.end() - 1;
        }
        found->second.push_back(link->clone());
    }
    for (auto& entry : byDrawing) {
        entry.first->lock(entry.second);
    }
}

void EditManager::releaseElements() {
    if (m_reservedElements == nullptr) {
        return;
    }
    std::unique_ptr<ElementLinkList> reserved(m_reservedElements);
    m_reservedElements = nullptr;
    if (Project* project = host.getProject()) {
        project->releaseElements(*reserved);
    }
}

void EditManager::restoreDrawing() {
    if (m_drawing != nullptr) {
        host.setActiveWindow(*m_drawing);
        host.setActiveDrawing(*m_drawing);
    }
}

void EditManager::restoreAll(bool restoreDrawing) {
    restoreElements();
    restoreLayers();
    if (restoreDrawing) {
        this->restoreDrawing();
    }
    releaseElements();
}

} // namespace zelvane
