#pragma once

#include "library/flash_statements.h"
#include "library/library_list.h"

#include <QList>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// Reads the lists of the library pages on a thread of its own, with a connection of its own, so
// that the window never waits for the library: each list in one pass of its statement, leaving
// out the rows whose picture file is missing, in batches as it goes; then what the library knows
// of those games beyond their rows (the pinyin of their names, spelling those stored without,
// and their plays). Results reach the UI thread as signals, only those of the list asked last.
class TLibraryReader : public QObject {
    Q_OBJECT
public:
    TLibraryReader(QString databasePath, QString programFolder, QObject* parent = nullptr);
    // Waits for the list being read to be abandoned, at the next row.
    ~TLibraryReader() override;

    // Starts reading the page's list; nothing more arrives of the list read before.
    void Read(TLibraryPage page);

signals:
    void RowsRead(const TRowBatch& batch);
    // The list is complete.
    void ListRead(const TListEnd& end);
    // The list's statement failed with the engine's message.
    void ReadFailed(const QString& message);

private:
    struct TJob {
        int Serial = 0;
        TLibraryPage Page = TLibraryPage::All;
    };
    struct TListed {
        QStringList Ids;
        QStringList Names;
    };

    void Run();
    void ReadList(const QSqlDatabase& database, const TJob& job);
    QList<TGameDetails> DetailsOf(const QSqlDatabase& database, const TListed& listed,
                                  int serial) const;
    bool Abandoned(int serial) const;
    // Runs Deliver on the UI thread while Serial's list is still the one asked for.
    template <typename Deliver> void Post(int serial, Deliver&& deliver);

    QString FDatabasePath;
    QString FProgramFolder;
    std::atomic<int> FSerial{0};
    std::atomic<bool> FStopping{false};
    std::mutex FLock;
    std::condition_variable FWake;
    std::optional<TJob> FJob;
    std::thread FThread;
};
