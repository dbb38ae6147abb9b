#pragma once
// Large buffers are written once into fresh memory. Faulting that in 4 KB at a
// time can cost more than decoding a photo (several times more in a virtual
// machine that hands freed memory back to its host); transparent huge pages cut
// the faults 512-fold. A hint only: nothing changes where it is not supported.

#include <cstddef>

namespace kov {

void preferHugePages(void* data, std::size_t size);

}  // namespace kov
