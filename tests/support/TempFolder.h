#pragma once

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

namespace slabwise::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TTempFolder {
public:
    TTempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "slabwise-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // File names in the folder, sorted.
    std::vector<std::filesystem::path> Entries() const {
        std::vector<std::filesystem::path> entries;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            entries.push_back(entry.path().filename());
        std::sort(entries.begin(), entries.end());
        return entries;
    }

private:
    std::filesystem::path path_;
};

} // namespace slabwise::test
