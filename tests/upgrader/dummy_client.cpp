// Stands in for the client in the upgrader's tests. Each run notes in "runs.log" beside the
// program file a start line (name, arguments, attributes, priority) and an end line (how many
// pending files were left). Started with "/hold" it runs until a file "release" appears.
// Started by an upgrader that awaits its confirmation, it confirms at once, unless its image
// ends with a marker that makes it a broken version: "exits-at-once" ends without confirming,
// "never-confirms" runs on without a word until it is stopped.
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void Note(const fs::path& folder, const std::string& line) {
    const int fd = ::open((folder / "runs.log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const std::string text = line + "\n";
    if (fd >= 0 && ::write(fd, text.data(), text.size()) >= 0)
        ::close(fd);
}

std::string Attributes(const fs::path& file) {
    char value[32] = {};
    const ssize_t size = ::getxattr(file.c_str(), "user.DOSATTRIB", value, sizeof value - 1);
    return size > 0 ? std::string(value, static_cast<size_t>(size)) : "-";
}

int PendingFiles(const fs::path& folder) {
    int count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        count += entry.path().extension() == ".uTMP";
    return count;
}

bool ImageEndsWith(const fs::path& self, const std::string& marker) {
    std::ifstream image(self, std::ios::binary);
    std::ostringstream bytes;
    bytes << image.rdbuf();
    const std::string content = bytes.str();
    return content.size() >= marker.size() &&
           content.compare(content.size() - marker.size(), marker.size(), marker) == 0;
}

// What the real client does once its window is up; false when nobody waits for it.
bool Confirm() {
    const char* socket = std::getenv("PEBBLO_UPGRADE_CONFIRM_FD");
    if (socket == nullptr)
        return false;
    const std::string confirmation = "started\n";
    ::send(std::atoi(socket), confirmation.data(), confirmation.size(), MSG_NOSIGNAL);
    ::close(std::atoi(socket));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    const fs::path self = fs::absolute(argv[0]);
    const fs::path folder = self.parent_path();
    std::string arguments;
    for (int i = 1; i < argc; ++i)
        arguments += (i > 1 ? " " : "") + std::string(argv[i]);
    Note(folder, "start|" + self.filename().string() + "|" + arguments + "|" + Attributes(self) +
                     "|" + std::to_string(::getpriority(PRIO_PROCESS, 0)));
    if (ImageEndsWith(self, "exits-at-once"))
        return 3;
    if (ImageEndsWith(self, "never-confirms")) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    if (Confirm())
        Note(folder, "confirmed|" + self.filename().string());
    if (arguments == "/hold") {
        while (!fs::exists(folder / "release"))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } else {
        // Long enough that a caller which did not wait for us would show in the log's order.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    Note(folder,
         "end|" + self.filename().string() + "|pending=" + std::to_string(PendingFiles(folder)));
    return 0;
}
