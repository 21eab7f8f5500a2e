#pragma once

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

// A temporary program folder in which a small dummy program stands in for the client; it notes
// its runs in "runs.log" (see dummy_client.cpp).
class TProgramFolder {
public:
    explicit TProgramFolder(const QString& subFolder = {})
        : FFolder(FRoot.path() + QLatin1Char('/') + subFolder) {
        if (!FFolder.endsWith(QLatin1Char('/')))
            FFolder += QLatin1Char('/');
        QDir().mkpath(FFolder);
    }

    const QString& Folder() const { return FFolder; }
    QString Path(const QString& name) const { return FFolder + name; }

    // The dummy program's bytes; a marker after them tells versions apart and changes nothing
    // of how it runs.
    static QByteArray ClientImage(const QByteArray& marker = {}) {
        QFile dummy(QStringLiteral(DUMMY_CLIENT_PATH));
        return dummy.open(QIODevice::ReadOnly) ? dummy.readAll() + marker : QByteArray();
    }

    bool Write(const QString& name, const QByteArray& bytes,
               QFileDevice::Permissions permissions = QFileDevice::ReadOwner |
                                                      QFileDevice::WriteOwner |
                                                      QFileDevice::ReadGroup |
                                                      QFileDevice::ReadOther) const {
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
               file.setPermissions(permissions);
    }

    bool InstallClient(const QString& name, const QByteArray& marker = {}) const {
        return Write(name, ClientImage(marker),
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                         QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                         QFileDevice::ExeOther);
    }

    QByteArray Contents(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The list of verified files the client leaves for the upgrader, for these pending files as
    // they are now.
    bool WriteVerifiedList(const QStringList& pendingNames, const QString& version = "3.8") const {
        QByteArray list = "pebblo-upgrade 1\nversion " + version.toUtf8() + '\n';
        for (const QString& name : pendingNames) {
            const QByteArray bytes = Contents(name);
            list += "file " + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() +
                    ' ' + QByteArray::number(bytes.size()) + ' ' + name.toUtf8() + '\n';
        }
        QDir().mkpath(Path(QStringLiteral("upgrade")));
        return Write(QStringLiteral("upgrade/verified-files"), list);
    }

    // The files of the folder itself, without the log and the upgrade's bookkeeping.
    QStringList Files() const {
        QStringList names = QDir(FFolder).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("runs.log"));
        return names;
    }

    // The upgrade's bookkeeping that is left: "notice <text>", "journal", "backup",
    // "verified-files"; the lock, which stays for good, is not counted.
    QStringList Bookkeeping() const {
        QStringList left;
        const QDir upgrade(Path(QStringLiteral("upgrade")));
        for (const QString& name : upgrade.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (name == QLatin1String("notice"))
                left.append(
                    QStringLiteral("notice ") +
                    QString::fromUtf8(Contents(QStringLiteral("upgrade/notice"))).trimmed());
            else if (name != QLatin1String("upgrader.lock"))
                left.append(name);
        }
        return left;
    }

    QStringList Log() const {
        return QString::fromUtf8(Contents(QStringLiteral("runs.log")))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Waits until the log holds Line Times times; a program the upgrader started is not our
    // child.
    bool WaitForLog(const QString& line, qsizetype times = 1) const {
        const QDeadlineTimer deadline(20000);
        while (Log().count(line) < times) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(10);
        }
        return true;
    }

private:
    QTemporaryDir FRoot;
    QString FFolder;
};

// Starts the built upgrader as the client does, and returns it running.
inline void StartUpgrader(QProcess& upgrader, const QStringList& arguments) {
    upgrader.setProcessChannelMode(QProcess::ForwardedChannels);
    upgrader.start(QStringLiteral(UPGRADER_PATH), arguments);
}

// Runs the upgrader to its end; its exit code, or -1 when it did not end in time.
inline int RunUpgrader(const QStringList& arguments) {
    QProcess upgrader;
    StartUpgrader(upgrader, arguments);
    if (!upgrader.waitForFinished(30000)) {
        upgrader.kill();
        upgrader.waitForFinished();
        return -1;
    }
    return upgrader.exitStatus() == QProcess::NormalExit ? upgrader.exitCode() : -1;
}
