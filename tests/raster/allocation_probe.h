// Records the largest single operator-new request of the test program, so tests can show that
// a refused picture allocated nothing large.
#pragma once

#include <cstddef>

namespace qm::test {

void ResetLargestAllocation();
size_t LargestAllocation();

}  // namespace qm::test
