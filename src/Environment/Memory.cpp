#include "Environment/Memory.h"

#include "Environment/String.h"
#include "GSRoot/BM.hpp"

#include <new>

namespace zelvane {

namespace {

constexpr GSFlags allocationFlags = ALLOCATE_CLEAR;

[[noreturn]] void throwBadAlloc() {
    throw std::bad_alloc();
}

void checkHost() {
    if (BMError() != 0) {
        throwBadAlloc();
    }
}

} // namespace

char* allocatePtr(int size) {
    char* block = BMAllocatePtr(size, allocationFlags, 0);
    if (block == nullptr || BMError() != 0) {
        throwBadAlloc();
    }
    return block;
}

void reallocPtr(char*& block, int size) {
    if (block == nullptr) {
        block = allocatePtr(size);
        return;
    }
    if (getPtrSize(block) == size) {
        return;
    }
    // The host keeps the bytes that fit and clears the added ones. It may grow the block where it
    // lies, so that a text grown again and again is not copied whole each time.
    char* resized = BMReallocPtr(block, size, allocationFlags, 0);
    if (resized == nullptr || BMError() != 0) {
        throwBadAlloc(); // the host leaves the block as it was
    }
    block = resized;
}

int getPtrSize(char const* block) {
    if (block == nullptr) {
        return 0;
    }
    GSSize size = BMGetPtrSize(block);
    checkHost();
    return int(size);
}

void* copyMemory(void* to, void const* from, int size) {
    if (to == nullptr || from == nullptr) {
        throwBadAlloc();
    }
    BNCopyMemory(to, from, size);
    return to;
}

void clearMemory(void* block, int size) {
    BNClearMemory(block, size);
}

void disposePtr(char** block) {
    if (block != nullptr && *block != nullptr) {
        BMKillPtr(block);
        *block = nullptr;
    }
}

char* clonePtr(char const* block) {
    if (block == nullptr) {
        return nullptr;
    }
    int size = getPtrSize(block);
    char* copy = allocatePtr(size);
    if (size > 0) {
        copyMemory(copy, block, size);
    }
    return copy;
}

int memError() {
    return int(BMError());
}

char** allocateHandle(int size, bool cleared) {
    char** handle = BMAllocateHandle(size, cleared ? allocationFlags : 0, 0);
    if (handle == nullptr || BMError() != 0) {
        throwBadAlloc();
    }
    return handle;
}

void reallocHandle(char**& handle, int size) {
    if (handle == nullptr) {
        handle = allocateHandle(size);
        return;
    }
    if (getHandleSize(handle) == size) {
        return;
    }
    char** resized = BMReallocHandle(handle, size, allocationFlags, 0);
    if (resized == nullptr || BMError() != 0) {
        throwBadAlloc(); // the host leaves the handle as it was
    }
    handle = resized;
}

int getHandleSize(char** handle) {
    if (handle == nullptr || *handle == nullptr) {
        return 0;
    }
    GSSize size = BMGetHandleSize(handle);
    checkHost();
    return int(size);
}

void disposeHandle(char*** handle) {
    if (handle != nullptr && *handle != nullptr) {
        BMKillHandle(handle);
        *handle = nullptr;
    }
}

char** cloneHandle(char** handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    char** copy = nullptr;
    handleToHandle(handle, &copy);
    return copy;
}

void ptrToHandle(void const* block, char*** handle, int size) {
    if (handle == nullptr) {
        throwBadAlloc();
    }
    if (block == nullptr) {
        *handle = allocateHandle(0);
        return;
    }
    int blockSize = getPtrSize(static_cast<char const*>(block));
    if (size == 0) {
        size = blockSize;
    }
    if (size < 0 || size > blockSize) {
        throwBadAlloc();
    }
    char** result = allocateHandle(size);
    if (size > 0) {
        copyMemory(*result, block, size);
    }
    *handle = result;
}

void handleToHandle(char** from, char*** to) {
    if (to == nullptr) {
        throwBadAlloc();
    }
    int size = getHandleSize(from);
    char** result = allocateHandle(size);
    if (size > 0) {
        copyMemory(*result, *from, size);
    }
    *to = result;
}

void handleAndHandle(char** from, char** to) {
    int extra = getHandleSize(from);
    if (extra <= 0 || to == nullptr) {
        return;
    }
    int oldSize = getHandleSize(to);
    reallocHandle(to, oldSize + extra);
    copyMemory(*to + oldSize, *from, extra);
}

void ptrAndHandle(void const* block, char** handle, int size) {
    if (size <= 0 || handle == nullptr) {
        return;
    }
    if (block == nullptr || size > getPtrSize(static_cast<char const*>(block))) {
        throwBadAlloc();
    }
    int oldSize = getHandleSize(handle);
    reallocHandle(handle, oldSize + size);
    copyMemory(*handle + oldSize, block, size);
}

void handleToString(char**& handle, String& text) {
    text.clear();
    int size = getHandleSize(handle);
    if (size > 0) {
        text.assign(*handle, unsigned(size));
    }
}

void stringToHandle(String const& text, char**& handle) {
    // The new handle is made before the old one goes, so a failed allocation loses nothing.
    int size = int(text.dataLength()) + 1;
    char** fresh = allocateHandle(size);
    copyMemory(*fresh, text.data(), size);
    disposeHandle(&handle);
    handle = fresh;
}

} // namespace zelvane
