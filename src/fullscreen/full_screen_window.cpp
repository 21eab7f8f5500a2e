#include "fullscreen/full_screen_window.h"

#include "fullscreen/application_key_hook.h"
#include "fullscreen/full_screen_hint.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The player fills whatever holds it.
void AdoptPlayer(QWidget* holder, QWidget* player) {
    if (player->parentWidget() != holder)
        holder->layout()->addWidget(player);
}

} // namespace

TfrmFullScreen::TfrmFullScreen(const TFullScreenParts& parts)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), FParts(parts) {
    setObjectName(QStringLiteral("frmFullScreen"));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    // Only the main window's closing ends the application, whether or not this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    ApplicationEvents1 = new TApplicationEvents(
        [this](const QKeyEvent& key) { ApplicationEvents1Message(key); }, this);
    ApplicationEvents1->setObjectName(QStringLiteral("ApplicationEvents1"));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &TfrmFullScreen::Timer2Timer);
    lblEscHint = new TFullScreenHint(this);
}

// A player still here at the end goes home first, so that it ends with the main window.
TfrmFullScreen::~TfrmFullScreen() {
    if (FParts.player && FParts.player->parentWidget() == this)
        AdoptPlayer(FParts.playerHome, FParts.player);
}

void TfrmFullScreen::EnterFullScreen() {
    // The window has the screen's size before the player moves in, so that the player is laid
    // out at that size from the start and not at the window's first one.
    setGeometry(FParts.mainWindow->screen()->geometry());
    AdoptPlayer(this, FParts.player);
    FParts.mainWindow->hide();
    showFullScreen();
    raise();
    activateWindow();
    lblEscHint->ShowForAWhile();
}

void TfrmFullScreen::ReturnPlayer() {
    lblEscHint->Withdraw();
    hide();
    FParts.mainWindow->show();
    AdoptPlayer(FParts.playerHome, FParts.player);
    PlaceAndFocus(FParts.player, FParts.playerHome->size());
}

void TfrmFullScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmFullScreen::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TfrmFullScreen::FormShow() {
    Timer2->start();
}

// Wherever the player is by now (Esc may have sent it home), it fills what holds it.
void TfrmFullScreen::Timer2Timer() {
    Timer2->stop();
    PlaceAndFocus(FParts.player, FParts.player->parentWidget()->size());
}

bool TfrmFullScreen::FormCloseQuery() {
    ReturnPlayer();
    return true;
}

void TfrmFullScreen::ApplicationEvents1Message(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Escape) {
        ReturnPlayer();
    } else if (key.key() == Qt::Key_F1 && FParts.closeWithF1->isChecked()) {
        FParts.mainWindow->close();
    }
}

// Placed at the top left with Size, shown, and given the keyboard when it can take it (it and
// everything holding it visible and enabled). A player just moved into a window on screen
// would be shown only later by its layout. It is not hidden first to make it redraw: the view
// redraws itself, and hidden it would go blank until its page drew anew.
void TfrmFullScreen::PlaceAndFocus(QWidget* player, const QSize& size) {
    player->setGeometry(QRect(QPoint(0, 0), size));
    player->show();
    if (player->isVisible() && player->isEnabled()) {
        player->activateWindow();
        player->setFocus(Qt::OtherFocusReason);
    }
}
