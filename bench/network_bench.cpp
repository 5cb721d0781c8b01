// "Send To All" to 501 local detector folders against 501 raw whole-file rewrites.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "network/alert_sender.h"
#include "settings/ini_path.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDetectors = 501;

// 501 installation folders, each with a settings file of about 1 KB.
class DetectorFolders {
  public:
    DetectorFolders() {
        std::string pattern = (fs::temp_directory_path() / "qfd-bench-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        std::string contents = "[Settings]\r\nmyName=Bruce\r\nDelay= 5\r\nLatency= 100\r\n";
        while (contents.size() < 900) contents += "; padding to a typical size\r\n";
        contents +=
            "[Commands]\r\nDelay=0\r\nNetName=\r\nQFtext=Quorf\r\nAtext=Alert\r\nType=0\r\n";
        for (int i = 0; i < kDetectors; ++i) {
            const fs::path dir = root_ / ("desk" + std::to_string(i));
            fs::create_directory(dir);
            iniPaths_.push_back(qfd::MakeIniPath(dir.string()));
            std::ofstream(iniPaths_.back(), std::ios::binary) << contents;
        }
    }
    ~DetectorFolders() { fs::remove_all(root_); }
    const std::vector<std::string>& iniPaths() const { return iniPaths_; }

  private:
    fs::path root_;
    std::vector<std::string> iniPaths_;
};

void FloorRewrite501(benchmark::State& state) {
    DetectorFolders folders;
    std::string bytes(4096, '\0');
    for (auto _ : state) {
        for (const std::string& path : folders.iniPaths()) {
            int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            const ssize_t n = ::read(fd, bytes.data(), bytes.size());
            ::close(fd);
            const std::string temporary = path + ".tmp";
            fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            benchmark::DoNotOptimize(::write(fd, bytes.data(), n > 0 ? static_cast<size_t>(n) : 0));
            ::close(fd);
            ::rename(temporary.c_str(), path.c_str());
        }
    }
}
BENCHMARK(FloorRewrite501)->Name("Floor/rewrite_501")->Unit(benchmark::kMillisecond);

void SendToAll501(benchmark::State& state) {
    DetectorFolders folders;
    qfd::AlertSender sender([](const std::string&, const qfd::WriteOutcome&) {});
    // The first send to a folder also creates its lock file, once in the folder's life; measure
    // the sends after it.
    sender.Send(qfd::AlertRecord{"0", "Bruce", "Quorf", "Alert"}, folders.iniPaths());
    sender.WaitUntilIdle();
    int i = 0;
    for (auto _ : state) {
        // A different sender name each round, so every file really changes.
        const qfd::AlertRecord record{"0", "Bruce" + std::to_string(++i % 2), "Quorf", "Alert"};
        sender.Send(record, folders.iniPaths());
        sender.WaitUntilIdle();
    }
}
BENCHMARK(SendToAll501)->Name("SendToAll/501")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
