#pragma once

#include "common/common_method.h"
#include "common/date_time.h"
#include "common/failure.h"
#include "common/program_folder.h"
#include "library/library_connection.h"
#include "support/failure_of.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Failed comparisons show the texts, not their UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A program folder of its own for each test, and a clock the test can set.
class LibraryFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FFolder.isValid());
        SetProgramFolderForTesting(FFolder.path());
    }
    void TearDown() override {
        SetProgramFolderForTesting(QString());
        TClock::SetNowForTesting(nullptr);
    }

    QString DatabasePath() const { return FFolder.filePath(QStringLiteral("config.mqb")); }

    QByteArray DatabaseBytes() const {
        QFile file(DatabasePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void WriteDatabaseBytes(const QByteArray& bytes) const {
        QFile file(DatabasePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static void PinNow(const QDateTime& now) {
        TClock::SetNowForTesting([now] { return now; });
    }

private:
    QTemporaryDir FFolder;
};

// A fresh library file made as the client makes it, with this thread's connection to it.
class LibraryDatabase : public LibraryFolder {
protected:
    void SetUp() override {
        LibraryFolder::SetUp();
        QString errorText;
        ASSERT_TRUE(TCommonMethod::CreateDatabase(errorText)) << errorText.toStdString();
        FConnection = std::make_unique<TLibraryConnection>(DatabasePath());
    }
    void TearDown() override {
        FConnection.reset();
        LibraryFolder::TearDown();
    }

    QSqlDatabase Database() const { return FConnection->Database(); }

    std::unique_ptr<TLibraryConnection> FConnection;
};
