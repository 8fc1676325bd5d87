#include "GSRoot/BM.hpp"

#include "sim/Memory.h"
#include "sim/Sim.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace {

// A handle points at a master pointer that holds the block, so the block may move while the
// handle stays the same.
struct MasterPointer {
    char* block = nullptr;
};

struct MemoryManager {
    std::unordered_map<const void*, GSSize> pointers;
    std::unordered_map<const void*, GSSize> handles; // key: the handle (address of the master)
    sim::MemoryStats stats;
    int failCount = 0;
    int failSkip = 0;
    GSErrCode failError = ErrMemoryFull;
    Int16 lastError = 0;

    bool failNow() {
        if (failCount > 0) {
            if (failSkip > 0) {
                --failSkip;
                return false;
            }
            --failCount;
            lastError = Int16(failError);
            return true;
        }
        return false;
    }
};

MemoryManager& mm() {
    static MemoryManager* instance = new MemoryManager; // outlives every static destructor
    return *instance;
}

char* rawAllocate(GSSize size, GSFlags flags) {
    std::size_t bytes = size > 0 ? std::size_t(size) : 1;
    char* p = static_cast<char*>((flags & ALLOCATE_CLEAR) != 0 ? std::calloc(1, bytes) : std::malloc(bytes));
    return p;
}

} // namespace

GSPtr BMAllocatePtr(GSSize size, GSFlags flags, GSSize /*actSize*/) {
    MemoryManager& m = mm();
    if (size < 0) {
        m.lastError = Int16(ErrParam);
        return nullptr;
    }
    if (m.failNow()) {
        return nullptr;
    }
    char* p = rawAllocate(size, flags);
    if (p == nullptr) {
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    m.pointers[p] = size;
    m.stats.livePointers++;
    m.stats.liveBytes += std::size_t(size);
    m.stats.allocations++;
    m.lastError = 0;
    return p;
}

GSPtr BMReallocPtr(GSPtr ptr, GSSize newSize, GSFlags flags, GSSize actSize) {
    MemoryManager& m = mm();
    if (ptr == nullptr) {
        return BMAllocatePtr(newSize, flags, actSize);
    }
    auto it = m.pointers.find(ptr);
    if (it == m.pointers.end() || newSize < 0) {
        m.lastError = Int16(it == m.pointers.end() ? ErrNilHandle : ErrParam);
        return nullptr;
    }
    if (m.failNow()) {
        return nullptr;
    }
    GSSize oldSize = it->second;
    char* p = static_cast<char*>(std::realloc(ptr, newSize > 0 ? std::size_t(newSize) : 1));
    if (p == nullptr) {
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    if ((flags & ALLOCATE_CLEAR) != 0 && newSize > oldSize) {
        std::memset(p + oldSize, 0, std::size_t(newSize - oldSize));
    }
    m.pointers.erase(it);
    m.pointers[p] = newSize;
    m.stats.liveBytes = m.stats.liveBytes - std::size_t(oldSize) + std::size_t(newSize);
    m.stats.allocations++;
    m.lastError = 0;
    return p;
}

GSSize BMGetPtrSize(GSConstPtr ptr) {
    MemoryManager& m = mm();
    if (ptr == nullptr) {
        return 0;
    }
    auto it = m.pointers.find(ptr);
    if (it == m.pointers.end()) {
        m.lastError = Int16(ErrNilHandle);
        return 0;
    }
    m.lastError = 0;
    return it->second;
}

void BMKillPtr(GSPtr* ptr) {
    MemoryManager& m = mm();
    if (ptr == nullptr || *ptr == nullptr) {
        return;
    }
    auto it = m.pointers.find(*ptr);
    if (it == m.pointers.end()) {
        // Not ours, or freed already: count it and leave the memory alone.
        m.stats.invalidFrees++;
        m.lastError = Int16(ErrNilHandle);
        *ptr = nullptr;
        return;
    }
    m.stats.liveBytes -= std::size_t(it->second);
    m.stats.livePointers--;
    m.pointers.erase(it);
    std::free(*ptr);
    *ptr = nullptr;
    m.lastError = 0;
}

GSHandle BMAllocateHandle(GSSize size, GSFlags flags, GSSize /*actSize*/) {
    MemoryManager& m = mm();
    if (size < 0) {
        m.lastError = Int16(ErrParam);
        return nullptr;
    }
    if (m.failNow()) {
        return nullptr;
    }
    auto* master = static_cast<MasterPointer*>(std::malloc(sizeof(MasterPointer)));
    char* block = master != nullptr ? rawAllocate(size, flags) : nullptr;
    if (block == nullptr) {
        std::free(master);
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    master->block = block;
    GSHandle h = &master->block;
    m.handles[h] = size;
    m.stats.liveHandles++;
    m.stats.liveBytes += std::size_t(size);
    m.stats.allocations++;
    m.lastError = 0;
    return h;
}

GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, GSSize actSize) {
    MemoryManager& m = mm();
    if (handle == nullptr) {
        return BMAllocateHandle(newSize, flags, actSize);
    }
    auto it = m.handles.find(handle);
    if (it == m.handles.end() || newSize < 0) {
        m.lastError = Int16(it == m.handles.end() ? ErrNilHandle : ErrParam);
        return nullptr;
    }
    if (m.failNow()) {
        return nullptr;
    }
    GSSize oldSize = it->second;
    char* block = static_cast<char*>(std::realloc(*handle, newSize > 0 ? std::size_t(newSize) : 1));
    if (block == nullptr) {
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    if ((flags & ALLOCATE_CLEAR) != 0 && newSize > oldSize) {
        std::memset(block + oldSize, 0, std::size_t(newSize - oldSize));
    }
    *handle = block;
    it->second = newSize;
    m.stats.liveBytes = m.stats.liveBytes - std::size_t(oldSize) + std::size_t(newSize);
    m.stats.allocations++;
    m.lastError = 0;
    return handle;
}

GSSize BMGetHandleSize(GSConstHandle handle) {
    MemoryManager& m = mm();
    if (handle == nullptr) {
        return 0;
    }
    auto it = m.handles.find(handle);
    if (it == m.handles.end()) {
        m.lastError = Int16(ErrNilHandle);
        return 0;
    }
    m.lastError = 0;
    return *handle == nullptr ? 0 : it->second;
}

void BMKillHandle(GSHandle* handle) {
    MemoryManager& m = mm();
    if (handle == nullptr || *handle == nullptr) {
        return;
    }
    auto it = m.handles.find(*handle);
    if (it == m.handles.end()) {
        m.stats.invalidFrees++;
        m.lastError = Int16(ErrNilHandle);
        *handle = nullptr;
        return;
    }
    m.stats.liveBytes -= std::size_t(it->second);
    m.stats.liveHandles--;
    m.handles.erase(it);
    auto* master = reinterpret_cast<MasterPointer*>(*handle);
    std::free(master->block);
    std::free(master);
    *handle = nullptr;
    m.lastError = 0;
}

Int16 BMError() {
    return mm().lastError;
}

void BNCopyMemory(void* to, const void* from, GSSize size) {
    if (to != nullptr && from != nullptr && size > 0) {
        std::memmove(to, from, std::size_t(size));
    }
}

void BNClearMemory(void* to, GSSize size) {
    if (to != nullptr && size > 0) {
        std::memset(to, 0, std::size_t(size));
    }
}

namespace sim {

MemoryStats memoryStats() {
    return mm().stats;
}

void failNextAllocations(int n, GSErrCode err, int skip) {
    mm().failCount = n;
    mm().failSkip = skip;
    mm().failError = err;
}

bool isLivePointer(const void* p) {
    return mm().pointers.count(p) != 0;
}

bool isLiveHandle(const void* h) {
    return mm().handles.count(h) != 0;
}

void clearInvalidFrees() {
    mm().stats.invalidFrees = 0;
}

namespace {
// Pending allocation failures and the last error do not outlive a reset; live blocks do.
const bool registered = registerReset([] {
    mm().failCount = 0;
    mm().failSkip = 0;
    mm().lastError = 0;
});
} // namespace

} // namespace sim
