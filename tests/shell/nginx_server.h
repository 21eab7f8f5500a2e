#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's nginx run as a plain process that serves one site file, with its pid file, log and
// temporary files in a folder of its own.
class TNginxServer {
public:
    static constexpr const char* kProgram = "/usr/sbin/nginx";

    ~TNginxServer();
    // Starts nginx with the server block in siteFile, which listens on 127.0.0.1:port; true once
    // nginx answers there.
    bool Start(const QString& siteFile, int port);
    QString ErrorLog() const;

private:
    QTemporaryDir FFolder;
    QProcess FProcess;
};

// A loopback port nothing listens on at the moment.
int FreeLoopbackPort();
