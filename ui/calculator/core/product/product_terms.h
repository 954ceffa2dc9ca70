// A product file as the calculator's form, and as engine terms on the trading calendar exactly as
// the window prices it; the window's form as a product file.
#pragma once

#include <QString>

#include "product_file.h"
#include "product_form.h"
#include "snowball_pde.h"

// The form the window shows for a file: numbers in their shortest text, lists joined by "_", the
// maturity days counted on the process-wide calendar, N the file's or those days minus one.
ProductForm productFormOf(const ProductFile& file);

// The form as a file. `base` supplies what the form does not hold (the version, the unknown keys
// and the pricing scheme of the file it was opened from). False with a message naming the field
// when a text is plainly no number (readFormNumber: a blank, a word, "nan"), or when the file would
// not open again (a list that does not fit the dates, a date that is none).
bool productFileOf(const ProductForm& form, const ProductFile& base, ProductFile& file,
                   QString& error);

// The engine filled as the window's "定价" fills it from this file's form: the same checks, the
// same reading, then set_product. False with "title: message" of the failed check.
bool productEngineOf(const ProductFile& file, Snowball_PDE& engine, QString& error);

// Writes the file whole or not at all: an existing file is replaced only once the new text is
// completely written. False with the reason otherwise.
bool writeProductPath(const QString& path, const ProductFile& file, QString& error);
