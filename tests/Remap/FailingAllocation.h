// Makes one allocation of this test program fail, to reach the paths that only an exhausted heap
// takes. The program's operator new counts while armed.
#pragma once

namespace remap_test {

// The allocation after `skip` more ones throws std::bad_alloc, once.
void failAllocationAfter(int skip);
// Whether the armed failure has happened; disarms it either way.
bool disarmAllocationFailure();

} // namespace remap_test
