#pragma once

#include <string>
#include <string_view>

namespace qfd {

// One reading of a settings file that serves many values with ReadIni's rules: all of them come
// from the same state of the file, never from two different writes.
class IniSnapshot {
  public:
    // Reads the whole file once, under the readers' lock. A missing or unreadable file reads as
    // empty, so every value takes its default.
    static IniSnapshot Load(const std::string& file);

    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    bool fileFound() const { return fileFound_; }

  private:
    std::string bytes_;
    bool fileFound_ = false;
};

}  // namespace qfd
