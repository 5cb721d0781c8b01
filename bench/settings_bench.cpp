// The settings store against the raw file operations it cannot avoid (the "floor").
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/typical_settings_file.h"
#include "core/settings/ini_access.h"

namespace {

namespace fs = std::filesystem;

using qfd::bench::TypicalFile;

std::string FullDetectorList() {
    std::string f = "[Network Settings]\r\n";
    for (int i = 0; i <= 500; ++i) {
        f += "Option " + std::to_string(i) + "=/srv/share/desk" + std::to_string(i) + "/\r\n";
    }
    return f;
}

class TempFile {
  public:
    explicit TempFile(const std::string& contents) {
        std::string pattern = (fs::temp_directory_path() / "qfd-bench-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        path_ = (dir_ / "qfd.ini").string();
        std::ofstream(path_, std::ios::binary) << contents;
    }
    ~TempFile() { fs::remove_all(dir_); }
    const std::string& path() const { return path_; }

  private:
    fs::path dir_;
    std::string path_;
};

std::string RawRead(const std::string& path) {
    std::string bytes(4096, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t n = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return bytes;
}

void FloorRead1k(benchmark::State& state) {
    TempFile file(TypicalFile());
    for (auto _ : state) benchmark::DoNotOptimize(RawRead(file.path()));
}
BENCHMARK(FloorRead1k)->Name("Floor/read_1k");

void ReadIniType1k(benchmark::State& state) {
    TempFile file(TypicalFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(qfd::ReadIni(file.path(), "Commands", "Type", "0"));
}
BENCHMARK(ReadIniType1k)->Name("ReadIni/type_1k");

void FloorRewrite1k(benchmark::State& state) {
    TempFile file(TypicalFile());
    const std::string temporary = file.path() + ".tmp";
    for (auto _ : state) {
        const std::string bytes = RawRead(file.path());
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::close(fd);
        ::rename(temporary.c_str(), file.path().c_str());
    }
}
BENCHMARK(FloorRewrite1k)->Name("Floor/rewrite_1k");

void WriteIniOneKey1k(benchmark::State& state) {
    TempFile file(TypicalFile());
    int i = 0;
    for (auto _ : state) {
        std::string value = (++i % 2) ? "1" : "0";  // a real change every time
        benchmark::DoNotOptimize(qfd::WriteIni(file.path(), "Commands", "Type", value));
    }
}
BENCHMARK(WriteIniOneKey1k)->Name("WriteIni/one_key_1k");

void ReadIniSlots501(benchmark::State& state) {
    TempFile file(FullDetectorList());
    for (auto _ : state) {
        benchmark::DoNotOptimize(qfd::ReadIni(file.path(), "Network Settings", "Option 250", ""));
    }
}
BENCHMARK(ReadIniSlots501)->Name("ReadIni/slots_501");

}  // namespace

BENCHMARK_MAIN();
