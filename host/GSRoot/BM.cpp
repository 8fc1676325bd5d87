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

// The live blocks of one kind (pointers or handles) with their sizes, and the statistic that
// counts them.
struct Blocks {
    std::unordered_map<const void*, GSSize> sizes;
    std::size_t sim::MemoryStats::*live;
};

struct MemoryManager {
    Blocks pointers{{}, &sim::MemoryStats::livePointers};
    Blocks handles{{}, &sim::MemoryStats::liveHandles}; // key: the handle (address of the master)
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

    // A new block may be made: its size is not negative and no failure is injected.
    bool mayAllocate(GSSize size) {
        if (size < 0) {
            lastError = Int16(ErrParam);
            return false;
        }
        return !failNow();
    }

    // A live block may be resized: it is one of these blocks, the new size is not negative and no
    // failure is injected. Answers its entry, or null.
    GSSize* mayResize(Blocks& blocks, const void* key, GSSize newSize) {
        auto it = blocks.sizes.find(key);
        if (it == blocks.sizes.end() || newSize < 0) {
            lastError = Int16(it == blocks.sizes.end() ? ErrNilHandle : ErrParam);
            return nullptr;
        }
        return failNow() ? nullptr : &it->second;
    }

    // The block moved or grown to newSize, the added bytes cleared on request; null when the
    // system has no memory, the old block then untouched.
    char* resize(char* block, GSSize oldSize, GSSize newSize, GSFlags flags) {
        char* p = static_cast<char*>(std::realloc(block, newSize > 0 ? std::size_t(newSize) : 1));
        if (p == nullptr) {
            lastError = Int16(ErrMemoryFull);
            return nullptr;
        }
        if ((flags & ALLOCATE_CLEAR) != 0 && newSize > oldSize) {
            std::memset(p + oldSize, 0, std::size_t(newSize - oldSize));
        }
        return p;
    }

    void added(Blocks& blocks, const void* key, GSSize size) {
        blocks.sizes[key] = size;
        stats.*blocks.live += 1;
        stats.liveBytes += std::size_t(size);
        stats.allocations++;
        lastError = 0;
    }

    void resized(GSSize oldSize, GSSize newSize) {
        stats.liveBytes = stats.liveBytes - std::size_t(oldSize) + std::size_t(newSize);
        stats.allocations++;
        lastError = 0;
    }

    // The size of a live block; 0 (and an error) when it is not one of these blocks.
    GSSize sizeOf(Blocks const& blocks, const void* key) {
        auto it = blocks.sizes.find(key);
        if (it == blocks.sizes.end()) {
            lastError = Int16(ErrNilHandle);
            return 0;
        }
        lastError = 0;
        return it->second;
    }

    // Forgets a live block before it is freed; false for a block that is not one of these (never
    // given or freed already), which is counted and left alone.
    bool removed(Blocks& blocks, const void* key) {
        auto it = blocks.sizes.find(key);
        if (it == blocks.sizes.end()) {
            stats.invalidFrees++;
            lastError = Int16(ErrNilHandle);
            return false;
        }
        stats.liveBytes -= std::size_t(it->second);
        stats.*blocks.live -= 1;
        blocks.sizes.erase(it);
        lastError = 0;
        return true;
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
    if (!m.mayAllocate(size)) {
        return nullptr;
    }
    char* p = rawAllocate(size, flags);
    if (p == nullptr) {
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    m.added(m.pointers, p, size);
    return p;
}

GSPtr BMReallocPtr(GSPtr ptr, GSSize newSize, GSFlags flags, GSSize actSize) {
    MemoryManager& m = mm();
    if (ptr == nullptr) {
        return BMAllocatePtr(newSize, flags, actSize);
    }
    GSSize* entry = m.mayResize(m.pointers, ptr, newSize);
    if (entry == nullptr) {
        return nullptr;
    }
    GSSize oldSize = *entry;
    char* p = m.resize(ptr, oldSize, newSize, flags);
    if (p == nullptr) {
        return nullptr;
    }
    m.pointers.sizes.erase(ptr);
    m.pointers.sizes[p] = newSize;
    m.resized(oldSize, newSize);
    return p;
}

GSSize BMGetPtrSize(GSConstPtr ptr) {
    MemoryManager& m = mm();
    return ptr == nullptr ? 0 : m.sizeOf(m.pointers, ptr);
}

void BMKillPtr(GSPtr* ptr) {
    MemoryManager& m = mm();
    if (ptr == nullptr || *ptr == nullptr) {
        return;
    }
    if (m.removed(m.pointers, *ptr)) {
        std::free(*ptr);
    }
    *ptr = nullptr;
}

GSHandle BMAllocateHandle(GSSize size, GSFlags flags, GSSize /*actSize*/) {
    MemoryManager& m = mm();
    if (!m.mayAllocate(size)) {
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
    m.added(m.handles, h, size);
    return h;
}

GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, GSSize actSize) {
    MemoryManager& m = mm();
    if (handle == nullptr) {
        return BMAllocateHandle(newSize, flags, actSize);
    }
    GSSize* entry = m.mayResize(m.handles, handle, newSize);
    if (entry == nullptr) {
        return nullptr;
    }
    GSSize oldSize = *entry;
    char* block = m.resize(*handle, oldSize, newSize, flags);
    if (block == nullptr) {
        return nullptr;
    }
    *handle = block;
    *entry = newSize;
    m.resized(oldSize, newSize);
    return handle;
}

GSSize BMGetHandleSize(GSConstHandle handle) {
    MemoryManager& m = mm();
    if (handle == nullptr) {
        return 0;
    }
    GSSize size = m.sizeOf(m.handles, handle);
    return size != 0 && *handle != nullptr ? size : 0;
}

void BMKillHandle(GSHandle* handle) {
    MemoryManager& m = mm();
    if (handle == nullptr || *handle == nullptr) {
        return;
    }
    if (m.removed(m.handles, *handle)) {
        auto* master = reinterpret_cast<MasterPointer*>(*handle);
        std::free(master->block);
        std::free(master);
    }
    *handle = nullptr;
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
    return mm().pointers.sizes.count(p) != 0;
}

bool isLiveHandle(const void* h) {
    return mm().handles.sizes.count(h) != 0;
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
