#include "mt19937.h"

namespace {

constexpr int kShift = 397;
constexpr uint32_t kMatrixA = 0x9908b0dfu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7fffffffu;

inline uint32_t twist(uint32_t current, uint32_t following, uint32_t shifted) {
    const uint32_t y = (current & kUpper) | (following & kLower);
    return shifted ^ (y >> 1) ^ (-(y & 1u) & kMatrixA);
}

}  // namespace

Mt19937::Mt19937(uint32_t seed) {
    state_[0] = seed;
    for (int i = 1; i < kStateSize; ++i)
        state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + uint32_t(i);
}

void Mt19937::refill() {
    uint32_t* s = state_;
    // Three runs without a dependency inside a vector: the first reads words still to be
    // replaced, the second words replaced at least 227 places earlier.
    for (int i = 0; i < kStateSize - kShift; ++i)
        s[i] = twist(s[i], s[i + 1], s[i + kShift]);
    for (int i = kStateSize - kShift; i < kStateSize - 1; ++i)
        s[i] = twist(s[i], s[i + 1], s[i + kShift - kStateSize]);
    s[kStateSize - 1] = twist(s[kStateSize - 1], s[0], s[kShift - 1]);
    for (int i = 0; i < kStateSize; ++i) {
        uint32_t y = s[i];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        y ^= y >> 18;
        tempered_[i] = y;
    }
    next_ = 0;
}
