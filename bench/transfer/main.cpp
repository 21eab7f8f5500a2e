// Measures the upgrade transfer component against curl on the same loopback download into a
// file, alternating the two in each round: with the default 4096-byte blocks and with 64 KiB
// blocks, progress reported to the UI thread after every block.
//
//   bench_transfer [megabytes=200] [rounds=5]
//
// It starts its own demo catalogue.
#include "platform/ui_dispatcher.h"
#include "support/bench_setup.h"
#include "support/bench_verdict.h"
#include "support/curl_fetch.h"
#include "support/event_wait.h"
#include "upgrade/au_http.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <utility>
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

TRun RunCurl(const QString& host, int megabytes, const QString& target) {
    TRun run;
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    run.Done = CurlFetchesBlob(host, megabytes, target);
    run.Seconds = clock.nsecsElapsed() / 1e9;
    run.CpuSeconds = CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    return run;
}

// Done only when the component said so, in time, and the whole file came.
TRun RunComponent(const QString& url, const QString& target, int megabytes, int blockSize) {
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
    http.OnSkipped = failed;
    http.OnConnectionLost = [&loop](TauCustomHTTP*, const QString&, int, int, QIODevice*) {
        loop.quit();
    };
    http.OnHTTPError = [&loop](TauCustomHTTP*, int, QIODevice*) {
        loop.quit();
    };
    http.OnOutputFailed = [&loop](TauCustomHTTP*, const QString&) {
        loop.quit();
    };
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    const bool inTime = http.Read() && ExecWithin(loop, TransferDeadlineMs(megabytes));
    run.Seconds = clock.nsecsElapsed() / 1e9;
    run.CpuSeconds = CpuSeconds(RUSAGE_SELF) - cpuBefore;
    run.Done = run.Done && inTime && QFileInfo(target).size() == BlobBytes(megabytes);
    QFile::remove(target);
    return run;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const int megabytes = CountArgument(argc, argv, 1, 200);
    const int rounds = CountArgument(argc, argv, 2, 5);

    TBenchVerdict verdict;
    TBenchCatalogue catalogue;
    const QString host = catalogue.Host();
    if (!verdict.Require(!host.isEmpty(), "the demo catalogue did not start") ||
        !verdict.Require(rounds >= 1, "no rounds asked for"))
        return verdict.ExitStatus();
    const QString blob = BlobUrl(host, megabytes);
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("blob.bin"));
    TUiDispatcher dispatcher;

    std::vector<TRun> curl, small, large;
    for (int round = 0; round < rounds; ++round) {
        curl.push_back(RunCurl(host, megabytes, target));
        if (!verdict.Require(curl.back().Done, "curl's download failed"))
            return verdict.ExitStatus();
        small.push_back(RunComponent(blob, target, megabytes, 4096));
        if (!verdict.Require(small.back().Done, "the download in 4096-byte blocks failed"))
            return verdict.ExitStatus();
        large.push_back(RunComponent(blob, target, megabytes, 65536));
        if (!verdict.Require(large.back().Done, "the download in 64 KiB blocks failed"))
            return verdict.ExitStatus();
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
    const std::string download = "download of " + std::to_string(megabytes) +
                                 " MiB into a file, median of " + std::to_string(rounds) +
                                 " rounds:";
    std::printf("%s\n", download.c_str());
    const std::pair<const char*, const std::vector<TRun>*> ways[] = {
        {"curl", &curl}, {"4096-byte blocks", &small}, {"64 KiB blocks", &large}};
    for (const auto& [way, runs] : ways) {
        verdict.Figure(std::string("  ") + way, rate(*runs), "MiB/s");
        verdict.Figure(std::string("  ") + way + ", processor time", cpu(*runs), "s", 2);
    }
    verdict.Target("  4096-byte blocks against curl", rate(small) / rate(curl), "",
                   TBenchVerdict::TAim::AtLeast, 0.5, 2);
    verdict.Target("  64 KiB blocks against curl", rate(large) / rate(curl), "",
                   TBenchVerdict::TAim::AtLeast, 0.9, 2);
    return verdict.ExitStatus();
}
