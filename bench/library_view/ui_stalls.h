#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

// The longest stretch the UI thread went without turning its event loop, seen by a timer that
// fires at every turn, from Start until Stop.
class TUiStalls {
public:
    TUiStalls() {
        QObject::connect(&FTicker, &QTimer::timeout, [this] { Tick(); });
    }

    void Start() {
        FLongestMs = 0;
        FSinceTick.start();
        FTicker.start(0);
    }
    double Stop() {
        Tick();
        FTicker.stop();
        return FLongestMs;
    }

private:
    void Tick() {
        FLongestMs = std::max(FLongestMs, FSinceTick.nsecsElapsed() / 1e6);
        FSinceTick.restart();
    }

    QTimer FTicker;
    QElapsedTimer FSinceTick;
    double FLongestMs = 0;
};
