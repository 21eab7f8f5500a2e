#include "atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kPiece = 1024 * 1024;

std::runtime_error failure(const std::filesystem::path& file, const char* what) {
    return std::runtime_error("cannot write " + file.string() + ": " + what + ": " +
                              std::strerror(errno));
}

// A name no other writer in this process or another one picks at the same time.
std::filesystem::path temporaryBeside(const std::filesystem::path& file) {
    static std::atomic<unsigned> counter = 0;
    return file.parent_path() / ("." + file.filename().string() + ".tmp-" +
                                 std::to_string(getpid()) + "-" + std::to_string(++counter));
}

void writeAll(int fd, const Payload& body, const std::filesystem::path& file) {
    std::string piece;
    for (uint64_t offset = 0; offset < body.size(); offset += piece.size()) {
        piece.clear();
        body.read(offset, kPiece, piece);
        if (piece.empty()) {
            errno = EIO;
            throw failure(file, "its source ended early");
        }
        for (size_t done = 0; done < piece.size();) {
            const ssize_t n = write(fd, piece.data() + done, piece.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw failure(file, "write");
            done += static_cast<size_t>(n);
        }
    }
}

} // namespace

void writeFileAtomically(const std::filesystem::path& file, const Payload& body,
                         std::optional<int64_t> modified) {
    const std::filesystem::path temporary = temporaryBeside(file);
    // O_EXCL | O_NOFOLLOW: never write through something already lying at that name.
    const int fd =
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        throw failure(file, "create");
    try {
        writeAll(fd, body, file);
        if (modified) {
            const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(*modified), 0}};
            if (futimens(fd, times) != 0)
                throw failure(file, "set its time");
        }
    } catch (...) {
        close(fd);
        unlink(temporary.c_str());
        throw;
    }
    if (close(fd) != 0) {
        const std::runtime_error error = failure(file, "close");
        unlink(temporary.c_str());
        throw error;
    }
    if (rename(temporary.c_str(), file.c_str()) != 0) {
        const std::runtime_error error = failure(file, "rename");
        unlink(temporary.c_str());
        throw error;
    }
}
