// Test entry for widget tests: an offscreen QApplication that can also host browser panes.
#include "common/leak_check.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    const QByteArray platform =
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform);
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Offscreen windows show nothing drawn with GL; on an X server the client's own choice of
    // GPU switches applies, as it does for a user.
    if (platform == "offscreen")
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    else
        qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CheckLeaksNow();
    return result;
}
