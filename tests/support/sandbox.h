#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qfd::test {

// A fresh temporary installation directory for one test, removed afterwards.
class Sandbox {
  public:
    Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;
    ~Sandbox();

    const std::filesystem::path& Dir() const { return dir_; }
    std::string Path(std::string_view name) const { return (dir_ / name).string(); }
    // The installation's settings file.
    std::string IniPath() const { return Path("qfd.ini"); }

    // Exact bytes, no conversion.
    void WriteBytes(std::string_view name, std::string_view bytes) const;
    std::string ReadBytes(std::string_view name) const;
    bool Exists(std::string_view name) const;

  private:
    std::filesystem::path dir_;
};

// Reads a whole file as bytes ("" if missing).
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace qfd::test
