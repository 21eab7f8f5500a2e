#pragma once

#include <QString>
#include <stdexcept>

// The one failure type raised by our own code. It carries the user-facing text as a QString so
// that Chinese messages survive unchanged up to the message box.
class EFailure : public std::runtime_error {
public:
    explicit EFailure(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message) {}

    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};
