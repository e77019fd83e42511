// The pseudo-random numbers of the permutation test, defined to the bit so
// that a seed gives the same draws on every platform and with every
// compiler.
//
// Generator: xoshiro256** (Blackman & Vigna, 2018) on four 64-bit words
// s0..s3, all arithmetic modulo 2^64, rotl(x, k) = (x << k) | (x >> (64 - k)):
//     result = rotl(s1 * 5, 7) * 9
//     t = s1 << 17
//     s2 ^= s0;  s3 ^= s1;  s1 ^= s2;  s0 ^= s3;  s2 ^= t;  s3 = rotl(s3, 45)
//     return result
// Seeding: the 64-bit seed is the state z of SplitMix64, and s0, s1, s2, s3
// are its first four outputs in that order, each output being
//     z += 0x9E3779B97F4A7C15
//     x = z;  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9
//     x = (x ^ (x >> 27)) * 0x94D049BB133111EB;  output x ^ (x >> 31)
// (SplitMix64 is a bijection of a counter, so the four words are never all 0.)
// Uniform reals: the top 53 bits b of one output give (b + 1) * 2^-53, a
// multiple of 2^-53 in (0, 1], exact in IEEE double.
#pragma once

#include <array>
#include <cstdint>

namespace marvist {

// The seed of the permutation test when none is given.
inline constexpr std::uint64_t kDefaultSeed = 20240611;

class RandomStream {
public:
    explicit RandomStream(std::uint64_t seed);
    // The next 64-bit output of xoshiro256**.
    std::uint64_t next();

private:
    std::array<std::uint64_t, 4> s_;
};

// One SplitMix64 step: advances state and returns its output.
std::uint64_t splitmix64(std::uint64_t& state);

// A uniform real in (0, 1] from one output of the stream.
double uniform_real(RandomStream& stream);

}  // namespace marvist
