// The book file of brimvale-cli book: a CSV with the header file,date,spot,knocked_in[,vol,rate],
// one live product per row, and the CSV fields the command writes back.
#pragma once

#include <string>
#include <vector>

#include "book_valuation.h"

// Reads the book at path. Paths of product files are taken relative to the book's folder. A row
// whose fields are bad keeps its place with the problem noted. False with a one-line message when
// the book itself cannot be read: no file, no header, a header without the four columns or with
// a column not listed above.
bool read_book(const std::string& path, std::vector<BookRow>& rows, std::string& error);

// Splits one CSV line: fields separated by commas, a field in double quotes may hold commas and
// doubled quotes.
std::vector<std::string> split_csv_line(const std::string& line);
// A field as written back: quoted when it holds a comma, a quote or a line break.
std::string csv_field(const std::string& text);
