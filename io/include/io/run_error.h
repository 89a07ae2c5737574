#pragma once
/// The error that ends a run.

#include <stdexcept>

namespace io {

/// A failure that ends a run: the message names the file or the answer at fault.
struct RunError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace io
