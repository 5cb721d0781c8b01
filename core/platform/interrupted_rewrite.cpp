#include "platform/file_access.h"

namespace qfd {

std::string RedoPathFor(const std::string& path) { return path + ".redo"; }

FileSnapshot ReadSettledFile(const std::string& path, std::size_t maxBytes) {
    FileSnapshot redo = ReadWholeFile(RedoPathFor(path), maxBytes);
    if (redo.status == FileStatus::Ok) return redo;
    return ReadWholeFile(path, maxBytes);
}

FileStatus FinishInterruptedRewrite(const std::string& path, std::size_t maxBytes) {
    const FileSnapshot redo = ReadWholeFile(RedoPathFor(path), maxBytes);
    if (redo.status == FileStatus::Missing) return FileStatus::Ok;
    if (redo.status != FileStatus::Ok) return redo.status;
    return ReplaceWholeFile(path, redo.bytes, /*exclusive=*/true);
}

}  // namespace qfd
