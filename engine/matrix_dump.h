// Writing grids to a text file, appended whole or not at all.
#pragma once

#include <initializer_list>
#include <string>

#include <newmat/newmat.h>

#include "file_append.h"

// Writes v as "%.4f" does ("nan" for any NaN, "inf" and "-inf" for infinities) at out, which
// has room for 330 characters; returns the end of the text.
char* format_grid_value(double v, char* out);

// A block: "MATRIX:<name>" and one line per row (price node 0 first), each value as "%.4f, " or
// "nan, ", each line ending right after the last ", ".
struct NamedGrid {
    const NEWMAT::Matrix* grid;
    const char* name;
};

// Appends the blocks to the file at path, which is created when missing: the file gains all of
// them or, when writing fails, keeps its previous content. Prints "Can't open file to
// write:<path>" on standard output when the file cannot be opened.
FileWriteStatus append_grids(const std::string& path, std::initializer_list<NamedGrid> blocks);

// One block; false when it was not written.
bool dump_matrix(const NEWMAT::Matrix& grid, const std::string& path, const char* name);
