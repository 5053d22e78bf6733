#include "export/atomic_file.h"

#include "calendar/path_text.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#ifndef _WIN32 // Windows: atomic_file_win.cpp
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorvane {

FileWriteError::FileWriteError(const std::filesystem::path& path, const std::string& step,
                               int error)
    : std::runtime_error(pathText(path) + ": " + step + ": " + std::strerror(error)), path_(path),
      step_(step), error_(error) {}

#ifndef _WIN32
namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const fs::path& path, const std::string& step, int err) {
    throw FileWriteError(path, step, err);
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

void writeAll(int fd, std::string_view content, const fs::path& path,
              const std::function<bool()>& stopped = {}) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if ((errno == EAGAIN || errno == EWOULDBLOCK) && stopped) {
                // A device left non-blocking for `stopped`: wait for room, asking it.
                if (stopped()) {
                    fail(path, "cannot write", ECANCELED);
                }
                pollfd room{fd, POLLOUT, 0};
                ::poll(&room, 1, 100);
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

// The start of the temporary names of a target in dir: "." and the target's name, shortened
// so that the prefix and the longest suffix ("-PID-N") fit the folder's longest name.
std::string temporaryPrefix(const fs::path& dir, const fs::path& target) {
    long nameMax = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    if (nameMax <= 0) {
        nameMax = NAME_MAX;
    }
    constexpr std::size_t kSuffixRoom = 1 + 5 + 24; // ".", ".tmp-", "PID-N" at most
    std::string name = target.filename().string();
    const std::size_t room = static_cast<std::size_t>(nameMax) > kSuffixRoom
                                 ? static_cast<std::size_t>(nameMax) - kSuffixRoom
                                 : 1;
    if (name.size() > room) {
        name.resize(room);
    }
    return "." + name + ".tmp-";
}

// Removes the temporaries with this prefix whose writer no longer runs: "PREFIX<pid>-<n>"
// where no process <pid> exists. A writer still running (or a name of another form) is
// left alone.
void removeStaleTemporaries(const fs::path& dir, const std::string& prefix) {
    DIR* folder = ::opendir(dir.c_str());
    if (folder == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string rest = name.substr(prefix.size());
        const std::size_t dash = rest.find('-');
        if (dash == 0 || dash == std::string::npos || dash > 10 ||
            rest.find_first_not_of("0123456789-") != std::string::npos ||
            rest.find_first_not_of("0123456789", dash + 1) != std::string::npos ||
            dash + 1 == rest.size()) {
            continue;
        }
        const long long pid = std::stoll(rest.substr(0, dash));
        if (pid <= 0 || pid > INT_MAX || pid == ::getpid()) {
            continue;
        }
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            ::unlinkat(::dirfd(folder), name.c_str(), 0);
        }
    }
    ::closedir(folder);
}

std::unique_ptr<TemporaryFile> createTemporary(const fs::path& target, const fs::path& shown) {
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = temporaryPrefix(dir, target);
    removeStaleTemporaries(dir, prefix);
    for (int attempt = 0;; ++attempt) {
        const fs::path temp =
            dir / (prefix + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return std::make_unique<TemporaryFile>(fd, temp);
        }
        if (errno != EEXIST || attempt == 100) {
            fail(shown, "cannot create a temporary file in " + dir.string(), errno);
        }
    }
}

} // namespace

struct AtomicFileWriter::Open {
    fs::path path;   // as given, for messages
    fs::path target; // the file replaced (links followed)
    std::unique_ptr<TemporaryFile> file;
    bool device = false; // written in place
    std::function<bool()> stopped;
};

AtomicFileWriter::AtomicFileWriter(const fs::path& path, std::function<bool()> stopped)
    : open_(std::make_unique<Open>()) {
    open_->path = path;
    open_->stopped = std::move(stopped);
    // What the path names once the system follows it: a device, a pipe or /dev/stdout (a
    // link through /proc to a descriptor) is written in place by that name, since the
    // text of such links names no file that can be replaced.
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
        if (S_ISDIR(named.st_mode)) {
            fail(path, "cannot replace", EISDIR);
        }
        // Without blocking: a pipe that nobody reads fails (ENXIO) instead of waiting.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            fail(path, "cannot open", errno);
        }
        open_->file = std::make_unique<TemporaryFile>(fd, path);
        open_->file->release(); // the device itself: never removed
        open_->device = true;
        if (!open_->stopped) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        }
        return;
    }

    open_->target = followLinks(path);
    struct stat existing {};
    const bool exists = ::stat(open_->target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        fail(path, "cannot replace", errno);
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        fail(path, "cannot replace", S_ISDIR(existing.st_mode) ? EISDIR : EEXIST);
    }

    open_->file = createTemporary(open_->target, path);
    if (exists) {
        // Keep the old file's permissions and, where allowed, its owner.
        if (::fchmod(open_->file->fd(), existing.st_mode & 07777) != 0) {
            fail(path, "cannot set the permissions", errno);
        }
        if (::fchown(open_->file->fd(), existing.st_uid, existing.st_gid) != 0 && errno != EPERM) {
            fail(path, "cannot set the owner", errno);
        }
    }
}

AtomicFileWriter::~AtomicFileWriter() = default;

void AtomicFileWriter::write(std::string_view content) {
    if (!open_->file) {
        fail(open_->path, "cannot write", EBADF);
    }
    if (open_->stopped && open_->stopped()) {
        fail(open_->path, "cannot write", ECANCELED);
    }
    writeAll(open_->file->fd(), content, open_->path, open_->stopped);
}

void AtomicFileWriter::commit() {
    if (!open_->file) {
        fail(open_->path, "cannot write", EBADF);
    }
    const std::unique_ptr<TemporaryFile> temp = std::move(open_->file);
    const fs::path& path = open_->path;
    if (open_->device) {
        if (const int err = temp->close(); err != 0) {
            fail(path, "cannot write", err);
        }
        return;
    }
    if (::fsync(temp->fd()) != 0) {
        fail(path, "cannot write", errno);
    }
    if (const int err = temp->close(); err != 0) {
        fail(path, "cannot write", err);
    }
    if (::rename(temp->path().c_str(), open_->target.c_str()) != 0) {
        fail(path, "cannot replace", errno);
    }
    temp->release();
    // Make the rename itself durable; the new content is in place whatever this returns.
    const fs::path dir =
        open_->target.has_parent_path() ? open_->target.parent_path() : fs::path(".");
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

void writeFileAtomically(const fs::path& path, std::string_view content) {
    AtomicFileWriter writer(path);
    writer.write(content);
    writer.commit();
}
#endif // _WIN32

} // namespace sorvane
