#pragma once
/// The names of outputs' temporary files, ".NAME.tmp-PID-XXXXXX" beside the output, and
/// the removal of those a process left behind when it was killed outright.

#include <string>

namespace io {

/// The mkstemp template of the temporary file for the output named `file_name` in
/// `folder` (empty: the current folder), made by process `pid`. A name so long that the
/// template would exceed the folder's longest file name is cut in the template, so that
/// every name the folder takes can be written.
std::string temporary_template(const std::string& folder, const std::string& file_name, long pid);

/// Removes from `folder` the temporary files of the output `file_name` whose process
/// has ended (killed by SIGKILL, or by a power cut): they can never be completed, and
/// would keep their disk space for ever. Temporary files of running processes and
/// files that cannot be removed stay.
void remove_stale_temporaries(const std::string& folder, const std::string& file_name);

}  // namespace io
