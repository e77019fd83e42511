#include "stats/random_stream.h"

namespace marvist {
namespace {

constexpr std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

std::uint64_t splitmix64(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15u;
    std::uint64_t x = state;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return x ^ (x >> 31);
}

RandomStream::RandomStream(std::uint64_t seed) {
    for (std::uint64_t& word : s_) word = splitmix64(seed);
}

std::uint64_t RandomStream::next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

double uniform_real(RandomStream& stream) {
    constexpr double kUlp = 0x1.0p-53;
    return static_cast<double>((stream.next() >> 11) + 1) * kUlp;
}

}  // namespace marvist
