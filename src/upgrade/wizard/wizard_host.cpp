#include "upgrade/wizard/wizard_host.h"

#include "upgrade/wizard/password_form.h"
#include "upgrade/wizard/wizard_form.h"

TauWizardHost::~TauWizardHost() {
    ReleaseWizardFormHost(this);
    ReleasePasswordFormHost(this);
}
