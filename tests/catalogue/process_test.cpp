#include "catalogue_fixture.h"
#include "swf_games.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The real executable as scripts start it, reading its first output line for the port.
class ServerProcess {
public:
    // errorFile: where its standard error goes; inherited when empty.
    explicit ServerProcess(std::vector<std::string> arguments, const std::string& errorFile = {}) {
        int out[2];
        if (pipe(out) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (!errorFile.empty())
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        arguments.insert(arguments.begin(), CATALOGUE_EXECUTABLE);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const int failed =
            posix_spawn(&pid_, CATALOGUE_EXECUTABLE, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        output_ = out[0];
        if (failed)
            throw std::runtime_error("cannot start " CATALOGUE_EXECUTABLE);
    }

    ~ServerProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(output_);
    }

    // The first line of standard output, or empty when none comes within five seconds.
    std::string firstLine() {
        std::string line;
        pollfd wait{output_, POLLIN, 0};
        char c;
        while (poll(&wait, 1, 5000) == 1 && read(output_, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }

    // Exit status after the signal, or -1 when the process is still running after 3 s.
    int stopWith(int signal) {
        kill(pid_, signal);
        return waitForExit();
    }

    int waitForExit() {
        for (int tries = 0; tries < 300; ++tries) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

std::filesystem::path dataFolder(const std::string& updateConf) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("catalogue-data-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "files");
    std::ofstream(folder / "update.conf") << updateConf;
    std::ofstream(folder / "files" / "new.txt") << "fresh content";
    return folder;
}

} // namespace

TEST(CatalogueProcess, PrintsItsPortServesTheDataFolderAndStopsOnSigterm) {
    const std::filesystem::path data = dataFolder(
        "# offered to the upgrade tests\nversion=9.9\nfiles=new.txt\nmessage=One\\nTwo\n");
    ServerProcess server({"--port", "0", "--data", data.string()});
    const std::string port = server.firstLine();
    ASSERT_FALSE(port.empty());
    httplib::Client client("127.0.0.1", std::stoi(port));
    const httplib::Result info = client.Get("/down/update.xml");
    ASSERT_TRUE(info);
    EXPECT_NE(info->body.find("#version=9.9\r\n"), std::string::npos);
    EXPECT_NE(info->body.find("#message={One\nTwo}"), std::string::npos);
    EXPECT_EQ(client.Get("/down/files/new.txt")->body, "fresh content");
    EXPECT_EQ(client.Get("/gamesoft/left.asp")->status, 200);
    EXPECT_EQ(server.stopWith(SIGTERM), 0);
    std::filesystem::remove_all(data);
}

TEST(CatalogueProcess, ListsTheGamesThatFailOnPurposeOnlyWithTheFaultsSwitch) {
    for (const bool faults : {false, true}) {
        SCOPED_TRACE(faults ? "--faults" : "no switch");
        std::vector<std::string> arguments = {"--port", "0"};
        if (faults)
            arguments.push_back("--faults");
        ServerProcess server(arguments);
        const std::string port = server.firstLine();
        ASSERT_FALSE(port.empty());
        httplib::Client client("127.0.0.1", std::stoi(port));
        const httplib::Result tree = client.Get("/gamesoft/left.asp");
        ASSERT_TRUE(tree);
        EXPECT_EQ(decodeGbk(tree->body).find("测试专区") != std::string::npos, faults);
        const std::string testCategory =
            "/gamesoft/GameList.asp?classid=" + std::to_string(kTestCategoryId);
        EXPECT_EQ(client.Get(testCategory)->status, faults ? 200 : 404);
        EXPECT_EQ(client.Get("/GAMESOFT/GAMEINFO.ASP?ID=901")->status, faults ? 200 : 404);
        EXPECT_EQ(client.Get("/GAMESOFT/GAMEINFO.ASP?ID=1001")->status, 200);
        EXPECT_EQ(server.stopWith(SIGTERM), 0);
    }
}

TEST(CatalogueProcess, StopsOnSigintAndRefusesBadDataOrArguments) {
    ServerProcess interrupted({"--port", "0"});
    ASSERT_FALSE(interrupted.firstLine().empty());
    EXPECT_EQ(interrupted.stopWith(SIGINT), 0);

    const std::filesystem::path data = dataFolder("colour=red\n");
    ServerProcess badData({"--data", data.string()});
    EXPECT_EQ(badData.waitForExit(), 1);
    std::filesystem::remove_all(data);

    ServerProcess badPort({"--port", "eighty"});
    EXPECT_EQ(badPort.waitForExit(), 2);
}

TEST(CatalogueProcess, ServesAFolderOfGamesAndNamesTheFilesItLeavesOut) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("catalogue-games-" + std::to_string(getpid()));
    std::filesystem::create_directories(root);
    const swf::Bytes movie = swf::makeGame(swf::GameKind::Windmill);
    std::ofstream(root / "windmill.swf", std::ios::binary)
        .write(reinterpret_cast<const char*>(movie.data()), std::streamsize(movie.size()));
    std::ofstream(root / "broken.swf") << "CWS";
    const std::filesystem::path index = root / "elsewhere.sqlite";
    const std::filesystem::path report = root / "report.txt";
    auto readReport = [&] {
        std::ifstream in(report);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const bool rescan : {false, true}) {
        SCOPED_TRACE(rescan ? "--rescan" : "first start");
        std::vector<std::string> arguments = {"--port",      "0",       "--games",
                                              root.string(), "--index", index.string()};
        if (rescan)
            arguments.push_back("--rescan");
        ServerProcess server(arguments, report.string());
        const std::string port = server.firstLine();
        ASSERT_FALSE(port.empty());
        // The report is written before the port.
        const std::string text = readReport();
        EXPECT_NE(text.find("left out broken.swf"), std::string::npos) << text;
        EXPECT_NE(text.find("1 games (0 unchanged, 2 read"), std::string::npos) << text;
        EXPECT_TRUE(std::filesystem::exists(index));
        httplib::Client client("127.0.0.1", std::stoi(port));
        const httplib::Result tree = client.Get("/gamesoft/left.asp");
        ASSERT_TRUE(tree);
        EXPECT_NE(decodeGbk(tree->body).find("未分类"), std::string::npos);
        EXPECT_EQ(client.Get("/gamesoft/flash/g1.swf")->body.size(), movie.size());
        EXPECT_EQ(server.stopWith(SIGTERM), 0);
    }
    std::filesystem::remove_all(root);
}
