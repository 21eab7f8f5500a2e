#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

inline bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The X windows whose title is Title, as xdotool finds them; Options such as "--onlyvisible".
inline QStringList WindowsNamed(const QString& title, const QStringList& options = {}) {
    QProcess search;
    search.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("search")} + options +
                                                QStringList{QStringLiteral("--name"), title});
    search.waitForFinished(5000);
    return QString::fromLocal8Bit(search.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The environment of a real client on the test's X display: the hosts it talks to, and a
// browser profile under Home so that no other running client shares its storage.
inline QProcessEnvironment ClientEnvironment(const QTemporaryDir& home, const QString& vendorHost,
                                             const QString& catalogueHost) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath("data"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath("cache"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));
    environment.insert(QStringLiteral("PEBBLO_VENDOR_HOST"), vendorHost);
    environment.insert(QStringLiteral("PEBBLO_CATALOGUE_HOST"), catalogueHost);
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
                       QStringLiteral("--disable-gpu"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}

// The real client binary in a fresh program folder of its own, on the test's X display.
class TClientProcess {
public:
    explicit TClientProcess(const QString& vendorHost) {
        QFile::copy(QStringLiteral(PEBBLO_PROGRAM_DIR "/pebblo"), FFolder.filePath("pebblo"));
        FProcess.setProcessEnvironment(
            ClientEnvironment(FHome, vendorHost, QStringLiteral("127.0.0.1:9")));
        FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~TClientProcess() {
        if (FProcess.state() == QProcess::NotRunning)
            return;
        FProcess.terminate();
        if (!FProcess.waitForFinished(15000)) {
            FProcess.kill();
            FProcess.waitForFinished();
        }
    }

    bool Start() {
        FProcess.start(FFolder.filePath("pebblo"), {});
        return FProcess.waitForStarted();
    }
    // True when the client ended by itself, normally, within the time.
    bool Ended(int milliseconds) {
        return FProcess.waitForFinished(milliseconds) &&
               FProcess.exitStatus() == QProcess::NormalExit && FProcess.exitCode() == 0;
    }
    QString FilePath(const QString& name) const { return FFolder.filePath(name); }

private:
    QTemporaryDir FFolder;
    QTemporaryDir FHome;
    QProcess FProcess;
};
