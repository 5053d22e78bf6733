// Opening a data file for reading without ever waiting: the one way the program's readers
// (the term files, the places file) open what they read.
#pragma once

#include <cstddef>
#include <filesystem>

namespace sorvane {

// What a path names.
enum class FileKind { Regular, Directory, NamedPipe, CharacterDevice, BlockDevice, Socket, Other };

// "a named pipe", "a directory", ... for an English message.
const char* fileKindText(FileKind kind);

// ReadOnlyFile: a file opened read-only and without blocking, so that a named pipe nobody
// writes to is reported by its kind instead of waiting for a writer (a regular file reads the
// same either way); closed when the object goes.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::filesystem::path& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // The errno of a failed open or fstat, else 0; openFailed says which.
    int error() const { return error_; }
    bool openFailed() const { return fd_ < 0 && error_ != 0; }
    // What the path names (once opened, or a folder that Windows does not open as a file),
    // and its size in bytes.
    FileKind kind() const { return kind_; }
    std::size_t size() const { return size_; }

    // read: up to capacity bytes into buffer, retrying when interrupted. Returns the bytes
    // read, 0 at the end of the file, -1 with errno set on an error.
    long read(char* buffer, std::size_t capacity);

  private:
    int fd_ = -1;
    int error_ = 0;
    FileKind kind_ = FileKind::Other;
    std::size_t size_ = 0;
};

} // namespace sorvane
