#pragma once

#include <QPixmap>

// The upgrade windows' own pictures, drawn once in the 16 colours of the classic palette: the
// progress window's side picture (118 × 218) and the 32 × 32 icons of the question and of the
// password dialog.
QPixmap WizardSidePicture();
QPixmap UpgradeQuestionIcon();
QPixmap PasswordIcon();
