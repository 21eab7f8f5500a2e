#include "upgrader/command_line.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    QStringList Arguments;
    QString ProgramPath;
    QString RestartArguments;
    bool SetupMode;
};

TEST(UpgraderCommandLine, SplitsProgramPathRestartArgumentsAndMethod) {
    const QString app = QStringLiteral("/opt/pebblo/app.exe");
    const QString restart = QStringLiteral("/afterupgrade");
    const TCase cases[] = {
        {{app, QStringLiteral("+/afterupgrade0")}, app, restart, false},
        {{app, QStringLiteral("+/afterupgrade1")}, app, restart, true},
        // A path with blanks arrives split at them and is joined again.
        {{QStringLiteral("/home/u/my"), QStringLiteral("games/pebblo"),
          QStringLiteral("dir/app.exe"), QStringLiteral("+/afterupgrade0")},
         QStringLiteral("/home/u/my games/pebblo dir/app.exe"),
         restart,
         false},
        // A "+" inside a word belongs to the path.
        {{QStringLiteral("/home/u/c++/app.exe"), QStringLiteral("+/afterupgrade0")},
         QStringLiteral("/home/u/c++/app.exe"),
         restart,
         false},
        // Restart arguments with blanks; the method digit is the very last character.
        {{app, QStringLiteral("+/afterupgrade"), QStringLiteral("/x1")},
         app,
         QStringLiteral("/afterupgrade /x"),
         true},
        // An unknown method digit means the self-upgrade.
        {{app, QStringLiteral("+/afterupgrade7")}, app, restart, false},
        // Without a method digit nothing of the arguments is lost.
        {{app, QStringLiteral("+/afterupgrade")}, app, restart, false},
        {{app, QStringLiteral("+0")}, app, QString(), false},
        // Without "+" everything is the program path.
        {{app}, app, QString(), false},
        {{QStringLiteral("/opt/my"), QStringLiteral("app1")},
         QStringLiteral("/opt/my app1"),
         QString(),
         true},
        {{QStringLiteral("+/afterupgrade0")}, QString(), restart, false},
    };
    for (const TCase& c : cases) {
        const TUpgraderCommand command = ParseUpgraderCommand(c.Arguments);
        const std::string arguments = c.Arguments.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(command.ProgramPath, c.ProgramPath) << arguments;
        EXPECT_EQ(command.RestartArguments, c.RestartArguments) << arguments;
        EXPECT_EQ(command.SetupMode, c.SetupMode) << arguments;
    }
}

} // namespace
