// A fresh temporary folder for one test, removed with everything in it.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

class TestFolder {
public:
    TestFolder()
    {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("brinevar-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() { std::filesystem::remove_all(path_); }
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }

    void write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

    std::string read(const std::string &name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::size_t entries() const
    {
        return std::size_t(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

// The names in `folder`, sorted.
inline std::vector<std::string> EntryNames(const std::filesystem::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
