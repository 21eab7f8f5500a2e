#include "upgrade/wizard/upgrade_message_box.h"

#include "common/message_boxes.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/wizard_form.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr unsigned kIconMask = 0xF0;
constexpr int kYesCaption = 14;
constexpr int kNoCaption = 15;
constexpr int kOkCaption = 16;

QMessageBox::Icon IconOf(unsigned flags) {
    switch (flags & kIconMask) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

TMessageBoxResult UpgradeMessageBox(const QString& caption, const QString& text, unsigned flags) {
    const bool yesNo = (flags & MB_YESNO) != 0;
    QMessageBox box(IconOf(flags), caption, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setAttribute(Qt::WA_QuitOnClose, false);
    if (flags & MB_SYSTEMMODAL)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (yesNo) {
        box.button(QMessageBox::Yes)->setText(LoadUpgradeMessage(kYesCaption));
        box.button(QMessageBox::No)->setText(LoadUpgradeMessage(kNoCaption));
    } else {
        box.button(QMessageBox::Ok)->setText(LoadUpgradeMessage(kOkCaption));
    }
    KeepCaptionWhole(box);
    // A box asking while the progress window is open would otherwise open under it.
    PlaceAboveUpgradeWizard(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::Ok:
        return IDOK;
    default:
        // No, or a box ended from outside, such as by the application quitting.
        return yesNo ? IDNO : IDOK;
    }
}

TMessageBoxResult ShowUpgradeMessageBox(const QString& text, unsigned flags) {
    return UpgradeMessageBox(LoadUpgradeMessage(0), text, flags);
}

TMessageBoxResult ShowUpgradeMessageById(int n, unsigned flags) {
    return ShowUpgradeMessageBox(LoadUpgradeMessage(n), flags);
}
