// Standard normal deviates for the Monte Carlo pricer: MT19937 and the polar method.
#pragma once

#include <cstdint>

#include "mt19937.h"

class NormalDeviates {
  public:
    static constexpr uint32_t kDefaultSeed = Mt19937::kDefaultSeed;

    explicit NormalDeviates(uint32_t seed = kDefaultSeed) : generator_(seed) {}

    // Uniform in [0, 1) from two successive 32-bit outputs, the first the low word.
    double uniform() {
        const uint64_t low = generator_();
        const uint64_t high = generator_();
        // The top 53 bits keep the value below 1 after conversion to double.
        return static_cast<double>((low | (high << 32)) >> 11) * 0x1p-53;
    }

    // Marsaglia's polar method: each accepted pair gives two deviates, the second kept for the
    // next call.
    double next();
    // n deviates into out, the same as n calls of next(), but without the cache test per call.
    void fill(double* out, int n);

  private:
    // One accepted pair of the polar method.
    void pair(double& first, double& second);

    Mt19937 generator_;
    bool has_cached_ = false;
    double cached_ = 0;
};

// The process-wide deviates behind the Monte Carlo button: seeded once with the default seed
// and never reseeded, so successive runs of a process continue one stream.
NormalDeviates& process_normal_deviates();
