#include "XML/Shipping.h"

#include <new>

namespace zelvane {

namespace {

// The recycling hides reuse from address checking, so sanitised builds allocate every binding.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool recycling = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool recycling = false;
#else
constexpr bool recycling = true;
#endif
#else
constexpr bool recycling = true;
#endif

// Blocks in sizes of 16 bytes up to 256, at most 1024 of each size kept.
constexpr std::size_t granule = 16;
constexpr std::size_t sizeClasses = 16;
constexpr std::size_t keptPerClass = 1024;

struct FreeList {
    void* head = nullptr;
    std::size_t count = 0;
};

// The lists of one thread, given back to the system when the thread ends.
struct FreeLists {
    FreeList lists[sizeClasses];

    ~FreeLists() {
        for (FreeList& list : lists) {
            while (list.head != nullptr) {
                void* block = list.head;
                list.head = *static_cast<void**>(block);
                ::operator delete(block);
            }
        }
    }
};

thread_local FreeLists freeLists;

std::size_t sizeClassOf(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / granule;
}

} // namespace

void* Shipping::operator new(std::size_t size) {
    std::size_t sizeClass = sizeClassOf(size);
    if (!recycling || sizeClass >= sizeClasses) {
        return ::operator new(size);
    }
    FreeList& list = freeLists.lists[sizeClass];
    if (list.head != nullptr) {
        void* block = list.head;
        list.head = *static_cast<void**>(block);
        --list.count;
        return block;
    }
    return ::operator new((sizeClass + 1) * granule);
}

void Shipping::operator delete(void* block, std::size_t size) noexcept {
    if (block == nullptr) {
        return;
    }
    std::size_t sizeClass = sizeClassOf(size);
    if (recycling && sizeClass < sizeClasses) {
        FreeList& list = freeLists.lists[sizeClass];
        if (list.count < keptPerClass) {
            *static_cast<void**>(block) = list.head;
            list.head = block;
            ++list.count;
            return;
        }
    }
    ::operator delete(block);
}

} // namespace zelvane
