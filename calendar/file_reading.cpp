#include "calendar/file_reading.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#endif

#ifndef S_ISSOCK
#define S_ISSOCK(mode) 0 // Windows has no sockets in its file system
#endif

namespace sorvane {

const char* fileKindText(FileKind kind) {
    switch (kind) {
    case FileKind::Regular:
        return "a regular file";
    case FileKind::Directory:
        return "a directory";
    case FileKind::NamedPipe:
        return "a named pipe";
    case FileKind::CharacterDevice:
        return "a character device";
    case FileKind::BlockDevice:
        return "a block device";
    case FileKind::Socket:
        return "a socket";
    case FileKind::Other:
        return "a special file";
    }
    return "a special file";
}

ReadOnlyFile::ReadOnlyFile(const std::filesystem::path& path) {
#ifdef _WIN32
    // Binary: text mode would turn CRLF into LF and stop at a Ctrl-Z.
    fd_ = ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
#else
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
#endif
    if (fd_ < 0) {
        error_ = errno;
#ifdef _WIN32
        // Windows refuses a folder opened as a file with "Permission denied": it is a folder.
        std::error_code ec;
        if (error_ == EACCES && std::filesystem::is_directory(path, ec)) {
            error_ = 0;
            kind_ = FileKind::Directory;
        }
#endif
        return;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        error_ = errno;
        return;
    }
    kind_ = S_ISREG(info.st_mode)    ? FileKind::Regular
            : S_ISDIR(info.st_mode)  ? FileKind::Directory
            : S_ISFIFO(info.st_mode) ? FileKind::NamedPipe
            : S_ISCHR(info.st_mode)  ? FileKind::CharacterDevice
            : S_ISBLK(info.st_mode)  ? FileKind::BlockDevice
            : S_ISSOCK(info.st_mode) ? FileKind::Socket
                                     : FileKind::Other;
    size_ = static_cast<std::size_t>(info.st_size);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

long ReadOnlyFile::read(char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, capacity);
        if (n >= 0 || errno != EINTR) {
            return static_cast<long>(n);
        }
    }
}

} // namespace sorvane
