// Small helpers shared by the fuzz targets: splitting one input into its
// parts, bounding the sizes an input may ask for, and a private folder.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace marvist::fuzz {

// The input as text, cut into at most n parts at lines holding only "%%".
inline std::vector<std::string> split_parts(const std::uint8_t* data, std::size_t size, std::size_t n) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    while (parts.size() + 1 < n) {
        const std::size_t at = text.find("\n%%\n");
        if (at == std::string_view::npos) break;
        parts.emplace_back(text.substr(0, at + 1));
        text.remove_prefix(at + 4);
    }
    parts.emplace_back(text);
    parts.resize(n);
    return parts;
}

// The first line of text (without its line end), removed from text.
inline std::string take_line(std::string& text) {
    const std::size_t end = text.find('\n');
    std::string line = text.substr(0, end);
    text.erase(0, end == std::string::npos ? text.size() : end + 1);
    return line;
}

// Product of the numbers written in a layout text (blanks inside a number are
// ignored, as the parser does): a bound on how much one pass can write.
inline double number_product(std::string_view layout) {
    double product = 1, v = 0;
    bool in_number = false;
    for (char c : layout) {
        if (c >= '0' && c <= '9') {
            v = v * 10 + (c - '0');
            in_number = true;
        } else if (c != ' ' && c != '\t' && in_number) {
            product *= v > 1 ? v : 1;
            v = 0;
            in_number = false;
        }
    }
    return in_number && v > 1 ? product * v : product;
}

// A folder of its own under the system's temporary folder, removed at exit.
class PrivateFolder {
public:
    PrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "marvist-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    // Removes everything the last execution left in the folder.
    void clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ec)) {
            std::filesystem::remove_all(entry.path(), ec);
        }
    }

private:
    std::filesystem::path path_;
};

inline void write_text(const std::string& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace marvist::fuzz
