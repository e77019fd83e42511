// Small helpers shared by the fuzz targets: the input as text and its parts,
// a bound on what a layout may write, and a private folder for files.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace marvist::fuzz {

inline std::string text_of(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The first line of text (without its line end), removed from text.
inline std::string take_line(std::string& text) {
    const std::size_t end = text.find('\n');
    std::string line = text.substr(0, end);
    text.erase(0, end == std::string::npos ? text.size() : end + 1);
    return line;
}

// text cut into n parts at lines holding only "%%" (missing parts are empty).
inline std::vector<std::string> split_parts(std::string_view text, std::size_t n) {
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
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // Writes text as the file name (no folder part) and returns its path.
    std::string write(std::string_view name, std::string_view text) const {
        const std::string path = (path_ / name).string();
        std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        return path;
    }

    // Works in the folder for one execution; on leaving, empties it and goes
    // back to where libFuzzer keeps its corpus.
    class Visit {
    public:
        explicit Visit(const PrivateFolder& folder) : folder_(folder), back_(std::filesystem::current_path()) {
            std::filesystem::current_path(folder.path_);
        }
        ~Visit() {
            std::error_code ec;
            for (const auto& entry : std::filesystem::directory_iterator(folder_.path_, ec)) {
                std::filesystem::remove_all(entry.path(), ec);
            }
            std::filesystem::current_path(back_);
        }

    private:
        const PrivateFolder& folder_;
        std::filesystem::path back_;
    };

private:
    std::filesystem::path path_;
};

}  // namespace marvist::fuzz
