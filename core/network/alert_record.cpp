#include "core/network/alert_record.h"

#include "core/settings/ini_path.h"
#include "core/settings/ini_transaction.h"
#include "core/settings/number_form.h"

namespace qfd {
AlertRecord TakeAlertRecord(SettingsMirror& mirror) {
    BlankLineBreaks(mirror.myName);
    BlankLineBreaks(mirror.QFtext);
    BlankLineBreaks(mirror.Atext);
    AlertRecord record;
    record.Delay = mirror.NetDelay != 0 ? NumberForm(mirror.Delay) : "0";
    record.NetName = mirror.myName;
    record.QFtext = mirror.QFtext;
    record.Atext = mirror.Atext;
    return record;
}

std::string DetectorIniPath(const std::string& detectorPath) {
    return detectorPath + std::string(kIniFileName);
}

WriteOutcome SendNetworkAlert(const std::string& iniPath, const AlertRecord& record) {
    return ModifyIni(iniPath, [&](IniTransaction& t) {
        AlertRecord values = record;
        std::string type = "1";
        t.Write(sections::kCommands, "Delay", values.Delay);
        t.Write(sections::kCommands, "NetName", values.NetName);
        t.Write(sections::kCommands, "QFtext", values.QFtext);
        t.Write(sections::kCommands, "Atext", values.Atext);
        t.Write(sections::kCommands, "Type", type);  // last: the record is complete before it
    });
}

bool ShowsErrorMessage(const WriteOutcome& outcome) {
    switch (outcome.error) {
        case StoreError::None:
        case StoreError::PathNotFound:
        case StoreError::AccessDenied:
        case StoreError::NotRegularFile:
        case StoreError::FileTooLarge:
            return false;
        default:
            return true;
    }
}

int ErrorNumber(const WriteOutcome& outcome) { return outcome.PlatformErrorCode(); }

std::string ErrorDescription(const WriteOutcome& outcome) {
    switch (outcome.error) {
        case StoreError::NameTooLong:
            return "The filename or extension is too long.";
        case StoreError::DiskFull:
            return "There is not enough space on the disk.";
        case StoreError::ValueTooLong:
        case StoreError::LineTooLong:
            return "The parameter is incorrect.";
        case StoreError::Busy:
            return "The process cannot access the file because another process has locked a "
                   "portion of the file.";
        default:
            return "The system cannot write to the specified device.";
    }
}

}  // namespace qfd
