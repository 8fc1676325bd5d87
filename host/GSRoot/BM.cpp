#include "GSRoot/BM.hpp"

#include "sim/Memory.h"
#include "sim/Sim.h"

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

// AddressSanitizer's interface when it is on (its header then defines the poisoning macros).
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#endif
#endif
#ifndef ASAN_POISON_MEMORY_REGION
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

namespace {

// A pointer block's size is kept in a header before it with a cookie tying it to the block's
// address, so asking for it needs no lookup; the registry below tells live blocks from others when
// a block is freed or resized, and answers for whatever carries no cookie.
std::uintptr_t cookieOf(const void* p) {
    return reinterpret_cast<std::uintptr_t>(p) ^ std::uintptr_t(0x5A17C0DE2B4D9E61ULL);
}

// A handle points at a master pointer that holds the block, so the block may move while the
// handle stays the same. A handle's block is made in one piece with its master pointer, right
// after it (one allocation a handle); a resize moves it into a block of its own.
struct MasterPointer {
    char* block = nullptr;
    GSSize size = 0;
};
static_assert(sizeof(MasterPointer) % alignof(std::max_align_t) == 0,
              "the block after a master pointer stays aligned as malloc aligns");

// The header before the bytes of a block; its size keeps those bytes aligned as malloc aligns.
// Handle blocks have one too, with no cookie, so that taking one for a pointer block reads
// nothing outside the block.
struct Header {
    GSSize size;
    std::uintptr_t cookie;
};
constexpr std::size_t headerSize = sizeof(Header);

Header* headerOf(const void* p) {
    return reinterpret_cast<Header*>(const_cast<char*>(static_cast<const char*>(p)) - headerSize);
}

// The caller's bytes of a raw block, its header written.
char* stamp(char* raw, GSSize size, bool pointer = true) {
    char* p = raw + headerSize;
    auto* header = reinterpret_cast<Header*>(raw);
    header->size = size;
    header->cookie = pointer ? cookieOf(p) : 0;
    return p;
}

GSSize pointerSize(const void* p) {
    return headerOf(p)->size;
}

// Where a handle's block lies when made with its master pointer (the start of its header).
char* firstBlockOf(MasterPointer* master) {
    return reinterpret_cast<char*>(master) + sizeof(MasterPointer);
}

GSSize handleSize(const void* h) {
    return static_cast<MasterPointer const*>(h)->size;
}

// Addresses of live blocks, a bit for each 8-byte slot of a 4 KB page: blocks made one after
// another share their page's entry, so keeping count of many blocks stays within the cache. The
// pages are kept in one open-addressed table (linear probing, at most half full), so finding one
// takes a probe or two in one array rather than a walk through a bucket's nodes; the page found
// last is tried first.
class LiveSet {
public:
    bool contains(const void* p) const {
        auto a = reinterpret_cast<std::uintptr_t>(p);
        if (a % slotSize != 0) {
            return false;
        }
        const Page* page = find(a / pageSize);
        return page != nullptr && page->slots.test(slotOf(a));
    }
    // Makes room for one more page, so that the next insert needs no memory; false when even that
    // room cannot be had. A block that moves is registered at its new place this way, for once it
    // has moved there is no going back.
    bool makeRoom() {
        try {
            reserve(m_count + 1);
        } catch (std::bad_alloc const&) {
            return false;
        }
        return true;
    }
    void insert(const void* p) {
        auto a = reinterpret_cast<std::uintptr_t>(p);
        Page* page = find(a / pageSize);
        if (page == nullptr) {
            reserve(m_count + 1);
            page = &m_pages[probe(a / pageSize)];
            page->number = a / pageSize;
            page->slots.reset();
            ++m_count;
        }
        page->slots.set(slotOf(a));
        m_last = page - m_pages.data();
    }
    void erase(const void* p) { take(p); }
    // Erases the address; false when it was not in the set (it is then left as it was).
    bool take(const void* p) {
        auto a = reinterpret_cast<std::uintptr_t>(p);
        if (a % slotSize != 0) {
            return false;
        }
        Page* page = find(a / pageSize);
        if (page == nullptr || !page->slots.test(slotOf(a))) {
            return false;
        }
        page->slots.reset(slotOf(a));
        if (page->slots.none()) {
            remove(std::size_t(page - m_pages.data()));
        }
        return true;
    }

private:
    static constexpr std::uintptr_t pageSize = 4096;
    static constexpr std::uintptr_t slotSize = 8;
    // No address lies on this page: it marks a free place of the table.
    static constexpr std::uintptr_t noPage = UINTPTR_MAX;
    struct Page {
        std::uintptr_t number = noPage;
        std::bitset<pageSize / slotSize> slots;
    };
    static std::size_t slotOf(std::uintptr_t a) { return std::size_t((a % pageSize) / slotSize); }
    // Pages of a run of eight (32 KB of addresses) are placed side by side, the runs spread over the
    // table: blocks made or freed together mostly lie on neighbouring pages, whose places are then
    // at hand together.
    std::size_t home(std::uintptr_t number) const {
        constexpr std::uintptr_t run = 8;
        return std::size_t((((number / run) * 0x9E3779B97F4A7C15ull) >> 32) + number % run) &
               (m_pages.size() - 1);
    }
    // Where the page is, or the free place where it would go.
    std::size_t probe(std::uintptr_t number) const {
        std::size_t at = home(number);
        while (m_pages[at].number != number && m_pages[at].number != noPage) {
            at = (at + 1) & (m_pages.size() - 1);
        }
        return at;
    }
    Page* find(std::uintptr_t number) {
        return const_cast<Page*>(static_cast<const LiveSet*>(this)->find(number));
    }
    const Page* find(std::uintptr_t number) const {
        if (m_pages.empty()) {
            return nullptr;
        }
        if (m_pages[m_last].number == number) {
            return &m_pages[m_last];
        }
        std::size_t at = probe(number);
        if (m_pages[at].number != number) {
            return nullptr;
        }
        m_last = at;
        return &m_pages[at];
    }
    // Room for `count` pages with the table at most half full.
    void reserve(std::size_t count) {
        if (count * 2 <= m_pages.size()) {
            return;
        }
        std::vector<Page> old(std::max<std::size_t>(64, m_pages.size() * 2));
        old.swap(m_pages); // may throw, leaving the table as it was
        for (const Page& page : old) {
            if (page.number != noPage) {
                m_pages[probe(page.number)] = page;
            }
        }
        m_last = 0;
    }
    // Frees a place, moving back the pages after it that could not have their own place.
    void remove(std::size_t at) {
        const std::size_t mask = m_pages.size() - 1;
        std::size_t next = (at + 1) & mask;
        while (m_pages[next].number != noPage) {
            std::size_t wanted = home(m_pages[next].number);
            // The page at `next` may fill the free place when its own place is not between them.
            if (((next - wanted) & mask) >= ((next - at) & mask)) {
                m_pages[at] = m_pages[next];
                at = next;
            }
            next = (next + 1) & mask;
        }
        m_pages[at].number = noPage;
        --m_count;
        m_last = 0;
    }

    std::vector<Page> m_pages; // a power of two long, or empty
    std::size_t m_count = 0;
    mutable std::size_t m_last = 0; // where the page found last is (a hint: checked before use)
};

// The live blocks of one kind (pointers or handles), where their sizes are kept, and the
// statistic that counts them. Every block is 8-byte aligned, as malloc aligns.
struct Blocks {
    LiveSet registry;
    std::size_t sim::MemoryStats::*live;
    GSSize (*sizeOf)(const void*);
};

struct MemoryManager {
    Blocks pointers{{}, &sim::MemoryStats::livePointers, pointerSize};
    Blocks handles{{}, &sim::MemoryStats::liveHandles, handleSize}; // key: the handle (address of the master)
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
    // failure is injected.
    bool mayResize(Blocks& blocks, const void* key, GSSize newSize) {
        bool live = blocks.registry.contains(key);
        if (!live || newSize < 0) {
            lastError = Int16(!live ? ErrNilHandle : ErrParam);
            return false;
        }
        return !failNow();
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

    // False (out of memory) when the block cannot be registered; its maker then frees it.
    bool added(Blocks& blocks, const void* key, GSSize size) {
        try {
            blocks.registry.insert(key);
        } catch (std::bad_alloc const&) {
            lastError = Int16(ErrMemoryFull);
            return false;
        }
        stats.*blocks.live += 1;
        stats.liveBytes += std::size_t(size);
        stats.allocations++;
        lastError = 0;
        return true;
    }

    void resized(GSSize oldSize, GSSize newSize) {
        stats.liveBytes = stats.liveBytes - std::size_t(oldSize) + std::size_t(newSize);
        stats.allocations++;
        lastError = 0;
    }

    // The size of a live block; 0 (and an error) when it is not one of these blocks.
    GSSize sizeOf(Blocks const& blocks, const void* key) {
        if (!blocks.registry.contains(key)) {
            lastError = Int16(ErrNilHandle);
            return 0;
        }
        lastError = 0;
        return blocks.sizeOf(key);
    }

    // Forgets a live block before it is freed; false for a block that is not one of these (never
    // given or freed already), which is counted and left alone.
    bool removed(Blocks& blocks, const void* key) {
        if (!blocks.registry.take(key)) {
            stats.invalidFrees++;
            lastError = Int16(ErrNilHandle);
            return false;
        }
        stats.liveBytes -= std::size_t(blocks.sizeOf(key)); // its size is still in it
        stats.*blocks.live -= 1;
        lastError = 0;
        return true;
    }
};

MemoryManager& mm() {
    static MemoryManager* instance = new MemoryManager; // outlives every static destructor
    return *instance;
}

// Blocks up to this size are cleared by hand: calloc passes by malloc's per-thread cache of small
// blocks, and most blocks asked for are small and cleared.
constexpr std::size_t clearedByHand = 1024;

// A raw block for `size` bytes of the caller's after the header (the header is left to be written).
char* rawAllocate(GSSize size, GSFlags flags) {
    std::size_t bytes = std::size_t(size > 0 ? size : 0) + headerSize;
    if ((flags & ALLOCATE_CLEAR) == 0) {
        return static_cast<char*>(std::malloc(bytes));
    }
    if (bytes > clearedByHand) {
        return static_cast<char*>(std::calloc(1, bytes));
    }
    // Only the caller's bytes: a compiler may make calloc again of a malloc cleared whole.
    auto* raw = static_cast<char*>(std::malloc(bytes));
    if (raw != nullptr) {
        std::memset(raw + headerSize, 0, bytes - headerSize);
    }
    return raw;
}

} // namespace

GSPtr BMAllocatePtr(GSSize size, GSFlags flags, GSSize /*actSize*/) {
    MemoryManager& m = mm();
    if (!m.mayAllocate(size)) {
        return nullptr;
    }
    char* raw = rawAllocate(size, flags);
    if (raw == nullptr) {
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    char* p = stamp(raw, size);
    if (!m.added(m.pointers, p, size)) {
        std::free(raw);
        return nullptr;
    }
    return p;
}

GSPtr BMReallocPtr(GSPtr ptr, GSSize newSize, GSFlags flags, GSSize actSize) {
    MemoryManager& m = mm();
    if (ptr == nullptr) {
        return BMAllocatePtr(newSize, flags, actSize);
    }
    if (!m.mayResize(m.pointers, ptr, newSize)) {
        return nullptr;
    }
    if (!m.pointers.registry.makeRoom()) {
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    GSSize oldSize = pointerSize(ptr);
    // The old place no longer holds a block once it moves.
    headerOf(ptr)->cookie = 0;
    char* raw = m.resize(ptr - headerSize, oldSize + GSSize(headerSize), newSize + GSSize(headerSize), flags);
    if (raw == nullptr) {
        headerOf(ptr)->cookie = cookieOf(ptr);
        return nullptr;
    }
    char* p = stamp(raw, newSize);
    m.pointers.registry.erase(ptr);
    m.pointers.registry.insert(p);
    m.resized(oldSize, newSize);
    return p;
}

GSSize BMGetPtrSize(GSConstPtr ptr) {
    MemoryManager& m = mm();
    if (ptr == nullptr) {
        return 0;
    }
    Header const* header = headerOf(ptr);
    if (header->cookie == cookieOf(ptr)) {
        m.lastError = 0;
        return header->size;
    }
    return m.sizeOf(m.pointers, ptr);
}

void BMKillPtr(GSPtr* ptr) {
    MemoryManager& m = mm();
    if (ptr == nullptr || *ptr == nullptr) {
        return;
    }
    if (m.removed(m.pointers, *ptr)) {
        Header* header = headerOf(*ptr);
        header->cookie = 0;
        std::free(header);
    }
    *ptr = nullptr;
}

GSHandle BMAllocateHandle(GSSize size, GSFlags flags, GSSize /*actSize*/) {
    MemoryManager& m = mm();
    if (!m.mayAllocate(size)) {
        return nullptr;
    }
    // The master pointer takes the place of as many of the caller's bytes before the header.
    char* piece = rawAllocate(size + GSSize(sizeof(MasterPointer)), flags);
    if (piece == nullptr) {
        m.lastError = Int16(ErrMemoryFull);
        return nullptr;
    }
    auto* master = new (piece) MasterPointer;
    master->block = stamp(firstBlockOf(master), size, false);
    master->size = size;
    GSHandle h = &master->block;
    if (!m.added(m.handles, h, size)) {
        std::free(piece);
        return nullptr;
    }
    return h;
}

GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, GSSize actSize) {
    MemoryManager& m = mm();
    if (handle == nullptr) {
        return BMAllocateHandle(newSize, flags, actSize);
    }
    if (!m.mayResize(m.handles, handle, newSize)) {
        return nullptr;
    }
    GSSize oldSize = handleSize(handle);
    char* block = *handle - headerSize;
    char* raw = nullptr;
    if (block == firstBlockOf(reinterpret_cast<MasterPointer*>(handle))) {
        // Made with the master pointer: moved into a block of its own, which may grow.
        const std::size_t oldBytes = std::size_t(oldSize) + headerSize;
        const std::size_t newBytes = std::size_t(newSize) + headerSize;
        raw = static_cast<char*>(std::malloc(newBytes));
        if (raw == nullptr) {
            m.lastError = Int16(ErrMemoryFull);
            return nullptr;
        }
        std::memcpy(raw, block, std::min(oldBytes, newBytes));
        if ((flags & ALLOCATE_CLEAR) != 0 && newBytes > oldBytes) {
            std::memset(raw + oldBytes, 0, newBytes - oldBytes);
        }
        // The block left stays in the piece until the handle goes: a pointer into it kept across
        // the resize is caught on use, as for a block that realloc moved and freed.
        ASAN_POISON_MEMORY_REGION(block, oldBytes);
    } else {
        raw = m.resize(block, oldSize + GSSize(headerSize), newSize + GSSize(headerSize), flags);
        if (raw == nullptr) {
            return nullptr;
        }
    }
    *handle = stamp(raw, newSize, false);
    reinterpret_cast<MasterPointer*>(handle)->size = newSize;
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
        char* block = master->block - headerSize;
        if (block != firstBlockOf(master)) {
            std::free(block);
        }
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
    return mm().pointers.registry.contains(p);
}

bool isLiveHandle(const void* h) {
    return mm().handles.registry.contains(h);
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
