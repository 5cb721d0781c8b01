#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/settings/profile_store.h"

namespace qfd {

// Reads and writes of one settings file made as one locked read-modify-write and one replacement:
// no other writer's change falls in between, and readers see all of the writes or none.
class IniTransaction {
  public:
    explicit IniTransaction(std::string_view fileBytes) : bytes_(fileBytes) {}

    // ReadIni's rules; sees this transaction's own writes.
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view defaultValue) const;

    // WriteIni's rules: CR and LF in the caller's variable become blanks. A value over the store's
    // limits cancels the whole transaction.
    void Write(std::string_view section, std::string_view key, std::string& value);

    const std::string& Bytes() const { return bytes_; }
    StoreError Error() const { return error_; }

  private:
    std::string bytes_;
    StoreError error_ = StoreError::None;
};

// Runs body on the file's current contents and stores what it wrote. Body is not run when the file
// cannot be written at all, nor when the lock is busy and the caller would not wait (the outcome
// says why).
WriteOutcome ModifyIni(const std::string& file, const std::function<void(IniTransaction&)>& body,
                       LockWait wait = LockWait::Patient);

}  // namespace qfd
