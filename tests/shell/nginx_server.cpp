#include "nginx_server.h"

#include "support/pump_events.h"

#include <QFile>
#include <csignal>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

TNginxServer::~TNginxServer() {
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.terminate();
    FProcess.waitForFinished(10000);
}

bool TNginxServer::Start(const QString& siteFile, int port) {
    const QString folder = FFolder.path();
    QString configuration;
    // Started by root, nginx would hand its workers to "nobody", who cannot read this folder.
    if (geteuid() == 0)
        configuration += QStringLiteral("user root;\n");
    configuration += QStringLiteral("pid %1/nginx.pid;\nworker_processes 1;\nevents {}\nhttp {\n"
                                    "    access_log off;\n")
                         .arg(folder);
    for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        configuration +=
            QStringLiteral("    %1_temp_path %2/%1;\n").arg(QLatin1String(kind), folder);
    configuration += QStringLiteral("    include \"%1\";\n}\n").arg(siteFile);
    QFile file(FFolder.filePath(QStringLiteral("nginx.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(configuration.toUtf8()) < 0)
        return false;
    file.close();
    // Should the test process die, nginx goes with it, instead of holding the test's output
    // open and the test runner waiting on it.
    FProcess.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    FProcess.start(QString::fromLatin1(kProgram),
                   {QStringLiteral("-p"), folder, QStringLiteral("-c"), file.fileName(),
                    QStringLiteral("-e"), FFolder.filePath(QStringLiteral("error.log")),
                    QStringLiteral("-g"), QStringLiteral("daemon off;")});
    if (!FProcess.waitForStarted())
        return false;
    httplib::Client client("127.0.0.1", port);
    bool answered = false;
    PumpEventsUntil([&] {
        answered = static_cast<bool>(client.Head("/"));
        return answered || FProcess.state() == QProcess::NotRunning;
    });
    return answered;
}

QString TNginxServer::ErrorLog() const {
    QFile log(FFolder.filePath(QStringLiteral("error.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll())
                                         : QStringLiteral("(no error log)");
}

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        close(fd);
    return port;
}
