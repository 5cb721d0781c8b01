#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <thread>

#include "core/network/alert_record.h"
#include "core/network/detector_list_editor.h"
#include "core/network/receipt.h"
#include "core/settings/ini_access.h"
#include "core/settings/ini_path.h"
#include "core/settings/ini_snapshot.h"
#include "core/settings/number_form.h"
#include "tools/qfdctl/commands.h"

namespace qfdctl {
namespace {

constexpr int kExitWaitTimedOut = 3;
constexpr auto kWaitPoll = std::chrono::milliseconds(50);
constexpr const char* kRecordKeys[] = {"Delay", "NetName", "QFtext", "Atext", "Type"};

struct SendOptions {
    std::optional<std::string> from, top, bottom, name, delay, wait;
    std::vector<std::string> detectors;
};

// Parses "--opt VALUE" pairs before and between the folders; false on anything unknown.
bool ParseSendOptions(const Args& args, SendOptions& options) {
    const std::pair<const char*, std::optional<std::string>*> named[] = {
        {"--from", &options.from}, {"--top", &options.top},     {"--bottom", &options.bottom},
        {"--name", &options.name}, {"--delay", &options.delay}, {"--wait", &options.wait}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!args[i].starts_with("--")) {
            options.detectors.push_back(InstallationFolder(args[i]));
            continue;
        }
        bool known = false;
        for (const auto& [flag, target] : named) {
            if (args[i] != flag || i + 1 == args.size()) continue;
            *target = args[++i];
            known = true;
        }
        if (!known) return false;
    }
    return !options.detectors.empty();
}

std::optional<int> Seconds(const std::string& text) {
    std::optional<std::int16_t> n = qfd::ParseInt16(text);
    if (!n || *n < 0 || text.find('.') != std::string::npos) return std::nullopt;
    return *n;
}

// The record as the tray menu of the --from installation would send it, with overrides.
std::optional<qfd::AlertRecord> BuildRecord(const SendOptions& options) {
    qfd::SettingsMirror mirror;
    mirror.myName.clear();
    if (options.from) {
        mirror.IniPath = qfd::MakeIniPath(InstallationFolder(*options.from));
        qfd::LoadSettingsMirror(mirror);
    }
    qfd::AlertRecord record = qfd::TakeAlertRecord(mirror);
    if (!options.from) record.Delay.assign(1, '0');  // no waiting time without a sender
    record.QFtext = options.top.value_or(record.QFtext);
    record.Atext = options.bottom.value_or(record.Atext);
    record.NetName = options.name.value_or(record.NetName);
    if (options.delay) {
        const std::optional<int> seconds = Seconds(*options.delay);
        if (!seconds) {
            std::cerr << "qfdctl: --delay takes a whole number of seconds from 0 to 32767\n";
            return std::nullopt;
        }
        record.Delay = *seconds > 0 ? qfd::NumberForm(*seconds) : "0";
    }
    for (const std::string* text : {&record.QFtext, &record.Atext, &record.NetName}) {
        if (text->size() > qfd::kReadIniMaxBytes) {
            std::cerr << "qfdctl: texts and names are limited to 254 bytes; the receiver would cut"
                         " \""
                      << text->substr(0, 20) << "...\"\n";
            return std::nullopt;
        }
    }
    return record;
}

struct WaitResult {
    std::vector<std::string> replaced;  // another record took ours' place before it was shown
    std::vector<std::string> notSeen;   // still waiting, or unreadable, when the time ran out
};

// Waits until every receiver has shown and closed the record or another record has replaced it,
// reading the files as the tray's receipts do: without lock or write.
WaitResult WaitForReceivers(const std::vector<std::string>& detectors,
                            const qfd::AlertRecord& record, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    WaitResult result;
    result.notSeen = detectors;
    for (;;) {
        std::erase_if(result.notSeen, [&](const std::string& detector) {
            switch (qfd::ReadReceipt(qfd::MakeIniPath(detector), record)) {
                case qfd::Receipt::Seen:
                    return true;
                case qfd::Receipt::Replaced:
                    result.replaced.push_back(detector);
                    return true;
                case qfd::Receipt::Waiting:
                case qfd::Receipt::Unknown:
                    break;
            }
            return false;
        });
        if (result.notSeen.empty() || std::chrono::steady_clock::now() >= deadline) return result;
        std::this_thread::sleep_for(kWaitPoll);
    }
}

}  // namespace

std::string InstallationFolder(const std::string& given) {
    std::error_code error;
    if (std::filesystem::is_directory(given, error)) return given;
    const std::string name = std::filesystem::path(given).filename().string();
    if (std::find(std::begin(qfd::kProgramFileNames), std::end(qfd::kProgramFileNames), name) ==
        std::end(qfd::kProgramFileNames)) {
        return given;
    }
    const std::string folder = qfd::DetectorPathForProgramFile(given);
    return folder.empty() ? "." : folder;
}

int RunSend(const Args& args) {
    SendOptions options;
    if (!ParseSendOptions(args, options)) return UsageError("send");
    std::optional<int> waitSeconds;
    if (options.wait && !(waitSeconds = Seconds(*options.wait))) {
        std::cerr << "qfdctl: --wait takes a whole number of seconds from 0 to 32767\n";
        return kExitUsage;
    }
    const std::optional<qfd::AlertRecord> record = BuildRecord(options);
    if (!record) return kExitUsage;

    int exitCode = kExitOk;
    std::vector<std::string> delivered;
    for (const std::string& detector : options.detectors) {
        const qfd::WriteOutcome outcome =
            qfd::SendNetworkAlert(qfd::MakeIniPath(detector), *record);
        if (outcome.Ok()) {
            delivered.push_back(detector);
        } else {
            std::cerr << "qfdctl: cannot send to " << detector << ": " << outcome.Describe()
                      << '\n';
            exitCode = kExitFailed;
        }
    }
    if (waitSeconds) {
        const WaitResult result = WaitForReceivers(delivered, *record, *waitSeconds);
        for (const std::string& detector : result.replaced) {
            std::cerr << "qfdctl: " << detector
                      << ": another alert replaced this one before it was shown\n";
        }
        for (const std::string& detector : result.notSeen) {
            std::cerr << "qfdctl: " << detector << " did not show and close the alert in time\n";
        }
        const bool allSeen = result.replaced.empty() && result.notSeen.empty();
        if (!allSeen && exitCode == kExitOk) exitCode = kExitWaitTimedOut;
    }
    return exitCode;
}

namespace {

const char* ReceiptWord(qfd::Receipt receipt) {
    switch (receipt) {
        case qfd::Receipt::Seen:
            return "seen";
        case qfd::Receipt::Replaced:
            return "replaced";
        case qfd::Receipt::Unknown:
            return "unknown";
        case qfd::Receipt::Waiting:
            break;
    }
    return "waiting";
}

// Whether the options name a record: then status tells what became of it.
bool NamesARecord(const SendOptions& options) {
    return options.from || options.top || options.bottom || options.name;
}

}  // namespace

int RunStatus(const Args& args) {
    SendOptions options;
    if (!ParseSendOptions(args, options) || options.detectors.size() != 1 || options.delay ||
        options.wait) {
        return UsageError("status");
    }
    const std::string detector = options.detectors.front();
    const std::string ini = qfd::MakeIniPath(detector);
    std::error_code error;
    const bool folder = std::filesystem::is_directory(detector, error);
    const qfd::IniSnapshot snap = qfd::IniSnapshot::Load(ini, qfd::LockWait::Patient);
    if (!folder || (!snap.FileFound() && std::filesystem::exists(ini, error))) {
        std::cerr << "qfdctl: cannot read " << (folder ? ini : detector) << '\n';
        return kExitFailed;
    }
    if (NamesARecord(options)) {
        const std::optional<qfd::AlertRecord> record = BuildRecord(options);
        if (!record) return kExitUsage;
        // A reading that caught a rewrite midway is taken again, as the receipts do.
        qfd::Receipt receipt = qfd::ReadReceipt(ini, *record);
        for (int tries = 0; receipt == qfd::Receipt::Unknown && tries < 20; ++tries) {
            std::this_thread::sleep_for(kWaitPoll);
            receipt = qfd::ReadReceipt(ini, *record);
        }
        std::cout << ReceiptWord(receipt) << '\n';
        return kExitOk;
    }
    if (snap.Read("Commands", "Type", "0") == "0") {
        std::cout << "none\n";
        return kExitOk;
    }
    std::cout << "waiting\n";
    for (const char* key : kRecordKeys) {
        std::cout << key << '=' << snap.Read("Commands", key, "") << '\n';
    }
    return kExitOk;
}

}  // namespace qfdctl
