// The upgrader: started by the client as it closes, it puts the downloaded files in place and
// restarts the client. It shares no code with the client, which carries it as a resource.
#include "upgrader/command_line.h"
#include "upgrader/information_box.h"
#include "upgrader/upgrade_run.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

namespace {

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int ShowInformation(int argc, char* argv[]) {
    if (!HasDisplay()) {
        std::printf("%s\n%s\n", kInformationCaption, kInformationText);
        return 0;
    }
    QApplication application(argc, argv);
    CreateInformationBox()->exec();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2)
        return ShowInformation(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    RunUpgrade(ParseUpgraderCommand(arguments));
    return 0;
}
