#include "core/platform/file_access.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace qfd {
namespace {

// "QFD-REDO <size of the previous contents>\n", the previous contents, the new contents.
constexpr std::string_view kRedoMagic = "QFD-REDO ";

struct RedoRecord {
    std::string_view previous;
    std::string_view next;
};

std::optional<RedoRecord> ParseRedoRecord(std::string_view record) {
    if (!record.starts_with(kRedoMagic)) return std::nullopt;
    record.remove_prefix(kRedoMagic.size());
    const std::size_t end = record.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::size_t size = 0;
    const auto [stop, error] = std::from_chars(record.data(), record.data() + end, size);
    if (error != std::errc() || stop != record.data() + end) return std::nullopt;
    record.remove_prefix(end + 1);
    if (size > record.size()) return std::nullopt;
    return RedoRecord{record.substr(0, size), record.substr(size)};
}

// Whether the file is the rewrite half done: the new contents are written over the previous ones
// from the start, then the end is cut, so the file is some prefix of the new contents followed by
// the rest of the previous ones, or the new contents whole.
bool IsRewriteOf(std::string_view file, const RedoRecord& redo) {
    if (file == redo.next) return true;
    const auto [f, n] = std::mismatch(file.begin(), file.end(), redo.next.begin(), redo.next.end());
    const std::size_t written = static_cast<std::size_t>(f - file.begin());
    const std::string_view rest =
        written < redo.previous.size() ? redo.previous.substr(written) : "";
    return file.substr(written) == rest;
}

FileSnapshot ReadRedoFile(const std::string& path, std::size_t maxBytes) {
    // Room for two whole files and the header.
    return ReadWholeFile(RedoPathFor(path), 2 * maxBytes + 64);
}

}  // namespace

std::string RedoPathFor(const std::string& path) { return path + ".redo"; }

std::string MakeRedoRecord(std::string_view previous, std::string_view next) {
    std::string record(kRedoMagic);
    record += std::to_string(previous.size());
    record += '\n';
    record += previous;
    record += next;
    return record;
}

FileSnapshot ReadSettledFile(const std::string& path, std::size_t maxBytes) {
    // The redo file first: a writer that finishes meanwhile leaves the file whole.
    const FileSnapshot redo = ReadRedoFile(path, maxBytes);
    FileSnapshot file = ReadWholeFile(path, maxBytes);
    file.journalPresent = redo.status != FileStatus::Missing;
    const std::optional<RedoRecord> record =
        redo.status == FileStatus::Ok ? ParseRedoRecord(redo.bytes) : std::nullopt;
    if (record && file.status == FileStatus::Ok && IsRewriteOf(file.bytes, *record)) {
        file.bytes = std::string(record->next);
    }
    return file;
}

FileStatus FinishInterruptedRewrite(const std::string& path, std::size_t maxBytes) {
    const FileSnapshot redo = ReadRedoFile(path, maxBytes);
    if (redo.status == FileStatus::Missing) return FileStatus::Ok;
    if (redo.status != FileStatus::Ok) return redo.status;
    const std::optional<RedoRecord> record = ParseRedoRecord(redo.bytes);
    const FileSnapshot file = ReadWholeFile(path, maxBytes);
    if (file.status != FileStatus::Ok && file.status != FileStatus::Missing) return file.status;
    if (record && file.status == FileStatus::Ok && IsRewriteOf(file.bytes, *record) &&
        file.bytes != record->next) {
        return ReplaceWholeFile(path, record->next, file.bytes, WriteGuard::Locked);
    }
    // Done already, or the file has changed (or gone) since: what stands now stands.
    return RemoveRedoFile(path);
}

}  // namespace qfd
