// The upgrader's command line: arguments as anyone may start it with, and the round trip of
// the command line the client starts it with.
#include "support/require.h"
#include "upgrader/command_line.h"

#include <QStringList>
#include <cstdint>

namespace {

// The client starts the upgrader with the program's absolute path as one argument and "+",
// the restart parameters and the method digit as the other.
void CheckClientCommandLine(const QString& text) {
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    const QString programPath = QLatin1Char('/') + text.left(newline < 0 ? 0 : newline);
    const QString params = text.mid(newline + 1);
    for (const QChar method : {QLatin1Char('0'), QLatin1Char('1')}) {
        const TUpgraderCommand command =
            ParseUpgraderCommand({programPath, QLatin1Char('+') + params + method});
        Require(command.ProgramPath == programPath, "the program path comes back whole");
        Require(command.RestartArguments == params, "the restart parameters come back whole");
        Require(command.SetupMode == (method == QLatin1Char('1')), "the method digit is read");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList arguments = text.split(QChar(0));
    const TUpgraderCommand command = ParseUpgraderCommand(arguments);
    const QString joined = arguments.join(QLatin1Char(' '));
    Require(joined.startsWith(command.ProgramPath), "the program path is where the line starts");
    Require(command.RestartArguments.isEmpty() ||
                joined.contains(QLatin1Char('+') + command.RestartArguments),
            "the restart parameters are the text behind a \"+\"");
    Require(command.SetupMode == joined.endsWith(QLatin1Char('1')),
            "the setup method is the last digit 1");
    CheckClientCommandLine(text);
    return 0;
}
