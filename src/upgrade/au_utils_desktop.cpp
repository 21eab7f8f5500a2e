#include "platform/desktop_handler.h"
#include "platform/host_addresses.h"
#include "platform/shell_open.h"
#include "upgrade/au_utils.h"

#include <QRegularExpression>

// The system's own word comes first, as the dial-up connection setting does on the client's home
// platform: here a default route. Only when the routing tables cannot be read does an address of
// the machine's own host name other than the loopback one decide; a host name that the local
// hosts file maps to a loopback address would otherwise keep a connected machine off line.
bool IsOnline() {
    if (const std::optional<bool> routed = HasDefaultRoute())
        return *routed;
    return HasLocalNetworkAddress();
}

bool HasLocalNetworkAddress() {
    const QStringList addresses = HostNameAddresses();
    if (addresses.isEmpty())
        return false;
    const QString& last = addresses.constLast();
    return !last.isEmpty() && last != QLatin1String("127.0.0.1");
}

void OpenURL(QString url, bool useBrowser) {
    // The address comes from the network: unless it starts with a scheme it is a web address,
    // and so never reaches the browser as one of its options ("--…").
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (!scheme.match(url).hasMatch())
        url.prepend(QLatin1String("http://"));
    if (useBrowser) {
        const QString program = FindAssociatedProgram(QStringLiteral(".html"));
        if (!program.isEmpty()) {
            StartProgram(program, {url});
            return;
        }
    }
    OpenWithDesktop(url);
}

QString FindAssociatedProgram(const QString& extension) {
    if (extension.isEmpty() || extension == QLatin1String("."))
        return {};
    QString command = DefaultHandlerCommand(extension);
    QString params;
    SplitCommandLine(command, params);
    return command;
}
