#include "platform/desktop_handler.h"
#include "platform/host_addresses.h"
#include "platform/shell_open.h"
#include "upgrade/au_utils.h"

// This platform has no dial-up connection setting to consult: an address of the machine's own
// host name other than the loopback one decides.
bool IsOnline() {
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
    if (!url.contains(QLatin1String("://")))
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
