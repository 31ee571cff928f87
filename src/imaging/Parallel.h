#pragma once

#include <cstdint>
#include <functional>

namespace dg {

// Runs fn(begin, end) over the row range [0, rows) split into contiguous blocks, one per
// worker, and waits for all of them. A pass whose rows do not depend on each other gives
// the same bytes whatever the number of workers. Exceptions from a block are rethrown.
void forEachRowBlock(std::int32_t rows, const std::function<void(std::int32_t, std::int32_t)>& fn);

// The number of workers forEachRowBlock uses: the machine's cores unless set (tests set 1
// and 2 to check that the results agree). 0 restores the default.
void setWorkerCount(int workers);
int workerCount();

}  // namespace dg
