#include "core/settings/ini_transaction.h"

#include <optional>

#include "core/settings/ini_access.h"
#include "core/settings/ini_text.h"

namespace qfd {

std::string IniTransaction::Read(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    return ReadIniFrom(bytes_, section, key, defaultValue);
}

void IniTransaction::Write(std::string_view section, std::string_view key, std::string& value) {
    BlankLineBreaks(value);
    const std::string cleanSection = AsSingleLine(section);
    const std::string cleanKey = AsSingleLine(key);
    const std::string cleanValue = AsSingleLine(value);
    const StoreError error = CheckEntry(cleanSection, cleanKey, cleanValue);
    if (error != StoreError::None) {
        error_ = error;
        return;
    }
    if (std::optional<std::string> edited =
            SetIniValue(bytes_, cleanSection, cleanKey, cleanValue)) {
        bytes_ = std::move(*edited);
    }
}

WriteOutcome ModifyIni(const std::string& file, const std::function<void(IniTransaction&)>& body,
                       LockWait wait) {
    StoreError refused = StoreError::None;
    WriteOutcome outcome = ModifyProfileFile(
        file,
        [&](std::string_view bytes) {
            IniTransaction transaction(bytes);
            body(transaction);
            refused = transaction.Error();
            if (refused != StoreError::None) return std::optional<std::string>();
            return std::optional<std::string>(transaction.Bytes());
        },
        wait);
    if (outcome.Ok() && refused != StoreError::None) outcome.error = refused;
    return outcome;
}

}  // namespace qfd
