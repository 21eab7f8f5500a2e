// Measures the upgrade transfer component against curl on the same loopback download into a
// file, alternating the two in each round: with the default 4096-byte blocks and with 64 KiB
// blocks, progress reported to the UI thread after every block.
//
//   bench_transfer [megabytes=200] [rounds=5]
//
// It starts its own demo catalogue.
#include "platform/ui_dispatcher.h"
#include "support/bench_setup.h"
#include "upgrade/au_http.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

struct TRun {
    double Seconds = 0;
    // Processor time of the whole process (both threads), user and system.
    double CpuSeconds = 0;
    long long Blocks = 0;
    bool Done = false;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::vector<double> Seconds(const std::vector<TRun>& runs, double TRun::*field) {
    std::vector<double> values;
    for (const TRun& run : runs)
        values.push_back(run.*field);
    return values;
}

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TRun RunCurl(const QString& url, const QString& target) {
    TRun run;
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    run.Done = QProcess::execute(QStringLiteral("curl"),
                                 {QStringLiteral("-s"), QStringLiteral("-o"), target, url}) == 0;
    run.Seconds = clock.nsecsElapsed() / 1e9;
    run.CpuSeconds = CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    QFile::remove(target);
    return run;
}

TRun RunComponent(const QString& url, const QString& target, int blockSize) {
    TRun run;
    TauCustomHTTP http;
    http.URL = url;
    http.OutputFileName = target;
    http.SetTransferBufferSize(blockSize);
    QEventLoop loop;
    http.OnTransferProgress = [&run](TauCustomHTTP*, const QString&, int, int, int, int, quint8,
                                     float, QIODevice*) {
        ++run.Blocks;
    };
    http.OnDone = [&](TauCustomHTTP*, const QString&, int, QIODevice*) {
        run.Done = true;
        loop.quit();
    };
    const auto failed = [&loop](TauCustomHTTP*) {
        loop.quit();
    };
    http.OnNoResponse = failed;
    http.OnConnectionLost = [&loop](TauCustomHTTP*, const QString&, int, int, QIODevice*) {
        loop.quit();
    };
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    http.Read();
    loop.exec();
    run.Seconds = clock.nsecsElapsed() / 1e9;
    run.CpuSeconds = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    QFile::remove(target);
    return run;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int megabytes = CountArgument(argc, argv, 1, 200);
    const int rounds = CountArgument(argc, argv, 2, 5);

    QProcess catalogue;
    const QString host = StartBenchCatalogue(catalogue);
    if (host.isEmpty())
        return 1;
    const QString blob = QStringLiteral("http://%1/bench/blob?mb=%2").arg(host).arg(megabytes);
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("blob.bin"));
    TUiDispatcher dispatcher;

    std::vector<TRun> curl, small, large;
    for (int round = 0; round < rounds; ++round) {
        curl.push_back(RunCurl(blob, target));
        small.push_back(RunComponent(blob, target, 4096));
        large.push_back(RunComponent(blob, target, 65536));
        if (!curl.back().Done || !small.back().Done || !large.back().Done) {
            std::printf("round %d: a transfer failed\n", round + 1);
            return 1;
        }
        std::printf("round %d: curl %.3f s, 4096-byte blocks %.3f s (%lld reports), "
                    "64 KiB blocks %.3f s (%lld reports)\n",
                    round + 1, curl.back().Seconds, small.back().Seconds, small.back().Blocks,
                    large.back().Seconds, large.back().Blocks);
    }
    const auto rate = [megabytes](const std::vector<TRun>& runs) {
        return megabytes / Median(Seconds(runs, &TRun::Seconds));
    };
    const auto cpu = [](const std::vector<TRun>& runs) {
        return Median(Seconds(runs, &TRun::CpuSeconds));
    };
    std::printf("download of %d MB into a file, median of %d rounds:\n"
                "  curl:             %7.1f MB/s, %.2f s of processor time\n"
                "  4096-byte blocks: %7.1f MB/s, %.2f s of processor time, ratio %.2f "
                "(target >= 0.50)\n"
                "  64 KiB blocks:    %7.1f MB/s, %.2f s of processor time, ratio %.2f "
                "(target >= 0.90)\n",
                megabytes, rounds, rate(curl), cpu(curl), rate(small), cpu(small),
                rate(small) / rate(curl), rate(large), cpu(large), rate(large) / rate(curl));
    catalogue.terminate();
    catalogue.waitForFinished();
    return 0;
}
