#include "grid_memory.h"

#ifdef __linux__
#include <sys/mman.h>

#include <cstdint>
#endif

double grid_bytes(int M, int N, int count) {
    return count * double(sizeof(double)) * (M + 1.0) * (N + 1.0);
}

bool grids_fit(int M, int N, int count) {
    return M >= 0 && N >= 0 && grid_bytes(M, N, count) <= double(kMaxGridBytes);
}

void size_grid(NEWMAT::Matrix& grid, int rows, int cols) {
    if (grid.Nrows() == rows && grid.Ncols() == cols) return;
    grid.ReSize(rows, cols);
#ifdef __linux__
    // A grid of some hundred megabytes takes tens of thousands of page faults on its first
    // write with small pages; with huge pages a few hundred. Only the whole huge pages inside
    // the storage are advised.
    constexpr std::uintptr_t kHuge = std::uintptr_t(1) << 21;
    const auto begin = reinterpret_cast<std::uintptr_t>(grid.Store());
    const std::uintptr_t end = begin + std::uintptr_t(grid.Storage()) * sizeof(double);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
    if (first < end && end - first >= kHuge)
        madvise(reinterpret_cast<void*>(first), (end - first) & ~(kHuge - 1), MADV_HUGEPAGE);
#endif
}
