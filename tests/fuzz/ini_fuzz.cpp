// Feeds arbitrary bytes to the INI parser and editor and checks that an edit always reads back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings/ini_access.h"
#include "core/settings/ini_text.h"
#include "core/settings/number_form.h"
#include "core/settings/text_encoding.h"

namespace {

constexpr std::string_view kSections[] = {"Settings", "Network Settings", "Commands", "S", ""};
constexpr std::string_view kKeys[] = {"Type", "Delay", "Option 0", "myName", "k"};

// Values as the store hands them to the editor: no CR, LF or NUL.
std::string SingleLine(std::string_view bytes) {
    std::string s(bytes);
    for (char& c : s) {
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string_view section = kSections[data[0] % std::size(kSections)];
    const std::string_view key = kKeys[data[1] % std::size(kKeys)];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t split =
        rest.empty() ? 0
                     : std::min<std::size_t>(static_cast<unsigned char>(rest[0]) % 16, rest.size());
    const std::string value = SingleLine(rest.substr(0, split));
    const std::string_view file = rest.substr(split);

    qfd::FindIniValue(file, section, key);
    qfd::ParseWholeNumber(file.substr(0, 40));
    qfd::FileBytesToUtf8(file);
    qfd::Utf8ToFileBytes(file);
    qfd::CutAtCharacterBoundary(std::string(file), 254);

    const std::optional<std::string> edited = qfd::SetIniValue(file, section, key, value);
    const std::string& after = edited ? *edited : std::string(file);
    const std::optional<qfd::IniValue> found = qfd::FindIniValue(after, section, key);
    if (!found || found->text != qfd::ReadBackForm(value)) std::abort();
    return 0;
}
