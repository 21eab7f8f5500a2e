#pragma once

#include <QString>

class TauAutoUpdaterWizard;

// What the upgrade windows need of the upgrade component that opens them. The component
// implements it; the windows call it only on the UI thread, and never after the component is
// gone: destroying a host closes the progress window it opened and cancels its password dialog.
class TauWizardHost {
public:
    TauWizardHost() = default;
    TauWizardHost(const TauWizardHost&) = delete;
    TauWizardHost& operator=(const TauWizardHost&) = delete;

    // The component's Wizard options.
    virtual const TauAutoUpdaterWizard& Wizard() const = 0;
    // The login the component sends with its requests.
    virtual QString HTTPUsername() const = 0;
    virtual void SetHTTPUsername(const QString& username) = 0;
    virtual void SetHTTPPassword(const QString& password) = 0;
    // The file name of the address being transferred (FileFromURL of it): the file the server
    // protects with a password.
    virtual QString CurrentFileName() const = 0;
    // Abandons the upgrade: the user gave it up in the progress window.
    virtual void AbortUpgrade() = 0;
    // Releases whoever waits for the progress window to close (the completion wait).
    virtual void SignalWaitEvent() = 0;

protected:
    virtual ~TauWizardHost();
};
