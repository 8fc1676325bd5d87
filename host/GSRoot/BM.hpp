// The host's memory manager: pointer blocks and relocatable handles that remember their size.
#pragma once

#include "GSRoot/GSRoot.hpp"

// Allocation flag: fill the new block with zero bytes.
constexpr GSFlags ALLOCATE_CLEAR = 2;

GSPtr BMAllocatePtr(GSSize size, GSFlags flags, GSSize actSize);
// Resizes in place or moves the block; null (and the old block untouched) on failure.
GSPtr BMReallocPtr(GSPtr ptr, GSSize newSize, GSFlags flags, GSSize actSize);
GSSize BMGetPtrSize(GSConstPtr ptr);
// Frees a block and sets the caller's pointer to null.
void BMKillPtr(GSPtr* ptr);

GSHandle BMAllocateHandle(GSSize size, GSFlags flags, GSSize actSize);
// Resizes the handle's block; null (and the handle untouched) on failure.
GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, GSSize actSize);
GSSize BMGetHandleSize(GSConstHandle handle);
void BMKillHandle(GSHandle* handle);

// The last memory error, 0 after a successful call.
Int16 BMError();

void BNCopyMemory(void* to, const void* from, GSSize size);
void BNClearMemory(void* to, GSSize size);
