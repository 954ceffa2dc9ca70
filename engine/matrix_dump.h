// Writing a grid to a text file, one block per call, appended.
#pragma once

#include <string>

#include <newmat/newmat.h>

// Appends "MATRIX:<name>" and one line per row (price node 0 first), each value as "%.4f, "
// or "nan, ". The file is created when missing. Returns false, after printing
// "Can't open file to write:<path>" on standard output, when it cannot be opened.
bool dump_matrix(const NEWMAT::Matrix& grid, const std::string& path, const char* name);
