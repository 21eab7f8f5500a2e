#include "upgrade/messages/extra_messages.h"
#include "upgrade/messages/upgrade_messages.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr int kMessageCount = 31;

QStringList Block(TauAutoUpdaterLanguage language) {
    QStringList messages;
    for (int n = 0; n < kMessageCount; ++n)
        messages.append(LoadResourceString(MessageBlockBase(language) + n));
    return messages;
}

// The format placeholders of a message, in their order, as one text.
std::string Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%[-+ 0#]*\\d*(\\.\\d+)?[a-zA-Z]"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found.append(match.captured());
    return found.join(QLatin1Char(' ')).toStdString();
}

std::string AccessKey(const QString& caption) {
    const qsizetype amp = caption.indexOf(QLatin1Char('&'));
    return amp >= 0 ? caption.mid(amp + 1, 1).toLower().toStdString() : std::string();
}

// Sets the locale variables for one test and puts them back afterwards.
class TLocaleEnvironment {
public:
    TLocaleEnvironment() {
        for (const char* name : kNames)
            FSaved.append(qgetenv(name));
    }
    ~TLocaleEnvironment() {
        for (int i = 0; i < 3; ++i)
            qputenv(kNames[i], FSaved[i]);
    }
    void Set(const char* all, const char* messages, const char* lang) {
        qputenv("LC_ALL", all);
        qputenv("LC_MESSAGES", messages);
        qputenv("LANG", lang);
    }

private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    QList<QByteArray> FSaved;
};

TEST(UpgradeLanguage, TheSystemLocaleChoosesTheBlock) {
    struct TCase {
        const char* All;
        const char* Messages;
        const char* Lang;
        TauAutoUpdaterLanguage Expected;
    };
    const TCase cases[] = {
        {"", "", "zh_CN.UTF-8", wlChineseSimplified},
        {"", "", "zh_CN.GB2312", wlChineseSimplified},
        {"", "", "zh_TW.UTF-8", wlChineseTraditional},
        {"", "", "zh_HK.BIG5-HKSCS", wlChineseTraditional},
        {"", "", "zh_SG.GBK", wlChineseTraditional},
        {"", "", "ja_JP.UTF-8", wlEnglish},
        {"", "", "pt_BR.UTF-8", wlPortugueseBrazilian},
        {"", "", "pt_PT.UTF-8", wlPortuguese},
        {"", "", "de_AT.UTF-8@euro", wlGerman},
        {"", "", "nb_NO.UTF-8", wlNorwegian},
        {"", "", "sk_SK", wlSlovak},
        {"", "", "C.UTF-8", wlEnglish},
        {"", "", "", wlEnglish},
        // The locale of messages decides, and LC_ALL above all.
        {"", "fr_FR.UTF-8", "zh_CN.UTF-8", wlFrench},
        {"ru_RU.UTF-8", "fr_FR.UTF-8", "zh_CN.UTF-8", wlRussian},
    };
    TLocaleEnvironment environment;
    for (const TCase& c : cases) {
        environment.Set(c.All, c.Messages, c.Lang);
        EXPECT_EQ(DetectLanguage(), c.Expected) << c.All << "|" << c.Messages << "|" << c.Lang;
        EXPECT_EQ(MessageBase(), 41000 + 50 * (c.Expected - 1)) << c.Lang;
    }

    environment.Set("", "", "zh_CN.UTF-8");
    DetectLanguage();
    EXPECT_EQ(MessageBase(), 42100);
    EXPECT_EQ(LoadUpgradeMessage(1), QStringLiteral("文档下载中"));
    SetMessageLanguage(wlGerman);
    EXPECT_EQ(MessageBase(), 41100);
    SetMessageLanguage(wlAuto);
    EXPECT_EQ(MessageBase(), 42100);
}

TEST(UpgradeLanguage, WindowsLanguageIdentifiersFollowTheirRules) {
    EXPECT_EQ(LanguageForLanguageId(0x0804), wlChineseSimplified);
    for (const unsigned chinese : {0x0004u, 0x0404u, 0x0C04u, 0x1004u, 0x1404u})
        EXPECT_EQ(LanguageForLanguageId(chinese), wlChineseTraditional) << chinese;
    EXPECT_EQ(LanguageForLanguageId(0x0416), wlPortugueseBrazilian);
    EXPECT_EQ(LanguageForLanguageId(0x0816), wlPortuguese);
    EXPECT_EQ(LanguageForLanguageId(0x0016), wlPortuguese);
    EXPECT_EQ(LanguageForLanguageId(0x0411), wlEnglish);
    EXPECT_EQ(LanguageForLanguageId(0x043E), wlMalay);
    EXPECT_EQ(LanguageForLanguageId(0x0000), wlEnglish);
}

TEST(UpgradeMessages, EveryLanguageHasItsBlockInTheEnumerationsOrder) {
    const char* const firstMessages[] = {
        "Application update wizard",
        "Мастер обновления приложений",
        "Upgrade Anwendungsassistent",
        "Expert de mise à jour d'application",
        "Asistente de actualización",
        "Actualização do Software",
        "Ajudante de Atualização Aplicação",
        "Wizard di Applicazione di aggiornamento",
        "Upgrade wizard",
        "Programopdatering",
        "Programuppdateringsguide",
        "Ohjelman päivitysvelho",
        "Tarkvara uuenduse viisard",
        "Майcтер поновлення програм",
        "Master modernizacji aplikacji",
        "Průvodce aktualizace programu",
        "Alkalmazásfrissítő varázsló",
        "Expertul de actualizare a aplicaţiei",
        "Assistent d'actualització",
        "Programa eguneratzeko laguntzailea",
        "Applikasie dateringstel",
        "軟體升級精靈",
        "软件升级精灵",
        "Wizard Pembaruan Aplikasition",
        "Wizad pengemaskini aplikasi",
        "Uppfærsla hugbúnaðar",
        "Gücelleme Sihirbazı",
        "Programoppdatering",
        "Sprievodca aktualizáciou programu",
    };
    for (int language = wlEnglish; language <= wlSlovak; ++language) {
        SetMessageLanguage(static_cast<TauAutoUpdaterLanguage>(language));
        EXPECT_EQ(MessageBase(), 41000 + 50 * (language - 1));
        EXPECT_EQ(LoadUpgradeMessage(0), QString::fromUtf8(firstMessages[language - 1]))
            << language;
    }
    EXPECT_EQ(LoadResourceString(kComponentNameId), QStringLiteral("AutoUpdater"));
    for (const int unused : {40998, 41031, 41049, 42431, 42450})
        EXPECT_TRUE(LoadResourceString(unused).isEmpty()) << unused;
}

TEST(UpgradeMessages, EveryBlockIsCompleteWithTheEnglishPlaceholdersAndAccessKeys) {
    const QStringList english = Block(wlEnglish);
    for (int language = wlEnglish; language <= wlSlovak; ++language) {
        SetMessageLanguage(static_cast<TauAutoUpdaterLanguage>(language));
        const QStringList block = Block(static_cast<TauAutoUpdaterLanguage>(language));
        for (int n = 0; n < kMessageCount; ++n) {
            EXPECT_FALSE(block[n].trimmed().isEmpty()) << language << " #" << n;
            EXPECT_EQ(Placeholders(block[n]), Placeholders(english[n])) << language << " #" << n;
            EXPECT_EQ(block[n].count(QLatin1Char('&')), english[n].count(QLatin1Char('&')))
                << language << " #" << n;
        }
        // Buttons shown together need different access keys: Yes/Later, OK/Cancel, Next/Cancel.
        for (const auto& [a, b] : {std::pair{14, 19}, std::pair{16, 17}, std::pair{18, 17}})
            EXPECT_NE(AccessKey(block[a]), AccessKey(block[b])) << language << " #" << a;
        // The texts beyond the table: the question's third button and its size line.
        const QString skip = LoadExtraUpgradeMessage(kSkipVersionCaption);
        EXPECT_EQ(skip.count(QLatin1Char('&')), 1) << language;
        EXPECT_FALSE(AccessKey(skip).empty()) << language;
        EXPECT_NE(AccessKey(skip), AccessKey(block[14])) << language;
        EXPECT_NE(AccessKey(skip), AccessKey(block[19])) << language;
        EXPECT_EQ(Placeholders(LoadExtraUpgradeMessage(kDownloadSize)), "%.1f") << language;
    }
}

TEST(UpgradeMessages, TheEnglishAndSimplifiedChineseBlocksAreExact) {
    const auto digest = [](const QStringList& block) {
        return QCryptographicHash::hash(block.join(QChar(0)).toUtf8(), QCryptographicHash::Sha256)
            .toHex();
    };
    const QStringList english = Block(wlEnglish);
    const QStringList chinese = Block(wlChineseSimplified);
    EXPECT_EQ(english[29], QStringLiteral("Access to remote file \"%s\" is password protected.\n\n"
                                          "Please enter your username and password (received "
                                          "after registration) to continue software upgrade."));
    EXPECT_EQ(chinese[8], QStringLiteral("估计剩余时间: %d:%.2d:%.2d"));
    EXPECT_EQ(chinese[10], QStringLiteral("%s 已经升级完成，\n\n请按[确定]键重新启动程序"));
    EXPECT_EQ(chinese[14], QStringLiteral("[&Y]是"));
    // Every byte of both blocks, as the texts were given.
    EXPECT_EQ(digest(english), "43b108931fa9515e2d49e5256a4b0f77a4ef7ac8bdf8c2334f4bd71f5a0871ee");
    EXPECT_EQ(digest(chinese), "38dc3c7ab00fb57b1f59701d4faa2127d155fa044bb42423b1954d7bfb3d7783");
}

} // namespace
