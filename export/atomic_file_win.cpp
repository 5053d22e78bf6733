// AtomicFileWriter on Windows: the temporary file beside the target, flushed to the disk and
// moved over it with MoveFileExW (the C library's rename refuses an existing target). A
// device (NUL, CON) or a pipe is written in place. Windows files take the folder's access
// rights, so no permission bits or owner are copied; there are no symbolic links to follow.
#ifdef _WIN32

#include "calendar/path_text.h"
#include "export/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

namespace sorvane {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const fs::path& path, const std::string& step, int err) {
    throw FileWriteError(path, step, err);
}

// The errno value that words a Windows error as the messages do elsewhere.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

void writeAll(int fd, std::string_view content, const fs::path& path) {
    while (!content.empty()) {
        const unsigned piece =
            content.size() > (1u << 30) ? (1u << 30) : static_cast<unsigned>(content.size());
        const int n = ::_write(fd, content.data(), piece);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(path, "cannot write", errno);
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
}

// The kind of file a path names without creating it: 0 none, 1 a regular file, 2 a folder,
// 3 a device or a pipe (NUL, CON, COM1), which only its handle tells.
int kindOf(const fs::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return 2;
    }
    const HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return attributes == INVALID_FILE_ATTRIBUTES ? 0 : 1;
    }
    const DWORD type = ::GetFileType(h);
    ::CloseHandle(h);
    return type == FILE_TYPE_DISK ? 1 : 3;
}

// Removes the temporaries "PREFIX<pid>-<n>" whose process no longer runs.
void removeStaleTemporaries(const fs::path& dir, const std::wstring& prefix) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((dir / (prefix + L"*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring rest = std::wstring(found.cFileName).substr(prefix.size());
        const std::size_t dash = rest.find(L'-');
        if (dash == 0 || dash == std::wstring::npos || dash > 10 || dash + 1 == rest.size() ||
            rest.find_first_not_of(L"0123456789", dash + 1) != std::wstring::npos ||
            rest.find_first_not_of(L"0123456789") != dash) {
            continue;
        }
        const unsigned long pid = std::stoul(rest.substr(0, dash));
        if (pid == ::GetCurrentProcessId()) {
            continue;
        }
        const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        if (process != nullptr) {
            ::CloseHandle(process);
        } else if (::GetLastError() == ERROR_INVALID_PARAMETER) { // no such process
            ::DeleteFileW((dir / found.cFileName).c_str());
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

} // namespace

struct AtomicFileWriter::Open {
    fs::path path;      // as given, for messages
    fs::path temporary; // empty for a device
    int fd = -1;
    bool committed = false;
    std::function<bool()> stopped; // asked before each piece: true ends the write
};

AtomicFileWriter::AtomicFileWriter(const fs::path& path, std::function<bool()> stopped)
    : open_(std::make_unique<Open>()) {
    open_->path = path;
    open_->stopped = std::move(stopped);
    const int kind = kindOf(path);
    if (kind == 2) {
        fail(path, "cannot replace", EISDIR);
    }
    if (kind == 3) {
        open_->fd = ::_wopen(path.c_str(), _O_WRONLY | _O_BINARY | _O_NOINHERIT);
        if (open_->fd < 0) {
            fail(path, "cannot open", errno);
        }
        return;
    }
    const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::wstring prefix = L"." + path.filename().wstring() + L".tmp-";
    removeStaleTemporaries(dir, prefix);
    for (int attempt = 0;; ++attempt) {
        const fs::path temp = dir / (prefix + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                     std::to_wstring(attempt));
        const int fd =
            ::_wopen(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                     _S_IREAD | _S_IWRITE);
        if (fd >= 0) {
            open_->fd = fd;
            open_->temporary = temp;
            return;
        }
        if (errno != EEXIST || attempt == 100) {
            fail(path, "cannot create a temporary file in " + pathText(dir), errno);
        }
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (open_->fd >= 0) {
        ::_close(open_->fd);
    }
    if (!open_->committed && !open_->temporary.empty()) {
        ::DeleteFileW(open_->temporary.c_str());
    }
}

void AtomicFileWriter::write(std::string_view content) {
    if (open_->fd < 0) {
        fail(open_->path, "cannot write", EBADF);
    }
    // Asked before each piece, as the POSIX writer does (a device here blocks in the write).
    if (open_->stopped && open_->stopped()) {
        fail(open_->path, "cannot write", ECANCELED);
    }
    writeAll(open_->fd, content, open_->path);
}

void AtomicFileWriter::commit() {
    if (open_->fd < 0) {
        fail(open_->path, "cannot write", EBADF);
    }
    const fs::path& path = open_->path;
    if (!open_->temporary.empty() && ::_commit(open_->fd) != 0) {
        fail(path, "cannot write", errno);
    }
    const int fd = open_->fd;
    open_->fd = -1;
    if (::_close(fd) != 0) {
        fail(path, "cannot write", errno);
    }
    if (open_->temporary.empty()) {
        return;
    }
    if (!::MoveFileExW(open_->temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(path, "cannot replace", errnoOf(::GetLastError()));
    }
    open_->committed = true;
}

void writeFileAtomically(const fs::path& path, std::string_view content) {
    AtomicFileWriter writer(path);
    writer.write(content);
    writer.commit();
}

} // namespace sorvane

#endif // _WIN32
