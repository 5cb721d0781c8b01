#include "core/platform/file_stamp.h"

#include <sys/stat.h>

namespace qfd {

FileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.volume = static_cast<std::uint64_t>(st.st_dev);
    stamp.index = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.writeTime = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 +
                      static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return stamp;
}

}  // namespace qfd
