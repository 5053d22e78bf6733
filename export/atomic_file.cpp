#include "export/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvane {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const fs::path& path, const std::string& step, int err) {
    throw FileWriteError(path.string() + ": " + step + ": " + std::strerror(err));
}

// The file a path names once symbolic links are followed (the path itself when it is none
// or does not exist yet).
fs::path followLinks(const fs::path& path) {
    fs::path target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return target;
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            fail(path, "cannot follow the link", ec.value());
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    fail(path, "cannot follow the link", ELOOP);
}

void writeAll(int fd, std::string_view content, const fs::path& path) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(path, "cannot write", errno);
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Closes the descriptor and removes the temporary file unless released.
class TemporaryFile {
  public:
    TemporaryFile(int fd, fs::path path) : fd_(fd), path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!released_) {
            ::unlink(path_.c_str());
        }
    }
    int fd() const { return fd_; }
    const fs::path& path() const { return path_; }
    // Closes the descriptor; returns 0 or the error.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }
    void release() { released_ = true; }

  private:
    int fd_;
    fs::path path_;
    bool released_ = false;
};

TemporaryFile createTemporary(const fs::path& target, const fs::path& shown) {
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0;; ++attempt) {
        const fs::path temp = dir / ("." + target.filename().string() + ".tmp-" +
                                     std::to_string(::getpid()) + "-" + std::to_string(attempt));
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return TemporaryFile(fd, temp);
        }
        if (errno != EEXIST || attempt == 100) {
            fail(shown, "cannot create a temporary file in " + dir.string(), errno);
        }
    }
}

} // namespace

void writeFileAtomically(const fs::path& path, std::string_view content) {
    const fs::path target = followLinks(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        fail(path, "cannot replace", errno);
    }
    if (exists && S_ISDIR(existing.st_mode)) {
        fail(path, "cannot replace", EISDIR);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            fail(path, "cannot open", errno);
        }
        TemporaryFile device(fd, target);
        device.release(); // the device itself: never removed
        writeAll(fd, content, path);
        if (const int err = device.close(); err != 0) {
            fail(path, "cannot write", err);
        }
        return;
    }

    TemporaryFile temp = createTemporary(target, path);
    if (exists) {
        // Keep the old file's permissions and, where allowed, its owner.
        if (::fchmod(temp.fd(), existing.st_mode & 07777) != 0) {
            fail(path, "cannot set the permissions", errno);
        }
        if (::fchown(temp.fd(), existing.st_uid, existing.st_gid) != 0 && errno != EPERM) {
            fail(path, "cannot set the owner", errno);
        }
    }
    writeAll(temp.fd(), content, path);
    if (::fsync(temp.fd()) != 0) {
        fail(path, "cannot write", errno);
    }
    if (const int err = temp.close(); err != 0) {
        fail(path, "cannot write", err);
    }
    if (::rename(temp.path().c_str(), target.c_str()) != 0) {
        fail(path, "cannot replace", errno);
    }
    temp.release();
    // Make the rename itself durable; the new content is in place whatever this returns.
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

} // namespace sorvane
