#include "additive_feedback_rand.h"

void AdditiveFeedbackRand::reseed(uint32_t seed) {
    // A zero seed would fill the state with zeros; the C library takes 1 instead.
    if (seed == 0) seed = 1;
    // The first word is the seed read as a signed 32-bit number; the next ones follow the
    // minimal standard generator word = 16807 * word mod (2^31 - 1), computed by Schrage's
    // method so that no product leaves 32 bits (negative seeds take the same path).
    int32_t word = static_cast<int32_t>(seed);
    state_[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < kDegree; ++i) {
        const int32_t hi = word / 127773;
        const int32_t lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0) word += 2147483647;
        state_[i] = static_cast<uint32_t>(word);
    }
    front_ = kSeparation;
    rear_ = 0;
    // The first ten rounds of the state are thrown away, as the C library does.
    for (int i = 0; i < 10 * kDegree; ++i)
        next();
}
