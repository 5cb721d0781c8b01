#include "core/shell/receipt_notice.h"

#include <ctime>
#include <vector>

namespace qfd {
namespace {

// "on pc2" for one detector; "on 3 detectors:" and their names, one a line, for several.
std::string Where(const std::vector<std::string>& detectors) {
    if (detectors.size() == 1) return "on " + detectors.front();
    std::string text = "on " + std::to_string(detectors.size()) + " detectors:";
    for (std::size_t i = 0; i < detectors.size() && i < kNoticeNamesShown; ++i) {
        text += "\n" + detectors[i];
    }
    if (detectors.size() > kNoticeNamesShown) {
        text += "\nand " + std::to_string(detectors.size() - kNoticeNamesShown) + " more";
    }
    return text;
}

void AddLine(std::string& text, const std::string& line) {
    if (!text.empty()) text += "\n";
    text += line;
}

}  // namespace

std::optional<TrayNotice> DescribeReceipts(const ReceiptNews& news, const std::string& clock) {
    if (news.Empty()) return std::nullopt;
    TrayNotice notice;
    if (!news.seen.empty()) {
        notice.title = "Alert seen";
        AddLine(notice.text, "Seen at " + clock + " " + Where(news.seen));
    }
    if (!news.replaced.empty()) {
        if (notice.title.empty()) notice.title = "Alert replaced";
        AddLine(notice.text,
                "Replaced by another alert before it was seen " + Where(news.replaced));
    }
    if (!news.notSeen.empty()) {
        if (notice.title.empty()) notice.title = "Alert not seen";
        AddLine(notice.text, "Not seen within " + std::to_string(kReceiptExpiry.count()) +
                                 " minutes " + Where(news.notSeen));
    }
    return notice;
}

std::string ClockText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[16];
    return std::string(text, std::strftime(text, sizeof text, "%H:%M:%S", &local));
}

}  // namespace qfd
