#include "Memo/GableList.h"

#include "Environment/Memory.h"

#include <new>

namespace zelvane {

API_Gable** GableList::pack() const {
    char** handle = nullptr;
    try {
        handle = allocateHandle(int(size() * sizeof(API_Gable)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    auto* records = reinterpret_cast<API_Gable*>(*handle);
    for (std::size_t i = 0; i < size(); ++i) {
        const Gable* gable = (*this)[i];
        records[i] = gable != nullptr ? gable->getRecord() : API_Gable();
    }
    return reinterpret_cast<API_Gable**>(handle);
}

void GableList::unpack(API_Gable** handle) {
    clear();
    if (handle == nullptr) {
        return;
    }
    int count = getHandleSize(reinterpret_cast<char**>(handle)) / int(sizeof(API_Gable));
    for (int i = 0; i < count; ++i) {
        push_back(new Gable((*handle)[i]));
    }
}

} // namespace zelvane
