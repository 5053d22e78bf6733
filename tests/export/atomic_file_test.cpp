// A replacement asked to stop: a writer whose reader stalls (a named pipe nobody reads), or a
// file replaced piece by piece, ends with ECANCELED when the caller says stop, the old file
// kept whole and no temporary file left.
#include "export/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using sorvane::AtomicFileWriter;
using sorvane::FileWriteError;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(AtomicFileStop, AStopEndsTheWriteAndKeepsTheOldFile) {
    const fs::path dir = fs::temp_directory_path() / ("sorvane-stop-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "keep.ics";
    std::ofstream(file, std::ios::binary) << "old\n"; // binary: "\n" on Windows too
#ifdef _WIN32
    // Windows has no named pipe in the file system: the file alone.
    const std::vector<fs::path> targets{file};
#else
    const fs::path pipe = dir / "stalled";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK); // never reads
    ASSERT_GE(reader, 0);
    const std::vector<fs::path> targets{pipe, file};
#endif

    const std::string megabyte(1 << 20, 'x');
    for (const fs::path& target : targets) {
        std::atomic<bool> stop{false};
        std::thread later([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            stop = true;
        });
        const auto start = std::chrono::steady_clock::now();
        int error = 0;
        try {
            AtomicFileWriter writer(target, [&] { return stop.load(); });
            // A pipe fills at its 64 KiB and waits; the file takes each piece until the stop
            // (about 20 pieces; a writer that never stops ends at 300 MB, not the disk's end).
            for (int piece = 0; piece < 300; ++piece) {
                writer.write(megabyte);
                if (target == file) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
            writer.commit();
        } catch (const FileWriteError& e) {
            error = e.error();
        }
        later.join();
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(error, ECANCELED) << target;
        EXPECT_LT(waited, std::chrono::seconds(3)) << target;
    }
#ifndef _WIN32
    ::close(reader);
#endif
    EXPECT_EQ(fileText(file), "old\n");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, targets.size()); // the pipe and the old file, no temporary file
    fs::remove_all(dir);
}

} // namespace
