#include "matrix_dump.h"

#include <cmath>
#include <cstdio>

bool dump_matrix(const NEWMAT::Matrix& grid, const std::string& path, const char* name) {
    std::FILE* file = std::fopen(path.c_str(), "a+");
    if (!file) {
        std::printf("Can't open file to write:%s\n", path.c_str());
        return false;
    }
    std::fprintf(file, "MATRIX:%s\n", name);
    const int rows = grid.Nrows();
    const int cols = grid.Ncols();
    const double* cell = grid.Store();  // row-major
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j, ++cell) {
            // "%.4f" would print "-nan" for some NaNs; the file always says "nan".
            if (std::isnan(*cell))
                std::fputs("nan, ", file);
            else
                std::fprintf(file, "%.4f, ", *cell);
        }
        std::fputc('\n', file);
    }
    // A full disk shows up only when the buffer is flushed.
    const bool written = !std::ferror(file);
    return std::fclose(file) == 0 && written;
}
