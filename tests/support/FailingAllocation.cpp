#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {

// -1: disarmed.
int countdown = -1;
bool failed = false;

} // namespace

namespace testing_support {

void failAllocationAfter(int skip) {
    failed = false;
    countdown = skip;
}

bool disarmAllocationFailure() {
    countdown = -1;
    return failed;
}

} // namespace testing_support

void* operator new(std::size_t size) {
    if (countdown >= 0 && countdown-- == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

// Every other form takes its blocks from the same place, so that any pairing of new and delete
// matches.
void* operator new(std::size_t size, std::nothrow_t const&) noexcept {
    try {
        return operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, std::nothrow_t const&) noexcept {
    return operator new(size, std::nothrow);
}

void operator delete(void* block, std::nothrow_t const&) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::nothrow_t const&) noexcept {
    std::free(block);
}
