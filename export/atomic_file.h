// Replacing a file so that a reader sees either the old content or the new, never a part.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace sorvane {

// A file that could not be written; what() is one line naming the file, the step that
// failed and the system's reason.
class FileWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes content to path atomically: a temporary file in the same folder, written, flushed
// and synced, then renamed over the target. A symbolic link at path is followed and the file
// it points to is replaced the same way (the link stays). The target's permission bits are
// kept; a new file gets 0666 less the umask. Anything that is not a regular file (a
// terminal, /dev/null, a pipe) is written in place. On failure the old file is left
// byte-identical, the temporary file is removed and FileWriteError says why.
void writeFileAtomically(const std::filesystem::path& path, std::string_view content);

} // namespace sorvane
