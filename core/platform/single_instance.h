#pragma once

#include "core/platform/native_handle.h"

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

    // Claims the installation of programFile without waiting. Creates and writes nothing.
    static SingleInstance Claim(const std::string& programFile);

    State CurrentState() const { return handle_.Valid() ? State::Ours : refusal_; }
    bool AnotherInstanceRunning() const { return CurrentState() == State::HeldByAnother; }

  private:
    State refusal_ = State::Unknown;  // why the claim is not ours while it is not
    NativeHandle handle_;             // the open program file that holds the claim
};

}  // namespace qfd
