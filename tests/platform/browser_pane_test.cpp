// Qt's own texts in the client: the message boxes' buttons read as Qt's Chinese translation
// words them.
#include "common/message_boxes.h"
#include "platform/qt_translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// Source as Qt's own Chinese file translates it; empty when the file is missing.
QString QtChinese(const char* file, const char* context, const char* source) {
    QTranslator translator;
    if (!translator.load(QLatin1String(file), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return {};
    return translator.translate(context, source);
}

class QtChineseTexts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadQtTranslations(); }
};

TEST_F(QtChineseTexts, AMessageBoxShowsQtsChineseButton) {
    QString button;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            button = box->button(QMessageBox::Ok)->text();
            box->accept();
        }
    });
    closer.start(20);
    ShowPlainMessage(QStringLiteral("保存成功"));

    const QString ok = QtChinese("qtbase_zh_CN", "QPlatformTheme", "OK");
    ASSERT_FALSE(ok.isEmpty());
    EXPECT_EQ(button, ok);
}

} // namespace
