// pebblo-sign: the vendor's tool for trusted upgrades. It makes the key pair whose public half
// the client is built with, fills in the size and SHA-256 of every file an information file
// lists and signs the file's exact bytes, and checks a signed file as the client will.
#include "update_signing.h"
#include "upgrade/au_info_file.h"
#include "upgrade/au_signature.h"
#include "upgrade/au_utils.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cstdio>
#include <stdexcept>

namespace {

int Usage() {
    std::fputs("usage: pebblo-sign keygen SECRET_KEY_FILE\n"
               "       pebblo-sign sign SECRET_KEY_FILE INFO_FILE FILES_DIR\n"
               "       pebblo-sign verify PUBLIC_KEY_HEX INFO_FILE\n"
               "keygen writes SECRET_KEY_FILE and SECRET_KEY_FILE.pub and prints the public key.\n"
               "sign sets the size and sha256 keys of every listed file from the file of the same\n"
               "name in FILES_DIR and writes INFO_FILE.sig, the signature of INFO_FILE's bytes.\n",
               stderr);
    return 2;
}

QByteArray ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

// Replaced whole or not at all: a vendor's half-written information file is never served.
void WriteWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

int Keygen(const QString& secretKeyFile) {
    const std::string publicKey = update_signing::generateKeyPair(secretKeyFile.toStdString());
    std::printf("%s\n", publicKey.c_str());
    return 0;
}

int Sign(const QString& secretKeyFile, const QString& infoFile, const QString& filesDir) {
    const auto key = update_signing::loadSecretKey(secretKeyFile.toStdString());
    if (!key)
        throw std::runtime_error(secretKeyFile.toStdString() + " holds no secret key");
    QByteArray info = ReadWhole(infoFile);
    const TauInfoFileContent listed = ParseInfoFile(info);
    if (listed.Files.isEmpty())
        throw std::runtime_error(infoFile.toStdString() + " lists no file");
    // A redirect only opens its address in the browser: there is no file to vouch for.
    if (listed.Method != umRedirectToURL) {
        for (qsizetype i = 0; i < listed.Files.size(); ++i) {
            const QString name = FileFromURL(listed.Files[i]);
            const QByteArray bytes = ReadWhole(QDir(filesDir).filePath(name));
            const QByteArray& fileKey = listed.FileKeys[i];
            SetOneLineValue(info, SizeKeyOf(fileKey), QByteArray::number(bytes.size()));
            SetOneLineValue(info, DigestKeyOf(fileKey),
                            QByteArray::fromStdString(update_signing::sha256Hex(View(bytes))));
            std::printf("%s %lld %s\n", name.toLocal8Bit().constData(),
                        static_cast<long long>(bytes.size()),
                        update_signing::sha256Hex(View(bytes)).c_str());
        }
    }
    const QByteArray signature =
        QByteArray::fromStdString(update_signing::signatureHex(View(info), *key)) + '\n';
    WriteWhole(infoFile, info);
    WriteWhole(infoFile + QStringLiteral(".sig"), signature);
    return 0;
}

int Verify(const QString& publicKeyHex, const QString& infoFile) {
    const QByteArray info = ReadWhole(infoFile);
    const QByteArray publicKey = QByteArray::fromHex(publicKeyHex.toLatin1());
    if (!IsSignedBy(info, ReadWhole(infoFile + QStringLiteral(".sig")), publicKey)) {
        std::printf("BAD signature: the client will offer nothing\n");
        return 1;
    }
    const TauInfoFileContent listed = ParseInfoFile(info);
    int unlisted = 0;
    for (qsizetype i = 0; i < listed.Files.size(); ++i) {
        if (listed.Method != umRedirectToURL && !listed.Digests[i].Complete()) {
            std::printf("no size and digest for %s\n", listed.Files[i].toLocal8Bit().constData());
            ++unlisted;
        }
    }
    std::printf(unlisted == 0 ? "good signature\n"
                              : "good signature, but the client will refuse "
                                "the files above\n");
    return unlisted == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    try {
        if (arguments.size() == 2 && arguments[0] == QLatin1String("keygen"))
            return Keygen(arguments[1]);
        if (arguments.size() == 4 && arguments[0] == QLatin1String("sign"))
            return Sign(arguments[1], arguments[2], arguments[3]);
        if (arguments.size() == 3 && arguments[0] == QLatin1String("verify"))
            return Verify(arguments[1], arguments[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pebblo-sign: %s\n", error.what());
        return 1;
    }
    return Usage();
}
