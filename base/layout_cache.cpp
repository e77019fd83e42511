// The system's own layouts, parsed on first use and kept for the run.
//
// They are string literals written over and over (one per listing line), so
// each thread first looks in a small table of its own, by the text's address
// and length, and checks the text itself before taking the entry: a hit
// needs no hash of the text and no lock. A miss goes to the shared cache.
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

#include "base/layout.h"

namespace marvist {
namespace {

// Hash that accepts std::string_view, so that a lookup needs no std::string.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

// One layout of the shared cache: its text (the key, which stays where it
// is for the run) and the parsed layout.
struct CachedLayout {
    const std::string* text = nullptr;
    const Layout* layout = nullptr;
};

CachedLayout shared_lookup(std::string_view text) {
    static std::mutex mutex;
    static std::unordered_map<std::string, Layout, TextHash, std::equal_to<>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(text);
    if (it == cache.end()) it = cache.emplace(std::string(text), Layout::parse(text)).first;
    return {&it->first, &it->second};
}

// A thread's recent lookups, one per slot chosen by address and length.
struct RecentLookup {
    const char* address = nullptr;
    CachedLayout cached;
};
constexpr std::size_t kRecentSlots = 64;
thread_local std::array<RecentLookup, kRecentSlots> recent;

std::size_t slot_of(std::string_view text) {
    const auto address = reinterpret_cast<std::uintptr_t>(text.data());
    return ((address >> 3) ^ (address >> 11) ^ text.size()) % kRecentSlots;
}

bool holds(const RecentLookup& entry, std::string_view text) {
    return entry.address == text.data() && entry.cached.text->size() == text.size() &&
           std::memcmp(entry.cached.text->data(), text.data(), text.size()) == 0;
}

}  // namespace

const Layout& cached_layout(std::string_view text) {
    RecentLookup& entry = recent[slot_of(text)];
    if (entry.address != nullptr && holds(entry, text)) return *entry.cached.layout;
    const CachedLayout cached = shared_lookup(text);
    entry = {text.data(), cached};
    return *cached.layout;
}

}  // namespace marvist
