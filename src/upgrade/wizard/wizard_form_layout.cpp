// The progress window's controls and their places; behaviour lives in wizard_form.cpp.
#include "upgrade/wizard/form_controls.h"
#include "upgrade/wizard/wizard_artwork.h"
#include "upgrade/wizard/wizard_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 463;
constexpr int kClientHeight = 281;

QProgressBar* PlacedBar(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* bar = Placed<QProgressBar>(parent, name, geometry);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

void SetTextColour(QWidget* widget, QPalette::ColorRole from) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, palette.color(from));
    widget->setPalette(palette);
}

} // namespace

void TauAutoUpdaterWizardForm::BuildLayout() {
    MakeDialogFrame(this, kClientWidth, kClientHeight);

    Panel1 = Placed<QFrame>(this, QStringLiteral("Panel1"), QRect(10, 10, 120, 220));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 =
        PictureLabel(Panel1, QStringLiteral("Image1"), QRect(1, 1, 118, 218), WizardSidePicture());

    WizardTitle = PlacedLabel(this, QStringLiteral("WizardTitle"), 136, 10);
    QFont titleFont = font();
    titleFont.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                           QStringLiteral("WenQuanYi Micro Hei")});
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    WizardTitle->setFont(titleFont);
    AfterNote = WrappingLabel(this, QStringLiteral("AfterNote"), 136, 44, 319);

    LCurrentFile =
        Placed<QGroupBox>(this, QStringLiteral("LCurrentFile"), QRect(136, 34, 319, 125));
    LDownloadingFileFrom = PlacedLabel(LCurrentFile, QStringLiteral("LDownloadingFileFrom"), 6, 14);
    FileURL = Placed<QLineEdit>(LCurrentFile, QStringLiteral("FileURL"), QRect(10, 28, 301, 13));
    FileURL->setFrame(false);
    FileURL->setTextMargins(0, 0, 0, 0);
    // The address is there to read and copy, never to edit.
    FileURL->setReadOnly(true);
    FileURL->setFocusPolicy(Qt::ClickFocus);
    QPalette urlPalette = FileURL->palette();
    urlPalette.setColor(QPalette::Base, urlPalette.color(QPalette::Window));
    urlPalette.setColor(QPalette::Text, urlPalette.color(QPalette::Highlight));
    FileURL->setPalette(urlPalette);
    LFileSize = PlacedLabel(LCurrentFile, QStringLiteral("LFileSize"), 6, 44);
    LTransferRate = PlacedLabel(LCurrentFile, QStringLiteral("LTransferRate"), 6, 60);
    LEstimatedTime = PlacedLabel(LCurrentFile, QStringLiteral("LEstimatedTime"), 6, 76);
    ProgressCurrentFile =
        PlacedBar(LCurrentFile, QStringLiteral("ProgressCurrentFile"), QRect(6, 96, 307, 22));

    LAllFiles = Placed<QGroupBox>(this, QStringLiteral("LAllFiles"), QRect(136, 162, 319, 67));
    AllDownloading = PlacedLabel(LAllFiles, QStringLiteral("AllDownloading"), 6, 16);
    ProgressAllFiles =
        PlacedBar(LAllFiles, QStringLiteral("ProgressAllFiles"), QRect(6, 38, 307, 22));

    Bevel1 = Placed<QFrame>(this, QStringLiteral("Bevel1"), QRect(10, 238, 447, 2));
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    // A light copy one pixel down and right of a dark text engraves the name into the
    // separator, whose line the light copy's background interrupts.
    AboutShadow = PlacedLabel(this, QStringLiteral("AboutShadow"), 31, 234);
    AboutShadow->setAutoFillBackground(true);
    SetTextColour(AboutShadow, QPalette::Light);
    AboutLabel = PlacedLabel(this, QStringLiteral("AboutLabel"), 30, 233);
    SetTextColour(AboutLabel, QPalette::Dark);

    FinishBtn = Placed<QPushButton>(this, QStringLiteral("FinishBtn"), QRect(296, 248, 75, 25));
    FinishBtn->setEnabled(false);
    CancelBtn = Placed<QPushButton>(this, QStringLiteral("CancelBtn"), QRect(380, 248, 75, 25));
    CancelBtn->setDefault(true);
    connect(FinishBtn, &QPushButton::clicked, this, &TauAutoUpdaterWizardForm::FinishBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TauAutoUpdaterWizardForm::CancelBtnClick);
}

void TauAutoUpdaterWizardForm::PlaceFileLocation(bool hidden) {
    // Without the address the labels and the bar close up under the group's caption, and the
    // group shrinks by what they gained.
    const int shift = hidden ? 30 : 0;
    LDownloadingFileFrom->setVisible(!hidden);
    FileURL->setVisible(!hidden);
    LFileSize->move(6, 44 - shift);
    LTransferRate->move(6, 60 - shift);
    LEstimatedTime->move(6, 76 - shift);
    ProgressCurrentFile->move(6, 96 - shift);
    LCurrentFile->setGeometry(136, hidden ? 44 : 34, 319, 125 - shift);
}
