// A per-object copy of the C library's rand(): the additive feedback generator of degree 31.
#pragma once

#include <cstdint>

// The C library keeps one generator state for the whole process and serialises every call
// behind a lock, so worker threads drawing from it would interleave their sequences and queue
// on the lock. Each worker owns one of these instead; seeded with s, it returns exactly the
// numbers that srand(s) followed by rand() returns on this platform.
class AdditiveFeedbackRand {
  public:
    static constexpr int32_t kRandMax = 2147483647;

    explicit AdditiveFeedbackRand(uint32_t seed = 1) { reseed(seed); }

    void reseed(uint32_t seed);

    // The next number in [0, kRandMax].
    int32_t next() {
        state_[front_] += state_[rear_];
        const int32_t result = static_cast<int32_t>(state_[front_] >> 1);
        front_ = front_ + 1 == kDegree ? 0 : front_ + 1;
        rear_ = rear_ + 1 == kDegree ? 0 : rear_ + 1;
        return result;
    }

  private:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;

    uint32_t state_[kDegree];
    int front_ = kSeparation;
    int rear_ = 0;
};
