#pragma once

#include <QMessageBox>
#include <memory>

// What the upgrader tells someone who starts it by hand.
extern const char kInformationCaption[];
extern const char kInformationText[];

// The box that shows it; needs a QApplication.
std::unique_ptr<QMessageBox> CreateInformationBox();
