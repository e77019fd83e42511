// Writes a CSV file of survey records for the import benchmark: a header
// and one record per respondent (id, region, age group, channel, answer)
// until the file holds the size asked for. Deterministic: the same size
// gives the same file.
//
//   make_records FILE MEGABYTES
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kRegions[] = {"North",        "North-East", "\"Provence, Alpes\"", "Île-de-France", "Bretagne",
                                    "Grand Est",    "Occitanie",  "Normandie",          "Hauts-de-France",
                                    "Corse",        "Centre",     "Pays de la Loire"};
constexpr const char* kAges[] = {"18-24", "25-34", "35-44", "45-54", "55-64", "65-74", "75+"};
constexpr const char* kChannels[] = {"Online shop", "Market",     "Supermarket", "Corner shop", "Mail order",
                                     "Farm",        "Cooperative", "Discounter",  "Other"};
constexpr const char* kAnswers[] = {"yes", "no", "\"don't know\""};

template <std::size_t N>
const char* pick(const char* const (&values)[N], std::uint64_t& state) {
    // xorshift64*: a fixed, portable sequence.
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return values[((state * 2685821657736338717ULL) >> 33) % N];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_records FILE MEGABYTES\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const std::uint64_t target = std::strtoull(argv[2], nullptr, 10) << 20;
    std::uint64_t written = 0, state = 88172645463325252ULL;
    std::string block = "id,region,age,channel,answer\n";
    for (std::uint64_t id = 1; written + block.size() < target; ++id) {
        block += std::to_string(id);
        for (const char* field : {pick(kRegions, state), pick(kAges, state), pick(kChannels, state),
                                  pick(kAnswers, state)}) {
            block += ',';
            block += field;
        }
        block += '\n';
        if (block.size() >= (1u << 20)) {
            written += std::fwrite(block.data(), 1, block.size(), out);
            block.clear();
        }
    }
    written += std::fwrite(block.data(), 1, block.size(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}
