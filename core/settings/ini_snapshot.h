#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/settings/profile_store.h"

namespace qfd {

// One reading of a settings file that serves many values with ReadIni's rules: all of them come
// from the same state of the file, never from two different writes.
class IniSnapshot {
  public:
    // Reads the whole file once, under the readers' lock if it can be had within the wait. A
    // missing or unreadable file reads as empty, so every value takes its default.
    static IniSnapshot Load(const std::string& file, LockWait wait = LockWait::None);
    // Reads it without the readers' lock, so that no writer of the file ever waits for this
    // reading; MayBeTorn tells whether it caught a rewrite midway.
    static IniSnapshot Peek(const std::string& file);

    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    bool FileFound() const { return fileFound_; }

    // Whether this reading may have caught a rewrite in place midway: it was taken while another
    // process held the lock, and a redo file stood beside the file, its last line has no line
    // break, or one of the keys is missing. Such a reading is best taken again later.
    bool MayBeTorn(std::string_view section, std::initializer_list<std::string_view> keys) const;

  private:
    static IniSnapshot FromView(ProfileView view);

    std::string bytes_;
    bool fileFound_ = false;
    bool locked_ = false;
    bool journalPresent_ = false;
};

}  // namespace qfd
