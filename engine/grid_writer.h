// A stored value grid of a finite-difference run, written column by column as the run goes back
// in time: (M+1) rows of price nodes by (N+1) time columns.
#pragma once

#include <cstddef>

#include <newmat/newmat.h>

#include "grid_memory.h"

class GridWriter {
  public:
    // target null: nothing is stored.
    GridWriter(NEWMAT::Matrix* target, int M, int N) : target_(target), rows_(M + 1), cols_(N + 1) {
        if (target_ != nullptr) size_grid(*target_, rows_, cols_);
    }
    void write_column(int n, const double* values) {
        if (target_ == nullptr) return;
        double* cell = target_->Store() + (n - 1);
        for (int j = 0; j < rows_; ++j, cell += cols_)
            *cell = values[j];
    }

  private:
    NEWMAT::Matrix* target_;
    int rows_;
    std::ptrdiff_t cols_;
};
