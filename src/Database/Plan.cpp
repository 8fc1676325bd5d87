#include "Database/Plan.h"

#include "ACAPI/Storeys.hpp"
#include "Database/Project.h"
#include "Environment/Memory.h"
#include "Environment/ToString.h"

#include <cstdint>
#include <memory>

namespace zelvane {

Plan::~Plan() {
    delete m_storeys;
}

void Plan::reset() {
    Drawing::reset();
    delete m_storeys;
    m_storeys = nullptr;
    m_current.reset();
    m_floorIds.clear();
}

bool Plan::loadStoreys() const {
    if (m_storeys != nullptr) {
        return true;
    }
    // A failed read leaves no storeys for the rest of the entry.
    m_storeys = new StoreyList;
    m_current.reset();
    m_floorIds.clear();
    API_StoryInfo info;
    GSErrCode err = ACAPI_Environment(APIEnv_GetStorySettingsID, &info,
                                      reinterpret_cast<void*>(std::uintptr_t(APIStoryFlags_WithTop)));
    setLastError(err);
    if (err != NoError) {
        return false;
    }
    char** block = reinterpret_cast<char**>(info.data);
    // Frees the host's handle whatever happens while the storeys are made.
    std::unique_ptr<char**, void (*)(char***)> guard(&block, [](char*** h) {
        if (*h != nullptr) {
            disposeHandle(h);
        }
    });
    m_currentStorey = info.actStory;
    // The records are counted by the handle's size, not by the indexes beside it; the last one
    // is the top of the highest storey.
    std::size_t count = block != nullptr ? std::size_t(getHandleSize(block)) / sizeof(API_StoryType) : 0;
    const auto* records = block != nullptr ? reinterpret_cast<const API_StoryType*>(*block) : nullptr;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        m_storeys->push_back(new Storey(records[i], records[i + 1].level));
        m_floorIds[records[i].index] = records[i].floorId;
    }
    return true;
}

std::size_t Plan::getStoreyCount() const {
    loadStoreys();
    return m_storeys->size();
}

short Plan::getBaseStoreyIndex() const {
    loadStoreys();
    return !m_storeys->empty() ? short(m_storeys->front()->getIndex()) : 0;
}

short Plan::getTopStoreyIndex() const {
    loadStoreys();
    return !m_storeys->empty() ? short(m_storeys->back()->getIndex()) : 0;
}

Storey* Plan::getStorey(short index) const {
    loadStoreys();
    for (Storey* storey : *m_storeys) {
        if (short(storey->getIndex()) == index) {
            return storey;
        }
    }
    return nullptr;
}

Storey* Plan::getStorey(const String& name) const {
    loadStoreys();
    for (Storey* storey : *m_storeys) {
        if (storey->getName() == name) {
            return storey;
        }
    }
    return nullptr;
}

Storey* Plan::findStoreyByID(short floorId) const {
    loadStoreys();
    for (Storey* storey : *m_storeys) {
        auto found = m_floorIds.find(short(storey->getIndex()));
        if (found != m_floorIds.end() && found->second == floorId) {
            return storey;
        }
    }
    return nullptr;
}

Storey* Plan::getCurrentStorey() const {
    if (m_current.has_value()) {
        return *m_current;
    }
    // The host's current index comes with the storeys: read them first, so that the first look-up
    // after a reset finds the host's current storey, not the one held before. Kept until the
    // storeys are read again or the current index changes.
    loadStoreys();
    m_current = getStorey(short(m_currentStorey));
    return *m_current;
}

bool Plan::setStorey(const Storey& storey, bool rebuild) {
    if (!activate()) {
        return false;
    }
    API_StoryCmdType command;
    command.action = 0;
    command.index = short(storey.getIndex());
    command.dontRebuild = !rebuild;
    GSErrCode err = ACAPI_Environment(APIEnv_ChangeStorySettingsID, &command);
    setLastError(err);
    if (err == NoError) {
        m_currentStorey = command.index;
        m_current.reset();
    }
    return err == NoError;
}

DrawingLink Plan::getLink() const {
    Storey* current = getCurrentStorey();
    return DrawingLink(getType(), getID(), current != nullptr ? current->getIndex() : attribute_index());
}

String Plan::getName() const {
    Storey* current = getCurrentStorey();
    if (current == nullptr) {
        return String();
    }
    auto found = m_floorIds.find(short(current->getIndex()));
    String name = ToString(Int32(found != m_floorIds.end() ? found->second : 0));
    if (!current->getName().empty()) {
        name += "-";
        name += current->getName();
    }
    return name;
}

} // namespace zelvane
