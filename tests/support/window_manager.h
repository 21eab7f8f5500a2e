#pragma once

#include "support/x11_client.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <memory>

// A window manager (openbox) on the test's display for as long as the object lives: without one,
// windows are neither framed, maximised, minimised nor made full screen. One already running is
// used as it is and left running.
class TWindowManager {
public:
    TWindowManager() {
        TOtherX11Client x11;
        if (x11.WindowManagerRunning())
            return;
        FProcess = std::make_unique<QProcess>();
        FProcess->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        FProcess->waitForStarted();
        QDeadlineTimer deadline(10000);
        while (!x11.WindowManagerRunning() && !deadline.hasExpired())
            QThread::msleep(20);
    }
    ~TWindowManager() {
        if (!FProcess)
            return;
        FProcess->terminate();
        FProcess->waitForFinished();
    }
    TWindowManager(const TWindowManager&) = delete;
    TWindowManager& operator=(const TWindowManager&) = delete;

    bool Running() const { return TOtherX11Client().WindowManagerRunning(); }

private:
    std::unique_ptr<QProcess> FProcess;
};
