// Replacing a file so that a reader sees either the old content or the new, never a part.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorvane {

// A file that could not be written; what() is one line naming the file, the step that
// failed and the system's reason. The parts are kept for front ends that word the message
// their own way (a name cut to a length, the reason in Japanese).
class FileWriteError : public std::runtime_error {
  public:
    FileWriteError(const std::filesystem::path& path, const std::string& step, int error);
    const std::filesystem::path& path() const { return path_; }
    const std::string& step() const { return step_; }
    int error() const { return error_; } // the errno value

  private:
    std::filesystem::path path_;
    std::string step_;
    int error_;
};

// Writes content to path atomically: a temporary file in the same folder, written, flushed
// and synced, then renamed over the target. A symbolic link at path is followed and the file
// it points to is replaced the same way (the link stays). The target's permission bits are
// kept; a new file gets 0666 less the umask. Anything that is not a regular file (a
// terminal, /dev/null, a pipe, /dev/stdout) is written in place. On failure the old file is
// left byte-identical, the temporary file is removed and FileWriteError says why.
//
// The temporary file is ".NAME.tmp-PID-N" (NAME shortened so that the whole stays within
// the folder's longest file name). Temporaries of the same target left by a process that
// no longer runs (one killed while writing) are removed first.
void writeFileAtomically(const std::filesystem::path& path, std::string_view content);

// The same replacement written piece by piece, for content too large to hold: the
// constructor checks the path and opens the temporary file (or the device), write() appends,
// commit() puts the whole in place. Destroyed without commit(), it leaves the old file as it
// was and removes the temporary file. Each step throws FileWriteError as writeFileAtomically.
//
// With `stopped`, a write to a pipe or a device that cannot take more waits a tenth of a
// second at a time and asks it: true ends the write with FileWriteError's ECANCELED, so that a
// reader that stalls cannot hold the writer for ever.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const std::filesystem::path& path,
                              std::function<bool()> stopped = {});
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    void write(std::string_view content);
    void commit();

  private:
    struct Open;
    std::unique_ptr<Open> open_;
};

} // namespace sorvane
