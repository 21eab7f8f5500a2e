#include "upgrader/command_line.h"

namespace {

constexpr QChar kBlank = QLatin1Char(' ');
constexpr QChar kSetupMethod = QLatin1Char('1');

// The restart arguments start at the first argument that begins with "+": a "+" inside a word,
// as in a folder named "c++", belongs to the program path.
qsizetype RestartArgumentsStart(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i].startsWith(QLatin1Char('+')))
            return i;
    }
    return -1;
}

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TUpgraderCommand ParseUpgraderCommand(const QStringList& arguments) {
    TUpgraderCommand command;
    const QString joined = arguments.join(kBlank);
    command.SetupMode = joined.endsWith(kSetupMethod);

    const qsizetype restart = RestartArgumentsStart(arguments);
    if (restart < 0) {
        command.ProgramPath = joined;
        return command;
    }
    command.ProgramPath = arguments.first(restart).join(kBlank);
    QString restartArguments = arguments.sliced(restart).join(kBlank).sliced(1);
    // The client always appends the method digit; a caller that left it out keeps its last
    // character.
    if (!restartArguments.isEmpty() && IsAsciiDigit(restartArguments.back()))
        restartArguments.chop(1);
    command.RestartArguments = restartArguments;
    return command;
}
