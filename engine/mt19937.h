// The 32-bit Mersenne Twister MT19937, the same stream as std::mt19937, made one state block at
// a time so that the compiler can vectorise the twist and the tempering.
#pragma once

#include <cstdint>

class Mt19937 {
  public:
    static constexpr uint32_t kDefaultSeed = 5489;

    explicit Mt19937(uint32_t seed = kDefaultSeed);

    uint32_t operator()() {
        if (next_ == kStateSize) refill();
        return tempered_[next_++];
    }

  private:
    static constexpr int kStateSize = 624;
    void refill();

    uint32_t state_[kStateSize];
    uint32_t tempered_[kStateSize];
    int next_ = kStateSize;
};
