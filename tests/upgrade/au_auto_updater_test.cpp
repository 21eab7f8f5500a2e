// The upgrade component against the demo catalogue over loopback, with its real windows
// offscreen: the automatic check, both kinds of check, and whole upgrades with their faults.
#include "catalogue_server.h"
#include "common/application_title.h"
#include "common/failure.h"
#include "common/program_folder.h"
#include "platform/file_attributes.h"
#include "platform/ui_dispatcher.h"
#include "queued_call.h"
#include "support/pump_events.h"
#include "update_signing.h"
#include "upgrade/au_auto_updater.h"
#include "upgrade/au_upgrade_recovery.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/wizard_form.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <deque>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <ostream>
#include <sys/file.h>
#include <unistd.h>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString kYes = QStringLiteral("[&Y]是");
const QString kNo = QStringLiteral("[&N]否");
const QString kOk = QStringLiteral("[&O]确定");
const QString kCancel = QStringLiteral("[&C]取消");
const QString kLater = QStringLiteral("[&L]稍等一下");
const QString kCaption = QStringLiteral("软件升级精灵");

QString TextOf(QDialog* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog))
        return box->text();
    auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1"));
    return label ? label->text() : QString();
}

// What a user does with the component's windows. Each modal window (a message box, the
// question, the login) is noted as "title|text" and answered by the next answer in line, or
// dismissed with Escape when none is left. The progress window's completion page is noted as
// "completion" and answered by Completion, by default its OK button.
class TUser {
public:
    using TAnswer = std::function<void(QDialog*)>;

    TUser() {
        FPoll.callOnTimeout([this] { Look(); });
        FPoll.start(10);
    }

    static TAnswer Press(const QString& caption) {
        return [caption](QDialog* dialog) {
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == caption && button->isEnabled()) {
                    button->click();
                    return;
                }
            }
            ADD_FAILURE() << "no button " << caption.toStdString();
            dialog->reject();
        };
    }
    static TAnswer Login(const QString& user, const QString& password) {
        return [user, password](QDialog* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("UsernameEdit"))->setText(user);
            dialog->findChild<QLineEdit*>(QStringLiteral("PasswordEdit"))->setText(password);
            Press(kOk)(dialog);
        };
    }

    QStringList Seen;
    std::deque<TAnswer> Answers;
    std::function<void(TauAutoUpdaterWizardForm*)> Completion = [](TauAutoUpdaterWizardForm* form) {
        form->FinishBtn->click();
    };

private:
    void Look() {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (!dialog->isVisible() || dialog == FAnswered)
                return;
            FAnswered = dialog;
            Seen.append(dialog->windowTitle() + QLatin1Char('|') + TextOf(dialog));
            if (Answers.empty()) {
                dialog->reject();
                return;
            }
            const TAnswer answer = Answers.front();
            Answers.pop_front();
            answer(dialog);
            return;
        }
        TauAutoUpdaterWizardForm* form = UpgradeWizardForm();
        if (form != nullptr && form->FinishBtn->isEnabled() && form != FCompleted) {
            FCompleted = form;
            Seen.append(QStringLiteral("completion|") + form->AfterNote->text());
            Completion(form);
        }
    }

    QTimer FPoll;
    QPointer<QDialog> FAnswered;
    QPointer<TauAutoUpdaterWizardForm> FCompleted;
};

// The window system's close request: the close box.
void CloseBox(QWidget* window) {
    QCloseEvent request;
    QCoreApplication::sendEvent(window->windowHandle(), &request);
}

QByteArray Pattern(int size, char seed) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 7 + (i >> 9));
    return bytes;
}

class AutoUpdater : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The upgrader is written into the user's private runtime folder: one of the test's own.
        if (!Runtime) {
            Runtime = std::make_unique<QTemporaryDir>();
            QFile::setPermissions(Runtime->path(), QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", Runtime->path().toLocal8Bit());
        }
        Data = std::make_unique<QTemporaryDir>();
        QDir(Data->path()).mkdir(QStringLiteral("files"));
        // The catalogue signs its offers with the key in its data folder.
        const std::string publicKey = update_signing::generateKeyPair(
            Data->filePath(QStringLiteral("update.key")).toStdString());
        PublicKey = QByteArray::fromHex(QByteArray::fromStdString(publicKey));
        SigningKey = *update_signing::loadSecretKey(
            Data->filePath(QStringLiteral("update.key")).toStdString());
        Server = std::make_unique<CatalogueServer>(Data->path().toStdString());
        Port = Server->bind(0);
        Server->start();
    }
    static void TearDownTestSuite() {
        Server.reset();
        Data.reset();
    }

    void SetUp() override {
        SetMessageLanguage(wlChineseSimplified);
        SetProgramFolderForTesting(FFolder.path());
        FUpdater = std::make_unique<TauAutoUpdater>();
        Configure(*FUpdater);
    }
    void TearDown() override {
        FUpdater.reset();
        EXPECT_TRUE(TauEventThread::WaitForAbandoned(std::chrono::seconds(10)));
        SetProgramFolderForTesting(QString());
        EXPECT_TRUE(FUser.Answers.empty()) << "answers left: " << FUser.Answers.size();
    }

    static QString Url(const QString& path) {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(Port).arg(path);
    }
    // Sets what /down/update.xml offers, as /_admin/update does; signed, and vouching for its
    // files, unless the settings say otherwise.
    static void Offer(const httplib::Params& settings) {
        httplib::Params all = {{"signature", "valid"}, {"filecheck", "valid"}};
        for (const auto& [key, value] : settings) {
            all.erase(key);
            all.emplace(key, value);
        }
        httplib::Client client("127.0.0.1", Port);
        const httplib::Result result = client.Get("/_admin/update", all, {});
        ASSERT_TRUE(result && result->status == 200) << (result ? result->body : "no answer");
    }
    static void OfferFiles(const char* files) {
        Offer({{"version", "3.8"}, {"files", files}, {"message", "新版本\\n修正"}});
    }
    // An information file of the test's own at Path, signed as the vendor's tool signs it.
    static void WriteSignedInformation(const QString& path, const QByteArray& text) {
        QFile information(path);
        ASSERT_TRUE(information.open(QIODevice::WriteOnly));
        information.write(text);
        information.close();
        QFile signature(path + QStringLiteral(".sig"));
        ASSERT_TRUE(signature.open(QIODevice::WriteOnly));
        signature.write(QByteArray::fromStdString(update_signing::signatureHex(
            std::string_view(text.constData(), static_cast<size_t>(text.size())), SigningKey)));
    }
    // The keys that vouch for the file listed under FileKey.
    static QByteArray Vouching(const QByteArray& fileKey, const QByteArray& bytes) {
        const QByteArray number = fileKey.mid(3);
        return "#size" + number + "=" + QByteArray::number(bytes.size()) + "\r\n#sha256" +
               (number.isEmpty() ? QByteArray() : "_" + number) + "=" +
               QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "\r\n";
    }
    static void Serve(const QString& name, const QByteArray& bytes) {
        QFile file(Data->filePath(QStringLiteral("files/") + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void Configure(TauAutoUpdater& updater) {
        updater.InfoFileURL = Url(QStringLiteral("/down/update.xml"));
        updater.UpdatePublicKey = PublicKey;
        updater.VersionControl = byNumber;
        updater.VersionNumber = QStringLiteral("3.7");
        updater.OnBeginUpgrade = [this](TauAutoUpdater*, const QString&, TauUpgradeMethod,
                                        const QStringList& files, bool&) {
            Note(QStringLiteral("begin %1").arg(files.size()));
        };
        updater.OnLaterUpgrade = [this](TauAutoUpdater*) {
            Note(QStringLiteral("later"));
        };
        updater.OnNoUpdateAvailable = [this](TauAutoUpdater*) {
            Note(QStringLiteral("no update"));
        };
        updater.OnNoInfoFile = [this](TauAutoUpdater*) {
            Note(QStringLiteral("no info file"));
        };
        updater.OnHostUnreachable = [this](TauAutoUpdater*, const QString&, const QString& host) {
            Note(QStringLiteral("unreachable ") + host);
        };
        updater.OnConnLost = [this](TauAutoUpdater*) {
            Note(QStringLiteral("connection lost"));
        };
        updater.OnFileStart = [this](TauAutoUpdater*, const QString& url, int, TDateTime, bool&) {
            Note(QStringLiteral("start ") + FileFromURL(url));
        };
        updater.OnFileDone = [this](TauAutoUpdater*, const QString& path) {
            Note(QStringLiteral("done ") + QFileInfo(path).fileName());
        };
        updater.OnLostFile = [this](TauAutoUpdater*, const QString&, int code, bool&) {
            Note(QStringLiteral("lost %1").arg(code));
        };
        updater.OnPasswordRequest = [this](TauAutoUpdater*, const QString& realm, bool&) {
            Note(QStringLiteral("password ") + realm);
        };
        updater.OnAborted = [this](TauAutoUpdater*) {
            Note(QStringLiteral("aborted"));
        };
        updater.OnUnverified = [this](TauAutoUpdater*, bool automatic) {
            Note(automatic ? QStringLiteral("unverified automatic") : QStringLiteral("unverified"));
        };
        updater.OnUpgraderFailed = [this](TauAutoUpdater*, const QString&) {
            Note(QStringLiteral("upgrader failed"));
        };
        // The upgrader is not run unless a test asks for it.
        updater.OnEndUpgrade = [this](TauAutoUpdater*, bool& restart) {
            Note(QStringLiteral("end"));
            restart = FRestart;
        };
        updater.OnDoOwnCloseAppMethod = [this](TauAutoUpdater*) {
            Note(QStringLiteral("close"));
        };
    }

    void Note(const QString& event) { FLog.append(event); }
    bool Logged(const QString& event) const { return FLog.contains(event); }
    // Starts a check that leads on to the question and runs it to Event.
    bool Upgrade(const QString& event) {
        FLog.clear();
        FUser.Seen.clear();
        FUpdater->CheckUpdate(false);
        return PumpEventsUntil([&] { return Logged(event); }, 30000);
    }

    QString Pending(const QString& name) const {
        return FFolder.filePath(name + QStringLiteral(".uTMP"));
    }
    QStringList PendingFiles() const {
        return QDir(FFolder.path()).entryList({QStringLiteral("*.uTMP")}, QDir::Files);
    }
    QByteArray Contents(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static inline std::unique_ptr<QTemporaryDir> Runtime;
    static inline std::unique_ptr<QTemporaryDir> Data;
    static inline QByteArray PublicKey;
    static inline update_signing::SecretKey SigningKey;
    static inline std::unique_ptr<CatalogueServer> Server;
    static inline int Port = 0;
    TUiDispatcher FDispatcher;
    QTemporaryDir FFolder;
    TUser FUser;
    QStringList FLog;
    bool FRestart = false;
    std::unique_ptr<TauAutoUpdater> FUpdater;
};

TEST(UpgradeProgress, TotalPercentsCountTheFilesBeforeAndShareTheCurrentOne) {
    EXPECT_EQ(TotalPercentsDone(50, 1, 3), 49);
    EXPECT_EQ(TotalPercentsDone(0, 1, 8), 12);
    EXPECT_EQ(TotalPercentsDone(100, 1, 2), 100);
    EXPECT_EQ(TotalPercentsDone(0, 0, 1), 0);
}

TEST_F(AutoUpdater, TheAutomaticCheckWaitsToBeOnLineAndRetriesOnlyWhileTheHostIsUnreachable) {
    Offer({{"version", "3.7"}, {"files", "readme.txt"}});
    int onlineTests = 0;
    FUpdater->OnlineTest = [&onlineTests] {
        return ++onlineTests > 2;
    };
    FUpdater->AutoCheckDelay = 40;
    // Every notice is allowed: an automatic check still shows none of them.
    FUpdater->ShowMessages = TauAutoUpdaterShowMessages::FromBits(0x7F);
    FUpdater->InfoFileURL = QStringLiteral("http://127.0.0.1:1/down/update.xml");
    FUpdater->OnHostUnreachable = [this](TauAutoUpdater*, const QString&, const QString& host) {
        Note(QStringLiteral("unreachable ") + host);
        FUpdater->InfoFileURL = Url(QStringLiteral("/down/update.xml"));
    };
    EXPECT_FALSE(FUpdater->AutoCheck());
    FUpdater->SetAutoCheck(true);

    ASSERT_TRUE(PumpEventsUntil([&] { return Logged(QStringLiteral("no update")); }));
    EXPECT_EQ(FLog, (QStringList{"unreachable 127.0.0.1", "no update"}));
    // Twice off line, on line for the check, again for the one retry.
    EXPECT_EQ(onlineTests, 4);
    EXPECT_TRUE(FUser.Seen.isEmpty()) << FUser.Seen.join(QLatin1Char('\n')).toStdString();
    // One check per run: the timer is gone.
    PumpEventsUntil([] { return false; }, 300);
    EXPECT_EQ(onlineTests, 4);
    EXPECT_EQ(FLog.size(), 2);

    // A timer the system refuses, here to a thread the component does not live in, is a failure.
    QThread elsewhere;
    TauAutoUpdater stranger;
    stranger.moveToThread(&elsewhere);
    try {
        stranger.SetAutoCheck(true);
        ADD_FAILURE() << "the timer was not refused";
    } catch (const EFailure& failure) {
        EXPECT_EQ(failure.Message(), QStringLiteral("Not enough timers available"));
    }
}

TEST_F(AutoUpdater, CheckOnlyWaitsForTheVerdictTheOtherWayReturnsTheLastOneAndAsks) {
    Offer({{"version", "3.7"}, {"files", "readme.txt"}});
    EXPECT_FALSE(FUpdater->CheckUpdate(true));
    EXPECT_EQ(FLog, QStringList{"no update"});

    OfferFiles("a.dat,b.dat");
    EXPECT_TRUE(FUpdater->CheckUpdate(true));
    EXPECT_EQ(FLog, (QStringList{"no update", "begin 2"}));
    EXPECT_EQ(FUpdater->Files(), (QStringList{Url("/down/files/a.dat"), Url("/down/files/b.dat")}));
    // A blocking check neither asks nor shows anything.
    EXPECT_TRUE(FUser.Seen.isEmpty());

    // A fresh component knows of nothing newer yet and says so at once; the check it starts
    // finds the offer and asks.
    FUpdater = std::make_unique<TauAutoUpdater>();
    Configure(*FUpdater);
    FLog.clear();
    FUser.Answers = {TUser::Press(kLater)};
    EXPECT_FALSE(FUpdater->CheckUpdate(false));
    ASSERT_TRUE(PumpEventsUntil([&] { return Logged(QStringLiteral("later")); }));
    EXPECT_EQ(
        FUser.Seen,
        QStringList{kCaption + QStringLiteral("|") + ApplicationTitle() +
                    QStringLiteral("已经有新版本推出，\n\n新版本\n修正\n\n您要升级到新版本吗？"
                                   "\n\n下载大小：0.1 MB")});
    // Now it knows; the check this starts asks again, and Escape means later as well.
    EXPECT_TRUE(FUpdater->CheckUpdate(false));
    ASSERT_TRUE(PumpEventsUntil([&] { return FLog.count(QStringLiteral("later")) == 2; }));
    EXPECT_TRUE(PendingFiles().isEmpty());

    // Asked for by the user, the other outcomes are shown.
    FUpdater->ShowMessages = TauAutoUpdaterShowMessages::FromBits(0x7F);
    FUser.Seen.clear();
    Offer({{"version", "3.7"}, {"files", "readme.txt"}});
    EXPECT_FALSE(FUpdater->CheckUpdate(true));
    FUpdater->InfoFileURL = Url(QStringLiteral("/down/nothing.xml"));
    EXPECT_FALSE(FUpdater->CheckUpdate(true));
    EXPECT_EQ(FUser.Seen.mid(0, 2),
              (QStringList{kCaption + "|没有发现新的版本，您目前已经是最新版本。",
                           kCaption + "|在服务器中无法找到升级的相关信息。"}));
    // A reply too large for an information file is read only up to the bound, and offers nothing.
    for (const char* reply : {"/bench/blob?mb=2", "/bench/blob?mb=2&fault=nolength"}) {
        FUpdater->InfoFileURL = Url(QLatin1String(reply));
        EXPECT_FALSE(FUpdater->CheckUpdate(true));
    }
    EXPECT_EQ(FLog.mid(FLog.size() - 4),
              (QStringList{"no update", "no info file", "no update", "no update"}));
}

TEST_F(AutoUpdater, AWholeUpgradeDownloadsPendingFilesAndTheUpgraderPutsThemInPlace) {
    const QByteArray program = Pattern(300000, 'p');
    const QByteArray data = Pattern(5000, 'd');
    Serve(QStringLiteral("a.dat"), program);
    Serve(QStringLiteral("b.dat"), data);
    OfferFiles("a.dat,b.dat?fault=stamped");
    // The program the upgrader waits for and restarts: a stand-in that confirms its start.
    ASSERT_TRUE(QFile::copy(QStringLiteral(DUMMY_CLIENT_PATH), ProgramFilePath()));
    FRestart = true;
    FUser.Answers = {TUser::Press(kYes)};
    QList<int> totals;
    std::optional<quint32> attributesWhileWritten;
    QStringList pendingWhileWritten;
    FUpdater->OnProgress = [&](TauAutoUpdater*, const QString&, int, int, int, int, quint8,
                               quint8 total, float) {
        totals.append(total);
        if (!attributesWhileWritten) {
            attributesWhileWritten = ReadFileAttributes(Pending(QStringLiteral("a.dat")) + ".part");
            pendingWhileWritten = PendingFiles();
        }
    };
    QStringList labels;
    FUser.Completion = [&](TauAutoUpdaterWizardForm* form) {
        labels = {form->AllDownloading->text(),
                  form->LFileSize->text(),
                  form->LTransferRate->text(),
                  form->LEstimatedTime->text(),
                  QString::number(form->ProgressAllFiles->value()),
                  form->WizardTitle->text()};
        // Both files are whole before the user is told so.
        EXPECT_EQ(Contents(Pending(QStringLiteral("a.dat"))), program);
        EXPECT_EQ(ReadFileAttributes(Pending(QStringLiteral("a.dat"))), WindowsAttribute::Archive);
        form->FinishBtn->click();
    };

    ASSERT_TRUE(Upgrade(QStringLiteral("close")));
    EXPECT_EQ(FLog, (QStringList{"begin 2", "start a.dat", "done a.dat.uTMP", "start b.dat",
                                 "done b.dat?fault=stamped.uTMP", "end", "close"}));
    // A file being written bears a name the upgrader never installs.
    EXPECT_EQ(attributesWhileWritten,
              WindowsAttribute::Archive | WindowsAttribute::Hidden | WindowsAttribute::Temporary);
    EXPECT_TRUE(pendingWhileWritten.isEmpty()) << pendingWhileWritten.join(' ').toStdString();
    ASSERT_FALSE(totals.isEmpty());
    EXPECT_TRUE(std::is_sorted(totals.begin(), totals.end()));
    EXPECT_EQ(totals.constLast(), 100);
    ASSERT_EQ(labels.size(), 6);
    EXPECT_EQ(labels[0], QStringLiteral("当前正在下载:2 of 2"));
    EXPECT_EQ(labels[1], QStringLiteral("文档大小:4.9 Kb"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^传输速率:\\d+\\.\\d Kb/s$"))
                    .match(labels[2])
                    .hasMatch())
        << labels[2].toStdString();
    EXPECT_EQ(labels[3], QStringLiteral("估计剩余时间: 0:00:00"));
    EXPECT_EQ(labels[4], QStringLiteral("100"));
    EXPECT_EQ(labels[5], QStringLiteral("升级完成！"));
    EXPECT_EQ(FUser.Seen.constLast(),
              QStringLiteral("completion|") + ApplicationTitle() +
                  QStringLiteral(" 已经升级完成，\n\n请按[确定]键重新启动程序"));

    // The upgrader was written out whole and runnable into the user's private folder, and
    // started: it checks the files against the list, puts them in place and starts the program,
    // which confirms; then nothing of the upgrade's bookkeeping is left.
    QFile upgrader(Runtime->filePath(QStringLiteral("Upgrader3.exe")));
    ASSERT_TRUE(upgrader.open(QIODevice::ReadOnly));
    QBuffer resource;
    resource.open(QIODevice::WriteOnly);
    ASSERT_TRUE(SaveResourceToStream(TauModule::Program, "AUUPG", "AUUPG", &resource));
    EXPECT_EQ(upgrader.readAll(), resource.data());
    EXPECT_TRUE(upgrader.permissions() & QFileDevice::ExeOwner);
    const QString programName = QFileInfo(ProgramFilePath()).fileName();
    ASSERT_TRUE(PumpEventsUntil([&] {
        return Contents(FFolder.filePath(QStringLiteral("runs.log")))
            .contains("confirmed|" + programName.toUtf8());
    }));
    // Confirmed: journal and backup go, the lock stays.
    const auto bookkeeping = [this] {
        return QDir(FFolder.filePath(QStringLiteral("upgrade")))
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    };
    ASSERT_TRUE(PumpEventsUntil([&] { return bookkeeping() == QStringList{"upgrader.lock"}; }))
        << bookkeeping().join(' ').toStdString();
    EXPECT_TRUE(PendingFiles().isEmpty());
    EXPECT_EQ(Contents(FFolder.filePath("a.dat")), program);
    EXPECT_EQ(Contents(FFolder.filePath("b.dat?fault=stamped")), data);
    // The server's Last-Modified, 14 January 2009, became the file's time.
    EXPECT_EQ(QFileInfo(FFolder.filePath("b.dat?fault=stamped")).lastModified().date().year(),
              2009);
}

TEST_F(AutoUpdater, OnlyASignedInformationFileThatVouchesForItsFilesOffersAnything) {
    Serve(QStringLiteral("a.dat"), Pattern(2000, 'a'));
    for (const char* fault : {"none", "wrong-key", "truncated", "tampered"}) {
        FLog.clear();
        Offer({{"version", "3.8"}, {"files", "a.dat"}, {"signature", fault}});
        EXPECT_FALSE(FUpdater->CheckUpdate(true)) << fault;
        EXPECT_EQ(FLog, (QStringList{"no info file", "unverified"})) << fault;
    }
    // Signed, but without the size and digest of its file: nothing to check the file against.
    FLog.clear();
    Offer({{"version", "3.8"}, {"files", "a.dat"}, {"filecheck", "missing"}});
    EXPECT_FALSE(FUpdater->CheckUpdate(true));
    EXPECT_EQ(FLog, (QStringList{"no info file", "unverified"}));
    EXPECT_TRUE(FUser.Seen.isEmpty());

    // A blank after the version does not make the running version newer than itself.
    FLog.clear();
    Offer({{"version", "3.7 "}, {"files", "a.dat"}});
    EXPECT_FALSE(FUpdater->CheckUpdate(true));
    Offer({{"version", "3.8"}, {"files", "a.dat"}});
    EXPECT_TRUE(FUpdater->CheckUpdate(true));
    EXPECT_EQ(FLog, (QStringList{"no update", "begin 1"}));

    // An automatic check says nothing of an unverified file; the main window tells only the user
    // who asked.
    FLog.clear();
    Offer({{"version", "3.8"}, {"files", "a.dat"}, {"signature", "none"}});
    FUpdater->OnlineTest = [] {
        return true;
    };
    FUpdater->AutoCheckDelay = 10;
    FUpdater->SetAutoCheck(true);
    ASSERT_TRUE(PumpEventsUntil([&] { return Logged(QStringLiteral("unverified automatic")); }));
    EXPECT_TRUE(FUser.Seen.isEmpty());
}

TEST_F(AutoUpdater, AFileThatIsNotWhatWasSignedForIsNeverInstalled) {
    Serve(QStringLiteral("a.dat"), Pattern(20000, 'a'));
    Serve(QStringLiteral("b.dat"), Pattern(30000, 'b'));
    for (const char* fault : {"wrong-digest", "wrong-size"}) {
        Offer({{"version", "3.8"}, {"files", "a.dat,b.dat"}, {"filecheck", fault}});
        FUser.Answers = {TUser::Press(kYes), TUser::Press(kOk)};
        ASSERT_TRUE(Upgrade(QStringLiteral("aborted"))) << fault;
        EXPECT_EQ(FLog, (QStringList{"begin 2", "start a.dat", "lost 1", "aborted"})) << fault;
        // Told, not asked: there is nothing to skip to.
        EXPECT_EQ(FUser.Seen.at(1), QStringLiteral("错误 #1|文档a.dat找不到或者发生错误，"))
            << fault;
        EXPECT_TRUE(QDir(FFolder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << fault;
    }

    // An address that names no file is refused the same way, before anything is fetched.
    const QString information = FFolder.filePath(QStringLiteral("update.txt"));
    for (const char* path : {"/down/", "/down/.."}) {
        const QByteArray url = Url(QLatin1String(path)).toLatin1();
        WriteSignedInformation(information,
                               "#version=3.8\r\n#url=" + url + "\r\n" + Vouching("url", "x"));
        FUpdater->InfoFileURL = QStringLiteral("file://") + information;
        FUser.Answers = {TUser::Press(kYes), TUser::Press(kOk)};
        ASSERT_TRUE(Upgrade(QStringLiteral("aborted"))) << path;
        EXPECT_EQ(FLog, (QStringList{"begin 1", "lost 2", "aborted"})) << path;
    }
}

TEST_F(AutoUpdater, AnUpgraderThatCannotStartLeavesTheClientRunningWithoutPendingFiles) {
    Serve(QStringLiteral("a.dat"), Pattern(2000, 'a'));
    OfferFiles("a.dat");
    // Another's file stands in the way at every place the upgrader may go.
    for (const QString& folder : {Runtime->path(), FFolder.filePath(QStringLiteral("upgrade"))}) {
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Upgrader3.exe/in the way")));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    FRestart = true;
    FUser.Answers = {TUser::Press(kYes)};
    ASSERT_TRUE(Upgrade(QStringLiteral("upgrader failed")));
    EXPECT_EQ(FLog,
              (QStringList{"begin 1", "start a.dat", "done a.dat.uTMP", "end", "upgrader failed"}));
    EXPECT_TRUE(PendingFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(FFolder.filePath(QStringLiteral("upgrade/verified-files"))));
    QDir(Runtime->filePath(QStringLiteral("Upgrader3.exe"))).removeRecursively();
}

TEST_F(AutoUpdater, AnUndoneOrSkippedVersionIsOfferedAgainOnlyWhenTheUserAsks) {
    ASSERT_TRUE(QDir(FFolder.path()).mkdir(QStringLiteral("upgrade")));
    QFile notice(FFolder.filePath(QStringLiteral("upgrade/notice")));
    ASSERT_TRUE(notice.open(QIODevice::WriteOnly));
    notice.write("not-started 3.8\n");
    notice.close();
    QStringList undone;
    FUpdater->OnUpgradeUndone = [&](TauAutoUpdater*, const QString& version, TauUndoReason reason) {
        undone.append(version + (reason == urNotStarted ? " not started" : " other"));
    };
    FUpdater->Loaded();
    FUpdater->Loaded();
    EXPECT_EQ(undone, QStringList{"3.8 not started"});

    Serve(QStringLiteral("a.dat"), Pattern(2000, 'a'));
    OfferFiles("a.dat");
    const auto checkAutomatically = [this] {
        FUpdater = std::make_unique<TauAutoUpdater>();
        Configure(*FUpdater);
        FUpdater->OnlineTest = [] {
            return true;
        };
        FUpdater->AutoCheckDelay = 10;
        FUpdater->SetAutoCheck(true);
        return PumpEventsUntil([&] { return Logged(QStringLiteral("no update")); });
    };
    ASSERT_TRUE(checkAutomatically());
    EXPECT_TRUE(FUser.Seen.isEmpty());
    EXPECT_TRUE(FUpdater->CheckUpdate(true));
    EXPECT_EQ(FLog, (QStringList{"no update", "begin 1"}));

    // A newer version, skipped from the question: told its size, and then asked for no more.
    Offer({{"version", "3.9"}, {"files", "a.dat"}});
    FUser.Answers = {TUser::Press(QStringLiteral("[&S]跳过此版本"))};
    ASSERT_TRUE(Upgrade(QStringLiteral("later")));
    EXPECT_TRUE(FUser.Seen.constLast().endsWith(QStringLiteral("下载大小：0.0 MB")))
        << FUser.Seen.constLast().toStdString();
    FLog.clear();
    ASSERT_TRUE(checkAutomatically());
    EXPECT_TRUE(PendingFiles().isEmpty());
}

TEST(UpgradeRecovery, AJournalThatNoUpgraderHoldsIsWorkLeftUnfinished) {
    QTemporaryDir folder;
    EXPECT_FALSE(UpgradeLeftUnfinished(folder.path()));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("upgrade")));
    QFile journal(folder.filePath(QStringLiteral("upgrade/journal")));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.close();
    EXPECT_TRUE(UpgradeLeftUnfinished(folder.path()));
    // An upgrader at work holds its lock.
    const int lock = ::open(QFile::encodeName(folder.filePath("upgrade/upgrader.lock")).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    EXPECT_FALSE(UpgradeLeftUnfinished(folder.path()));
    ::close(lock);
    EXPECT_TRUE(UpgradeLeftUnfinished(folder.path()));
}

TEST_F(AutoUpdater, AFileErrorSkipsTheFileOrAbandonsTheUpgradeLeavingNoPendingFile) {
    Serve(QStringLiteral("a.dat"), Pattern(20000, 'a'));
    Serve(QStringLiteral("b.dat"), Pattern(30000, 'b'));
    OfferFiles("a.dat,gone.dat?fault=404,b.dat");
    const QString lostCaption = QStringLiteral("错误 #404|");
    const QString lostText =
        QStringLiteral("文档gone.dat找不到或者发生错误，\n\n您要忽略这个文档并且继续升级操作吗？");

    FUser.Answers = {TUser::Press(kYes), TUser::Press(kYes)};
    ASSERT_TRUE(Upgrade(QStringLiteral("end")));
    EXPECT_EQ(FLog, (QStringList{"begin 3", "start a.dat", "done a.dat.uTMP", "start gone.dat",
                                 "lost 404", "start b.dat", "done b.dat.uTMP", "end"}));
    EXPECT_EQ(FUser.Seen.at(1), lostCaption + lostText);
    EXPECT_EQ(PendingFiles(), (QStringList{"a.dat.uTMP", "b.dat.uTMP"}));

    // No: every pending file goes, those of earlier upgrades too, in any letter case.
    QFile(FFolder.filePath("STALE.DAT.UTMP")).open(QIODevice::WriteOnly);
    FUser.Answers = {TUser::Press(kYes), TUser::Press(kNo)};
    ASSERT_TRUE(Upgrade(QStringLiteral("aborted")));
    EXPECT_EQ(FLog, (QStringList{"begin 3", "start a.dat", "done a.dat.uTMP", "start gone.dat",
                                 "lost 404", "aborted"}));
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
    EXPECT_TRUE(QDir(FFolder.path()).entryList(QDir::Files).isEmpty());

    // A pending file that cannot be created is a file error as well.
    OfferFiles("a.dat,b.dat");
    ASSERT_TRUE(QDir(FFolder.path()).mkdir(QStringLiteral("a.dat.uTMP")));
    FUser.Answers = {TUser::Press(kYes), TUser::Press(kNo)};
    ASSERT_TRUE(Upgrade(QStringLiteral("aborted")));
    EXPECT_EQ(FLog, (QStringList{"begin 2", "start a.dat", "lost 0", "aborted"}));
    EXPECT_EQ(FUser.Seen.at(1), QStringLiteral("错误 #0|文档a.dat找不到或者发生错误，\n\n"
                                               "您要忽略这个文档并且继续升级操作吗？"));
}

TEST_F(AutoUpdater, AStopKeepsTheWholePendingFilesAndDropsTheCutOne) {
    Serve(QStringLiteral("a.dat"), Pattern(20000, 'a'));
    Serve(QStringLiteral("big.dat"), Pattern(1 << 20, 'g'));
    // Cut short with its length announced, and without: a chunked body without its last chunk.
    for (const char* cut : {"truncate", "chunked:300000"}) {
        OfferFiles((std::string("a.dat,big.dat?fault=") + cut).c_str());
        FUser.Answers = {TUser::Press(kYes), TUser::Press(kOk)};
        ASSERT_TRUE(Upgrade(QStringLiteral("connection lost"))) << cut;
        ASSERT_TRUE(PumpEventsUntil([] { return UpgradeWizardForm() == nullptr; }));
        EXPECT_EQ(FLog, (QStringList{"begin 2", "start a.dat", "done a.dat.uTMP", "start big.dat",
                                     "connection lost"}));
        EXPECT_EQ(FUser.Seen.at(1),
                  kCaption +
                      QStringLiteral("|与远端服务器的连接中断，\n\n请重新连接后再进行升级操作。"));
        EXPECT_EQ(PendingFiles(), QStringList{"a.dat.uTMP"});
        EXPECT_EQ(Contents(Pending(QStringLiteral("a.dat"))), Pattern(20000, 'a'));
    }

    // A host that cannot be reached in the middle: the information file names it.
    const QString information = FFolder.filePath(QStringLiteral("update.txt"));
    WriteSignedInformation(information,
                           "#version=3.8\r\n#url=" + Url("/down/files/b.dat").toLatin1() + "\r\n" +
                               Vouching("url", Pattern(10000, 'b')) +
                               "#url2=http://127.0.0.1:1/down/c.dat\r\n" + Vouching("url2", "c"));
    Serve(QStringLiteral("b.dat"), Pattern(10000, 'b'));
    FUpdater->InfoFileURL = QStringLiteral("file://") + information;
    FUpdater->ShowMessages = FUpdater->ShowMessages + TauAutoUpdaterShowMessages{mHostUnreachable};
    FUser.Answers = {TUser::Press(kYes), TUser::Press(kOk)};
    ASSERT_TRUE(Upgrade(QStringLiteral("unreachable 127.0.0.1")));
    ASSERT_TRUE(PumpEventsUntil([&] { return FUser.Seen.size() == 2; }));
    EXPECT_EQ(FLog,
              (QStringList{"begin 2", "start b.dat", "done b.dat.uTMP", "unreachable 127.0.0.1"}));
    EXPECT_TRUE(FUser.Seen.at(1).startsWith(kCaption +
                                            QStringLiteral("|无法与服务器http://127.0.0.1连接。")));
    EXPECT_EQ(PendingFiles(), (QStringList{"a.dat.uTMP", "b.dat.uTMP"}));
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
}

TEST_F(AutoUpdater, AnAbortWhileAFileEndsIsTheEndOfTheUpgrade) {
    Serve(QStringLiteral("a.dat"), Pattern(20000, 'a'));
    Serve(QStringLiteral("empty.dat"), QByteArray());
    OfferFiles("a.dat,empty.dat,a.dat");
    FUser.Answers = {TUser::Press(kYes)};
    FUpdater->OnFileStart = [this](TauAutoUpdater*, const QString& url, int, TDateTime, bool&) {
        Note(QStringLiteral("start ") + FileFromURL(url));
        if (!url.endsWith(QLatin1String("empty.dat")))
            return;
        // The user gives up while the file's outcome waits for the UI thread.
        QTimer::singleShot(0, FUpdater.get(), [this] {
            EXPECT_TRUE(WaitForQueuedCall());
            FUpdater->AbortUpgrade();
        });
        // A handler this long ends the UI thread's turn for the transfer's calls, so the outcome
        // comes after the timer.
        QThread::msleep(20);
    };
    ASSERT_TRUE(Upgrade(QStringLiteral("aborted")));
    // The outcome has been delivered, or dropped, once the transfer is no longer busy.
    ASSERT_TRUE(PumpEventsUntil([this] { return !FUpdater->Busy(); }));
    EXPECT_EQ(FLog, (QStringList{"begin 3", "start a.dat", "done a.dat.uTMP", "start empty.dat",
                                 "aborted"}));
    EXPECT_EQ(FUser.Seen.size(), 1) << FUser.Seen.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(PendingFiles().isEmpty());
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
}

TEST_F(AutoUpdater, AProtectedFileAsksForTheLoginAndCancellingAbandons) {
    Serve(QStringLiteral("secret.dat"), Pattern(8000, 's'));
    OfferFiles("secret.dat?fault=auth");
    const QString question =
        QStringLiteral("请输入密码|远端的文档\"secret.dat\"被密码保护，\n\n请输入您的帐号及密码["
                       "注册用户]来继续进行升级操作。");
    FUser.Answers = {TUser::Press(kYes), TUser::Login("pebblo", "demo")};
    ASSERT_TRUE(Upgrade(QStringLiteral("end")));
    EXPECT_EQ(FLog, (QStringList{"begin 1", "password Pebblo Demo", "start secret.dat",
                                 "done secret.dat?fault=auth.uTMP", "end"}));
    EXPECT_EQ(FUser.Seen.at(1), question);
    EXPECT_EQ(FUpdater->HTTPUsername, QStringLiteral("pebblo"));
    EXPECT_EQ(Contents(Pending("secret.dat?fault=auth")), Pattern(8000, 's'));

    FUpdater->HTTPUsername.clear();
    FUpdater->HTTPPassword.clear();
    FUser.Answers = {TUser::Press(kYes), TUser::Press(kCancel)};
    ASSERT_TRUE(Upgrade(QStringLiteral("aborted")));
    EXPECT_EQ(FLog, (QStringList{"begin 1", "password Pebblo Demo", "aborted"}));
    EXPECT_TRUE(PendingFiles().isEmpty());
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
}

TEST_F(AutoUpdater, TheSameFileTwiceEndsWholeAndClosingTheCompletionPageAbandons) {
    Serve(QStringLiteral("a.dat"), Pattern(70000, 'a'));
    Serve(QStringLiteral("b.dat"), Pattern(9000, 'b'));
    OfferFiles("a.dat,a.dat");
    FUser.Answers = {TUser::Press(kYes)};
    ASSERT_TRUE(Upgrade(QStringLiteral("end")));
    EXPECT_EQ(FLog, (QStringList{"begin 2", "start a.dat", "done a.dat.uTMP", "start a.dat",
                                 "done a.dat.uTMP", "end"}));
    EXPECT_EQ(PendingFiles(), QStringList{"a.dat.uTMP"});
    EXPECT_EQ(Contents(Pending(QStringLiteral("a.dat"))), Pattern(70000, 'a'));

    OfferFiles("a.dat,b.dat");
    FUser.Completion = [](TauAutoUpdaterWizardForm* form) {
        CloseBox(form);
    };
    FUser.Answers = {TUser::Press(kYes), TUser::Press(kYes)};
    ASSERT_TRUE(Upgrade(QStringLiteral("aborted")));
    EXPECT_EQ(FLog, (QStringList{"begin 2", "start a.dat", "done a.dat.uTMP", "start b.dat",
                                 "done b.dat.uTMP", "aborted"}));
    EXPECT_EQ(FUser.Seen.constLast(),
              ApplicationTitle() + QStringLiteral("|升级操作尚未完成，\n您确定要放弃升级吗？"));
    EXPECT_TRUE(PendingFiles().isEmpty());
    EXPECT_EQ(UpgradeWizardForm(), nullptr);
}

TEST_F(AutoUpdater, OnlyIfSizeDifferentSkipsFilesOfTheSameSizeButNeverTheProgramOrALoneFile) {
    const QString program = QFileInfo(ProgramFilePath()).fileName();
    for (const QString& name : {program, QStringLiteral("b.dat"), QStringLiteral("c.dat")}) {
        Serve(name, Pattern(4000, 'n'));
        QFile local(FFolder.filePath(name));
        ASSERT_TRUE(local.open(QIODevice::WriteOnly));
        local.write(Pattern(name == QStringLiteral("c.dat") ? 3999 : 4000, 'o'));
    }
    FUpdater->MiscFilesUpgrade = mfuOnlyIfSizeDifferent;
    Offer({{"version", "3.8"}, {"files", program.toStdString() + ",b.dat,c.dat"}});
    FUser.Answers = {TUser::Press(kYes)};
    ASSERT_TRUE(Upgrade(QStringLiteral("end")));
    EXPECT_EQ(FLog, (QStringList{"begin 3", "start " + program, "done " + program + ".uTMP",
                                 "start b.dat", "start c.dat", "done c.dat.uTMP", "end"}));

    Offer({{"version", "3.8"}, {"files", "b.dat"}});
    FUser.Answers = {TUser::Press(kYes)};
    ASSERT_TRUE(Upgrade(QStringLiteral("end")));
    EXPECT_EQ(FLog, (QStringList{"begin 1", "start b.dat", "done b.dat.uTMP", "end"}));
}

} // namespace
