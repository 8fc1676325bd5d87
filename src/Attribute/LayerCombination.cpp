#include "Attribute/LayerCombination.h"

#include "Environment/Memory.h"

namespace zelvane {

API_AttributeDefExt* LayerCombination::getMemo() const {
    API_AttributeDefExt* record = writeMemo(*this);
    if (record != nullptr) {
        char** entries = reinterpret_cast<char**>(record->layer_statItems);
        data().lNumb = entries == nullptr ? 0 : getHandleSize(entries) / int(sizeof(API_LayerStat));
    }
    return record;
}

} // namespace zelvane
