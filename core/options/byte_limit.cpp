#include "core/options/byte_limit.h"

#include <algorithm>

#include "core/settings/text_encoding.h"

namespace qfd {
namespace {

std::size_t StoredBytes(std::string_view utf8) { return Utf8ToFileBytes(utf8).size(); }

bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                                    a.begin());
}

std::size_t CommonSuffix(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(
        std::mismatch(a.rbegin(), a.rend(), b.rbegin(), b.rend()).first - a.rbegin());
}

void DropLastCharacter(std::string& text) {
    while (!text.empty() && IsContinuation(text.back())) text.pop_back();
    if (!text.empty()) text.pop_back();
}

}  // namespace

FittedEdit FitEdit(std::string_view before, std::string_view after, std::size_t limit,
                   std::size_t caret) {
    const std::size_t beforeBytes = StoredBytes(before);
    const std::size_t afterBytes = StoredBytes(after);
    if (limit == 0 || afterBytes <= limit || afterBytes <= beforeBytes) {
        return {std::string(after), caret};
    }
    std::size_t prefix = CommonPrefix(before, after);
    std::size_t suffix = CommonSuffix(before.substr(prefix), after.substr(prefix));
    // The unchanged head and tail end and start on whole characters.
    while (prefix > 0 && prefix < after.size() && IsContinuation(after[prefix])) --prefix;
    while (suffix > 0 && IsContinuation(after[after.size() - suffix])) --suffix;
    const std::string_view head = after.substr(0, prefix);
    const std::string_view tail = after.substr(after.size() - suffix);
    std::string inserted(after.substr(prefix, after.size() - prefix - suffix));
    const std::size_t room = std::max(limit, beforeBytes);
    while (!inserted.empty() &&
           StoredBytes(std::string(head) + inserted + std::string(tail)) > room)
        DropLastCharacter(inserted);
    return {std::string(head) + inserted + std::string(tail), head.size() + inserted.size()};
}

}  // namespace qfd
