#include "import/short_labels.h"

#include <map>
#include <unordered_map>
#include <unordered_set>

#include "base/cp437.h"
#include "base/fixed_text.h"

namespace marvist {

std::string own_label(std::string_view name) {
    // Each character is one byte in the code page, so six characters are
    // the first six bytes of the conversion (converted in pieces, so that a
    // long name costs no more than its beginning).
    std::string label;
    std::size_t k = 0;
    while (label.size() < kShortLabelLength && k < name.size()) {
        std::size_t end = k + 1;
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
        label += utf8_to_cp437(name.substr(k, end - k));
        k = end;
    }
    for (char& c : label) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = ' ';
    }
    return fixed(label, kShortLabelLength);
}

std::optional<std::vector<std::string>> short_labels(const std::vector<std::string>& names) {
    std::vector<std::string> labels;
    labels.reserve(names.size());
    std::unordered_map<std::string, int> sharing;  // own label -> names that have it
    for (const std::string& name : names) {
        labels.push_back(own_label(name));
        ++sharing[labels.back()];
    }
    std::unordered_set<std::string> taken;
    for (const std::string& label : labels) {
        if (sharing[label] == 1) taken.insert(label);
    }
    std::map<std::string, long> next_number;  // own label -> next number to try
    constexpr long kLastNumber = 999999;
    for (std::string& label : labels) {
        if (sharing[label] == 1) continue;
        const std::string own = label;
        long& k = next_number.emplace(own, 1).first->second;
        const std::string_view stem = trimmed(own);
        for (;; ++k) {
            if (k > kLastNumber) return std::nullopt;
            const std::string digits = std::to_string(k);
            const std::string candidate =
                fixed(std::string(stem.substr(0, kShortLabelLength - digits.size())) + digits, kShortLabelLength);
            if (taken.insert(candidate).second) {
                label = candidate;
                ++k;
                break;
            }
        }
    }
    return labels;
}

}  // namespace marvist
