#include "platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void LoadQtTranslations() {
    // Simplified Chinese whatever the system's language: the client's own texts are Chinese
    // only, and Qt's "OK" or "Back" would be the one foreign word among them. Without Debian's
    // translation files Qt's texts simply stay English.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* file : {"qtbase_zh_CN", "qtwebengine_zh_CN"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QLatin1String(file), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}
