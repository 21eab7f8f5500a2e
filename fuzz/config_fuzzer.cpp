// config.xml as start-up and the settings page use it: read the settings, write one, read them
// again. Input: key, NUL, value, NUL, the file's bytes; without the second NUL there is no file.
// Promises: reading never changes the file; a write that fails leaves it byte for byte; a write
// that succeeds reads back the value written and leaves every other setting as it was; nothing
// outside the file is ever read.
#include "common/common_method.h"
#include "common/failure.h"
#include "config/config_manager.h"
#include "support/require.h"
#include "support/scratch_files.h"

#include <QFile>
#include <cstdint>
#include <libxml/parserInternals.h>

namespace {

struct TInput {
    QString Key;
    QString Value;
    std::optional<QByteArray> File;
};

TInput Parse(const QByteArray& data) {
    const qsizetype keyEnd = data.indexOf('\0');
    const qsizetype valueEnd = keyEnd < 0 ? -1 : data.indexOf('\0', keyEnd + 1);
    TInput input;
    input.Key = QString::fromUtf8(keyEnd < 0 ? data : data.left(keyEnd));
    if (keyEnd >= 0)
        input.Value =
            QString::fromUtf8(data.mid(keyEnd + 1, valueEnd < 0 ? -1 : valueEnd - keyEnd - 1));
    if (valueEnd >= 0)
        input.File = data.mid(valueEnd + 1);
    return input;
}

// A read as the caller sees it: the value, or the failure's text.
QString Outcome(const QString& key) {
    try {
        QString value;
        TConfigManager::ReadValue(key, value);
        return QLatin1Char('=') + value;
    } catch (const EFailure& failure) {
        return QLatin1Char('!') + failure.Message();
    }
}

QString KeyForm(const QString& key) {
    return UpperCaseAscii(TrimBlanks(key));
}

xmlParserInputPtr RefuseExternalLoad(const char* url, const char*, xmlParserCtxtPtr) {
    std::fprintf(stderr, "loading %s\n", url ? url : "(no address)");
    Require(false, "nothing outside the file is read");
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    xmlSetExternalEntityLoader(RefuseExternalLoad);
    TConfigManager::SetConfigFilePath(ScratchPath(QStringLiteral("config.xml")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TInput input = Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString path = TConfigManager::ConfigFilePath();
    if (input.File)
        WriteScratchFile(path, *input.File);
    else
        QFile::remove(path);

    const QStringList probes{QStringLiteral("Skin"), QStringLiteral("HideHotKey"),
                             QStringLiteral("CloseHotKey"), input.Key};
    QStringList before;
    for (const QString& probe : probes)
        before.append(Outcome(probe));
    const QByteArray read = ReadScratchFile(path);
    Require(!input.File || read == *input.File, "reading never changes the file");

    try {
        TConfigManager::WriteValue(input.Key, input.Value);
    } catch (const EFailure&) {
        Require(ReadScratchFile(path) == read, "a write that fails leaves the file as it was");
        return 0;
    }
    Require(Outcome(input.Key) == QLatin1Char('=') + input.Value, "a written value reads back");
    for (qsizetype i = 0; i < probes.size(); ++i) {
        if (KeyForm(probes[i]) != KeyForm(input.Key))
            Require(Outcome(probes[i]) == before[i], "a write leaves the other settings alone");
    }
    return 0;
}
