#include "shell/program_version.h"

QString ProgramVersionNumber() {
    return QStringLiteral(PEBBLO_VERSION_NUMBER);
}

QString ProgramVersionDate() {
    return QStringLiteral(PEBBLO_VERSION_DATE);
}
