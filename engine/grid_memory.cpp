#include "grid_memory.h"

double grid_bytes(int M, int N, int count) {
    return count * double(sizeof(double)) * (M + 1.0) * (N + 1.0);
}

bool grids_fit(int M, int N, int count) {
    return M >= 0 && N >= 0 && grid_bytes(M, N, count) <= double(kMaxGridBytes);
}
