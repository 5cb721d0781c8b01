#pragma once

#include <string>

namespace qfd {

// "Is this installation already running?" An installation is its program file: copies in two
// folders are two installations and run side by side. The claim is released by the system when
// the process ends, however it ends.
class SingleInstance {
  public:
    enum class State {
        Ours,           // no other process runs this installation; the claim is ours
        HeldByAnother,  // another process runs it
        Unknown,        // the platform could not tell (no locks on this file system)
    };

    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    SingleInstance(SingleInstance&& other) noexcept;
    SingleInstance& operator=(SingleInstance&& other) noexcept;
    ~SingleInstance();

    // Claims the installation of programFile without waiting. Creates and writes nothing.
    static SingleInstance Claim(const std::string& programFile);

    State state() const { return state_; }
    bool AnotherInstanceRunning() const { return state_ == State::HeldByAnother; }

  private:
    void Release();

    State state_ = State::Unknown;
    long long handle_ = -1;  // a file descriptor or a HANDLE, depending on the platform
};

}  // namespace qfd
