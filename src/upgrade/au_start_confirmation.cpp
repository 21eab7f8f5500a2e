#include "upgrade/au_start_confirmation.h"

#include "upgrader/upgrade_protocol.h"

#include <QByteArray>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gConfirmationSocket = -1;

} // namespace

void TakeStartConfirmation() {
    const QByteArray value = qgetenv(upgrade_protocol::kConfirmVariable);
    qunsetenv(upgrade_protocol::kConfirmVariable);
    bool isNumber = false;
    const int socket = value.toInt(&isNumber);
    // Only a socket we inherited counts: any other number is not ours to write to.
    int type = 0;
    socklen_t length = sizeof type;
    if (!isNumber || socket < 0 || ::getsockopt(socket, SOL_SOCKET, SO_TYPE, &type, &length) != 0 ||
        type != SOCK_STREAM)
        return;
    ::fcntl(socket, F_SETFD, FD_CLOEXEC);
    gConfirmationSocket = socket;
}

void ConfirmHealthyStart() {
    if (gConfirmationSocket < 0)
        return;
    const char* confirmation = upgrade_protocol::kConfirmation;
    // MSG_NOSIGNAL: an upgrader that is gone must not take the client with it.
    ::send(gConfirmationSocket, confirmation, std::strlen(confirmation), MSG_NOSIGNAL);
    ::close(gConfirmationSocket);
    gConfirmationSocket = -1;
}
