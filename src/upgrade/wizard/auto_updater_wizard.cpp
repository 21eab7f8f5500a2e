#include "upgrade/wizard/auto_updater_wizard.h"

void TauAutoUpdaterWizard::SetLanguage(TauAutoUpdaterLanguage language) {
    if (language == FLanguage)
        return;
    FLanguage = language;
    SetMessageLanguage(language);
}
