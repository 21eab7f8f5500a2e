#include "upgrader/journal.h"

#include "upgrader/replacement.h"
#include "upgrader/upgrade_protocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {

constexpr qint64 kLargestJournal = 1024 * 1024;
const QString kHeader = QStringLiteral("pebblo-upgrade-journal 1");

const char* StateName(TJournalState state) {
    switch (state) {
    case TJournalState::Installing:
        return "installing";
    case TJournalState::Installed:
        return "installed";
    case TJournalState::RollingBack:
        return "rolling-back";
    }
    return "installing";
}

std::optional<TJournalState> StateNamed(const QString& name) {
    for (TJournalState state :
         {TJournalState::Installing, TJournalState::Installed, TJournalState::RollingBack}) {
        if (name == QLatin1String(StateName(state)))
            return state;
    }
    return std::nullopt;
}

// Names are kept percent-encoded, so that blanks in them never split a line.
QString Encoded(const QString& name) {
    return QString::fromLatin1(QUrl::toPercentEncoding(name));
}

QString Decoded(const QString& text) {
    return QUrl::fromPercentEncoding(text.toLatin1());
}

QString JournalPath(const QString& programFolder) {
    return QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kJournal));
}

bool WriteDurably(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    SyncFolder(QFileInfo(path).absolutePath());
    return true;
}

std::optional<TJournalEntry> ParseEntry(const QStringList& fields) {
    if (fields.size() != 4 || fields[0] != QLatin1String("entry"))
        return std::nullopt;
    TJournalEntry entry{Decoded(fields[2]), Decoded(fields[3]), fields[1] == QLatin1String("1")};
    if (entry.PendingName.isEmpty() || entry.TargetName.isEmpty() ||
        entry.PendingName.contains(QLatin1Char('/')) || entry.TargetName.contains(QLatin1Char('/')))
        return std::nullopt;
    return entry;
}

} // namespace

std::optional<TJournal> ReadJournal(const QString& programFolder) {
    QFile file(JournalPath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList lines =
        QString::fromUtf8(file.read(kLargestJournal)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 3 || lines[0] != kHeader || !lines[1].startsWith(QLatin1String("state ")) ||
        !lines[2].startsWith(QLatin1String("version ")))
        return std::nullopt;
    TJournal journal;
    const std::optional<TJournalState> state = StateNamed(lines[1].sliced(6));
    if (!state)
        return std::nullopt;
    journal.State = *state;
    journal.Version = lines[2].sliced(8);
    for (const QString& line : lines.sliced(3)) {
        const std::optional<TJournalEntry> entry = ParseEntry(line.split(QLatin1Char(' ')));
        if (!entry)
            return std::nullopt;
        journal.Entries.push_back(*entry);
    }
    return journal;
}

bool WriteJournal(const QString& programFolder, const TJournal& journal) {
    QString text = kHeader + QStringLiteral("\nstate %1\nversion %2\n")
                                 .arg(QLatin1String(StateName(journal.State)), journal.Version);
    for (const TJournalEntry& entry : journal.Entries)
        text += QStringLiteral("entry %1 %2 %3\n")
                    .arg(entry.HadOld ? 1 : 0)
                    .arg(Encoded(entry.PendingName), Encoded(entry.TargetName));
    return MakePrivateFolder(UpgradeFolder(programFolder)) &&
           WriteDurably(JournalPath(programFolder), text.toUtf8());
}

void DeleteJournal(const QString& programFolder) {
    QFile::remove(JournalPath(programFolder));
    SyncFolder(UpgradeFolder(programFolder));
}

void WriteUndoNotice(const QString& programFolder, TUndoReason reason, const QString& version) {
    static const char* const kReasons[] = {"not-started", "files-changed", "not-installed"};
    const QByteArray text =
        QByteArray(kReasons[static_cast<int>(reason)]) + ' ' + version.toUtf8() + '\n';
    if (MakePrivateFolder(UpgradeFolder(programFolder)))
        WriteDurably(QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kNotice)), text);
}

QString UpgradeFolder(const QString& programFolder) {
    return QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kFolder));
}

QString BackupFolder(const QString& programFolder) {
    return QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kBackup));
}

bool MakePrivateFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (info.isSymLink() || (!info.isDir() && !QDir().mkdir(folder)))
        return false;
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
}
