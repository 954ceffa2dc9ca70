#include "matrix_dump.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kChunk = std::size_t(1) << 20;
constexpr std::size_t kMaxValueText = 330;  // "-" and 309 digits, the point, 4 decimals, ", "

// Digits of n (below 10^16), most significant first, without leading zeros but one.
char* write_integer(std::uint64_t n, char* out) {
    char digits[20];
    int k = 0;
    do {
        digits[k++] = char('0' + n % 10);
        n /= 10;
    } while (n != 0);
    while (k > 0)
        *out++ = digits[--k];
    return out;
}

// |v| · 10^4 rounded to the nearest integer, ties to even, as "%.4f" rounds the exact binary
// value; false when the product is too close to a tie for its rounding error to be ruled out.
bool scaled_round(double a, std::uint64_t& n) {
    const double p = a * 1e4;  // within p·2^-53 of the exact product
    const double f = std::floor(p);
    const double d = p - f;  // exact
    const double margin = p * 0x1p-52;
    if (std::fabs(d - 0.5) <= margin) return false;
    n = static_cast<std::uint64_t>(f) + (d > 0.5 ? 1 : 0);
    return true;
}

}  // namespace

char* format_grid_value(double v, char* out) {
    if (std::isnan(v)) {
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    const double a = std::fabs(v);
    std::uint64_t n = 0;
    // Below 10^11 the scaled value stays below 2^53, where the fast path is exact.
    if (a < 1e11 && scaled_round(a, n)) {
        if (std::signbit(v)) *out++ = '-';
        out = write_integer(n / 10000, out);
        *out++ = '.';
        const unsigned frac = unsigned(n % 10000);
        out[0] = char('0' + frac / 1000);
        out[1] = char('0' + frac / 100 % 10);
        out[2] = char('0' + frac / 10 % 10);
        out[3] = char('0' + frac % 10);
        return out + 4;
    }
    return std::to_chars(out, out + kMaxValueText, v, std::chars_format::fixed, 4).ptr;
}

FileWriteStatus append_grids(const std::string& path, std::initializer_list<NamedGrid> blocks) {
    WholeAppend file(path);
    if (!file.is_open()) {
        std::printf("Can't open file to write:%s\n", path.c_str());
        return FileWriteStatus::OpenFailed;
    }
    std::vector<char> buffer(kChunk + kMaxValueText + 64);
    char* const start = buffer.data();
    char* at = start;
    auto flush_when_full = [&] {
        if (std::size_t(at - start) < kChunk) return;
        file.write(start, std::size_t(at - start));
        at = start;
    };
    for (const NamedGrid& block : blocks) {
        file.write(start, std::size_t(at - start));
        at = start;
        const std::string header = std::string("MATRIX:") + block.name + "\n";
        file.write(header.data(), header.size());
        const int rows = block.grid->Nrows();
        const int cols = block.grid->Ncols();
        const double* cell = block.grid->Store();  // row-major
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < cols; ++j, ++cell) {
                at = format_grid_value(*cell, at);
                *at++ = ',';
                *at++ = ' ';
                flush_when_full();
            }
            *at++ = '\n';
        }
    }
    file.write(start, std::size_t(at - start));
    return file.commit();
}

bool dump_matrix(const NEWMAT::Matrix& grid, const std::string& path, const char* name) {
    return append_grids(path, {{&grid, name}}) == FileWriteStatus::Ok;
}
