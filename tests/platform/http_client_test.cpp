#include "common/failure.h"
#include "common/gbk_text.h"
#include "loopback_server.h"
#include "platform/http_client.h"
#include "support/failure_of.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <thread>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// The notifications of one transfer and the threads they arrived on.
struct TRecordedProgress {
    std::vector<qint64> Begins;
    std::vector<qint64> Works;
    std::vector<std::thread::id> Threads;

    THttpProgress Sinks() {
        return {[this](qint64 size) {
                    Begins.push_back(size);
                    Threads.push_back(std::this_thread::get_id());
                },
                [this](qint64 soFar) {
                    Works.push_back(soFar);
                    Threads.push_back(std::this_thread::get_id());
                },
                {},
                {}};
    }
};

class HttpClient : public ::testing::Test {
protected:
    QByteArray GetIntoBuffer(const char* path, const THttpProgress& progress = {}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        THttpClient().Get(FServer.Url(path), buffer, progress);
        return buffer.data();
    }

    TLoopbackServer FServer;
};

TEST_F(HttpClient, GetReturnsTheBodySendingTheClientsHeadersOverHttp11) {
    EXPECT_EQ(THttpClient().Get(FServer.Url("/ok")), QByteArray("1|name|body|&#97|p.gif"));
    EXPECT_EQ(FServer.LastVersion, "HTTP/1.1");
    EXPECT_EQ(FServer.LastAccept, "text/html, */*");
    EXPECT_EQ(FServer.LastUserAgent, "Mozilla/3.0 (compatible; Indy Library)");
}

TEST_F(HttpClient, FailureStatusesFailWithTheStatusLine) {
    EXPECT_EQ(FailureOf([&] { THttpClient().Get(FServer.Url("/missing")); }),
              QStringLiteral("HTTP/1.1 404 Not Found"));
    EXPECT_EQ(FailureOf([&] { THttpClient().Get(FServer.Url("/unavailable")); }),
              QStringLiteral("HTTP/1.1 503 Service Unavailable"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(FailureOf([&] { THttpClient().Get(FServer.Url("/missing"), buffer); }),
              QStringLiteral("HTTP/1.1 404 Not Found"));
    EXPECT_TRUE(buffer.data().isEmpty());
}

TEST_F(HttpClient, RedirectionsAreFailuresAndNotFollowed) {
    EXPECT_EQ(FailureOf([&] { THttpClient().Get(FServer.Url("/moved")); }),
              QStringLiteral("HTTP/1.1 302 Found"));
    EXPECT_EQ(FServer.OkRequests, 0);
}

TEST_F(HttpClient, TransferFailuresCarryTheTransferLibrarysText) {
    EXPECT_EQ(FailureOf([&] { GetIntoBuffer("/truncated"); }),
              QStringLiteral("transfer closed with 90 bytes remaining to read"));

    QString closedServer;
    {
        const TLoopbackServer gone;
        closedServer = gone.Url("");
    }
    const QString refused = FailureOf([&] { THttpClient().Get(closedServer + "/ok"); });
    const QString port = closedServer.section(QLatin1Char(':'), -1);
    EXPECT_TRUE(
        refused.startsWith(QStringLiteral("Failed to connect to 127.0.0.1 port %1 ").arg(port)))
        << refused.toStdString();
    EXPECT_TRUE(refused.endsWith(QStringLiteral("Couldn't connect to server")))
        << refused.toStdString();
}

TEST_F(HttpClient, OnlyHttpAddressesAreFetched) {
    const QString failure =
        FailureOf([] { THttpClient().Get(QStringLiteral("file:///etc/hostname")); });
    EXPECT_TRUE(failure.contains(QStringLiteral("\"file\" not supported")))
        << failure.toStdString();
}

TEST_F(HttpClient, BlanksAndChineseInTheAddressAreSentAsEncodedGbk) {
    EXPECT_EQ(THttpClient().Get(FServer.Url("/names/") + QStringLiteral("游戏 1.swf")),
              QByteArray("named"));
    EXPECT_EQ(QByteArray::fromStdString(FServer.LastPath),
              ToGbk(QStringLiteral("/names/游戏 1.swf")));
}

TEST_F(HttpClient, AWorkerThreadGetsItsProgressOnItsOwnThread) {
    TRecordedProgress progress;
    QByteArray body;
    std::thread::id workerId;
    std::thread worker([&] {
        workerId = std::this_thread::get_id();
        body = GetIntoBuffer("/big", progress.Sinks());
    });
    worker.join();
    EXPECT_EQ(body.size(), 200000);
    EXPECT_EQ(progress.Begins, std::vector<qint64>{200000});
    ASSERT_FALSE(progress.Works.empty());
    EXPECT_TRUE(std::is_sorted(progress.Works.begin(), progress.Works.end()));
    EXPECT_EQ(progress.Works.back(), 200000);
    EXPECT_EQ(std::count(progress.Threads.begin(), progress.Threads.end(), workerId),
              static_cast<std::ptrdiff_t>(progress.Threads.size()));
}

TEST_F(HttpClient, TheUiThreadGetsItsProgressOnTheUiThreadBeforeTheCallReturns) {
    TRecordedProgress progress;
    EXPECT_EQ(GetIntoBuffer("/big", progress.Sinks()).size(), 200000);
    EXPECT_EQ(progress.Begins, std::vector<qint64>{200000});
    ASSERT_FALSE(progress.Works.empty());
    EXPECT_EQ(progress.Works.back(), 200000);
    EXPECT_EQ(
        std::count(progress.Threads.begin(), progress.Threads.end(), std::this_thread::get_id()),
        static_cast<std::ptrdiff_t>(progress.Threads.size()));
}

TEST_F(HttpClient, UnknownAndZeroSizesAreReported) {
    TRecordedProgress chunked;
    EXPECT_EQ(GetIntoBuffer("/chunked", chunked.Sinks()), QByteArray("abc"));
    EXPECT_EQ(chunked.Begins, std::vector<qint64>{-1});
    EXPECT_EQ(chunked.Works.back(), 3);

    TRecordedProgress empty;
    EXPECT_EQ(GetIntoBuffer("/empty", empty.Sinks()), QByteArray());
    EXPECT_EQ(empty.Begins, std::vector<qint64>{0});
    EXPECT_TRUE(empty.Works.empty());
}

TEST_F(HttpClient, AStreamThatCannotTakeTheBodyFailsTheTransfer) {
    QFile full(QStringLiteral("/dev/full"));
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    EXPECT_EQ(FailureOf([&] { THttpClient().Get(FServer.Url("/big"), full); }),
              QStringLiteral("No space left on device"));
}

TEST_F(HttpClient, TheUiThreadHandlesEventsAndFurtherRequestsWhileItWaits) {
    // /hold answers only once released; the release comes from a timer that can fire only if
    // the event loop runs during the wait, and it first makes a request of its own.
    QByteArray nested;
    QTimer::singleShot(0, [&] {
        nested = THttpClient().Get(FServer.Url("/ok"));
        FServer.ReleaseHeld();
    });
    EXPECT_EQ(THttpClient().Get(FServer.Url("/hold")), QByteArray("released"));
    EXPECT_EQ(nested, QByteArray("1|name|body|&#97|p.gif"));
}

TEST_F(HttpClient, AnAbandonedTransferEndsWithoutWaitingForTheServer) {
    std::atomic<bool> abandoned = false;
    QTimer::singleShot(100, [&abandoned] { abandoned = true; });
    THttpProgress progress;
    progress.IsAbandoned = [&abandoned] {
        return abandoned.load();
    };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_NE(FailureOf([&] { THttpClient().Get(FServer.Url("/hold"), buffer, progress); }),
              QStringLiteral("no failure"));
    EXPECT_TRUE(buffer.data().isEmpty());
    FServer.ReleaseHeld();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
