#include "upgrader/information_box.h"

const char kInformationCaption[] = "Upgrader v3.4.2";
const char kInformationText[] =
    "Self-upgrading mechanism for AutoUpdater component.\n"
    "The program being upgraded starts it to put its new files in place and to restart it.";

std::unique_ptr<QMessageBox> CreateInformationBox() {
    return std::make_unique<QMessageBox>(QMessageBox::Information,
                                         QString::fromUtf8(kInformationCaption),
                                         QString::fromUtf8(kInformationText), QMessageBox::Ok);
}
