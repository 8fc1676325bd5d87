// Memory wrappers over the host's pointer blocks and handles. Every host memory error becomes
// std::bad_alloc, so callers never test for null after an allocation.
#pragma once

namespace zelvane {

class String;

char* allocatePtr(int size);
// Null block: allocates. Another size: moves the contents to a block of the new size. On failure
// the old block stays in place and std::bad_alloc is thrown.
void reallocPtr(char*& block, int size);
int getPtrSize(char const* block);
void* copyMemory(void* to, void const* from, int size);
void clearMemory(void* block, int size);
void disposePtr(char** block);
char* clonePtr(char const* block);
int memError();

// Cleared unless `cleared` is unset: then the bytes are whatever the block held, for a caller that
// writes every one of them.
char** allocateHandle(int size, bool cleared = true);
void reallocHandle(char**& handle, int size);
int getHandleSize(char** handle);
void disposeHandle(char*** handle);
// Handles never move while referenced, so locking has nothing to do.
inline void lockHandle(char**) {}
inline void unlockHandle(char**) {}
char** cloneHandle(char** handle);
void ptrToHandle(void const* block, char*** handle, int size);
void handleToHandle(char** from, char*** to);
void handleAndHandle(char** from, char** to);
void ptrAndHandle(void const* block, char** handle, int size);

void handleToString(char**& handle, String& text);
void stringToHandle(String const& text, char**& handle);

} // namespace zelvane
