// Makes one allocation of this test program fail, to reach the paths that only an exhausted heap
// takes. A test program built with FailingAllocation.cpp has its operator new count while armed.
#pragma once

namespace testing_support {

// The allocation after `skip` more ones throws std::bad_alloc, once.
void failAllocationAfter(int skip);
// Whether the armed failure has happened; disarms it either way.
bool disarmAllocationFailure();

} // namespace testing_support
