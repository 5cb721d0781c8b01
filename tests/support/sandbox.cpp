#include "tests/support/sandbox.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace qfd::test {

Sandbox::Sandbox() {
#ifdef _WIN32
    // No mkdtemp here: try random names until one is new.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && dir_.empty(); ++attempt) {
        std::filesystem::path candidate = std::filesystem::temp_directory_path() /
                                          ("qfd-test-" + std::to_string(random() % 100000000u));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) dir_ = candidate;
    }
    if (dir_.empty()) throw std::runtime_error("no temporary directory");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "qfd-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
#endif
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    // Tests may leave read-only files behind; give the owner write access back before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(dir_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(dir_, ignored);
}

void Sandbox::WriteBytes(std::string_view name, std::string_view bytes) const {
    WriteFileBytes(dir_ / name, bytes);
}

std::string Sandbox::ReadBytes(std::string_view name) const { return ReadFileBytes(dir_ / name); }

bool Sandbox::Exists(std::string_view name) const {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(dir_ / name, ignored));
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qfd::test
