// The main timer's look into the mailbox, with the settings lock free and while another process
// holds it; "Send To All" to 501 local detector folders against 501 raw whole-file rewrites, alone
// and while another process keeps writing to the same folders.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/typical_settings_file.h"
#include "core/network/alert_sender.h"
#include "core/network/mailbox.h"
#include "core/platform/file_lock.h"
#include "core/settings/ini_path.h"
#include "core/settings/profile_store.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDetectors = 501;

using qfd::bench::TypicalFile;

// Another process, as a peer on the share would be: the settings locks are on open file
// descriptions, so a second descriptor in this process would conflict too, but only a separate
// process also stands for a peer's scheduling. It runs `body` until it is killed; `body` calls
// the function it is given once it is under way, and the constructor returns after that.
class OtherProcess {
  public:
    using Body = std::function<void(const std::function<void()>& ready)>;

    explicit OtherProcess(const Body& body) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            body([fd = fds[1]] {
                const char byte = 1;
                if (::write(fd, &byte, 1) != 1) ::_exit(1);
                ::close(fd);
            });
            ::_exit(0);
        }
        ::close(fds[1]);
        char byte = 0;
        // End of file without the byte: the child gave up (or the fork failed).
        ready_ = pid_ > 0 && ::read(fds[0], &byte, 1) == 1;
        ::close(fds[0]);
    }
    OtherProcess(const OtherProcess&) = delete;
    OtherProcess& operator=(const OtherProcess&) = delete;
    // The system drops the child's locks when it dies; a rewrite cut short is finished by the
    // next writer.
    ~OtherProcess() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }

    bool ready() const { return ready_; }

  private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

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

// The one set of folders that the raw rewrites and Send To All both write: where the file system
// places a folder's files decides much of what a rewrite costs there. (An ext4 without journal
// makes every new inode step over those freed in its block group in the last minute or more: the
// same raw rewrites ran 0.4 to 1.5 times as long on a second set of 501 folders as on the first.)
const DetectorFolders& SharedFolders() {
    static const DetectorFolders folders;
    return folders;
}

void FloorRewrite501(benchmark::State& state) {
    const DetectorFolders& folders = SharedFolders();
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
    const DetectorFolders& folders = SharedFolders();
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

// The poll tick in the common case: one look into a mailbox with nothing waiting. It must never
// wait for the lock, so the time is real time: a wait would sleep and not show as CPU time.
void PollTick(benchmark::State& state, bool lockHeldByAnother) {
    const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "qfd-bench-XXXXXX").string();
        return fs::path(::mkdtemp(pattern.data()));
    }();
    const std::string ini = (dir / "qfd.ini").string();
    std::ofstream(ini, std::ios::binary) << TypicalFile();
    const std::string lockPath = qfd::LockPathFor(ini);
    // The lock file stands beside every settings file that has ever been written.
    qfd::FileLock::Acquire(lockPath, qfd::FileLock::Mode::Exclusive, {}, true);

    std::optional<OtherProcess> holder;
    if (lockHeldByAnother) {
        holder.emplace([&](const std::function<void()>& ready) {
            const qfd::FileLock lock = qfd::FileLock::Acquire(
                lockPath, qfd::FileLock::Mode::Exclusive, std::chrono::milliseconds(2000), true);
            if (!lock.Held()) return;
            ready();
            for (;;) ::pause();
        });
        const bool blocked =
            !qfd::FileLock::Acquire(lockPath, qfd::FileLock::Mode::Shared, {}, false).Held();
        if (!holder->ready() || !blocked) state.SkipWithError("the other process has no lock");
    }

    for (auto _ : state) {
        std::optional<qfd::MailboxRecord> seen = qfd::LookIntoMailbox(ini, "Quorf", "Alert");
        // A reading taken as torn would make the figure that of a tick that saw nothing.
        if (!seen || seen->Waiting()) {
            state.SkipWithError("the look did not see the quiet mailbox");
            break;
        }
        benchmark::DoNotOptimize(seen);
    }
    holder.reset();
    fs::remove_all(dir);
}
BENCHMARK_CAPTURE(PollTick, lock_free, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(PollTick, lock_held_by_another, true)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// Send To All while another installation sends to all the same folders, over and over: every
// folder's lock is contended, and the two processes share the disk and the two cores.
void SendToAll501WithCompetingWriter(benchmark::State& state) {
    DetectorFolders folders;
    // The competitor's count of records written, seen by both processes.
    void* shared = ::mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        state.SkipWithError("no shared memory");
        return;
    }
    auto* competingWrites = new (shared) std::atomic<long>(0);

    // Forked before the sender's thread starts. Its first round also makes the lock files.
    OtherProcess competitor([&](const std::function<void()>& ready) {
        for (long round = 0;; ++round) {
            const qfd::AlertRecord record{"0", "Sheila" + std::to_string(round % 2), "Quorf",
                                          "Alert"};
            for (const std::string& path : folders.iniPaths()) {
                qfd::SendNetworkAlert(path, record);
                competingWrites->fetch_add(1, std::memory_order_relaxed);
            }
            if (round == 0) ready();
        }
    });
    if (!competitor.ready()) state.SkipWithError("the competing writer did not start");

    std::atomic<long> lockMissed{0};
    std::atomic<long> failed{0};
    qfd::AlertSender sender([](const std::string&, const qfd::WriteOutcome&) {},
                            [&](const std::string& path, const qfd::AlertRecord& record) {
                                const qfd::WriteOutcome outcome =
                                    qfd::SendNetworkAlert(path, record);
                                if (outcome.lockTimedOut) ++lockMissed;
                                if (!outcome.Ok()) ++failed;
                                return outcome;
                            });
    int i = 0;
    const long writesBefore = competingWrites->load();
    for (auto _ : state) {
        const qfd::AlertRecord record{"0", "Bruce" + std::to_string(++i % 2), "Quorf", "Alert"};
        sender.Send(record, folders.iniPaths());
        sender.WaitUntilIdle();
    }
    // No counters: the CSV output that bench/figures.sh reads fixes its columns at the first
    // case, which has none.
    const long competing = competingWrites->load() - writesBefore;
    if (lockMissed > 0 || failed > 0) {
        state.SkipWithError("a send gave up waiting for the lock or failed");
    } else if (competing == 0) {
        state.SkipWithError("the competing writer wrote nothing meanwhile");
    } else if (state.iterations() > 0) {
        state.SetLabel(std::to_string(competing / static_cast<long>(state.iterations())) +
                       " competing writes per round");
    }
    ::munmap(shared, sizeof(std::atomic<long>));
}
BENCHMARK(SendToAll501WithCompetingWriter)
    ->Name("SendToAll/501_with_competing_writer")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

// Repetitions run in random order unless the command line says otherwise: every rewrite leaves
// the file system slower for the next minute or more, so whatever ran first would come out
// fastest (the raw rewrites took up to 2.2 times as long when measured again later in the same
// run), and Send To All would always be compared with rewrites measured before it.
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);  // a flag given later overrides it
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
