#pragma once
/// The signals at which the temporary files of outputs in progress are removed.

#include <csignal>

namespace io {

/// Holds SIGINT, SIGTERM and SIGHUP back for its scope, so that a temporary file is
/// never made, renamed or removed without the table of pending files saying so, and a
/// set of renames is made whole.
class SignalsHeld {
 public:
  SignalsHeld();
  ~SignalsHeld();
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t before_{};
};

}  // namespace io
