#include "upgrader/file_pass.h"

#include "upgrader/folder_entries.h"

#include <algorithm>

namespace {

const QString kPendingSuffix = QStringLiteral(".uTMP");

bool IsPendingName(const QString& name) {
    return name.size() > kPendingSuffix.size() &&
           name.endsWith(kPendingSuffix, Qt::CaseInsensitive);
}

// In name order regardless of case, as the client's home file system lists them, so a pass over
// the same files always takes the same decisions.
QStringList InListOrder(QStringList names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

bool NamesMatch(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TFilePass PlanFilePass(const TProgramLocation& program, bool setupMode, const QStringList& names) {
    QStringList pendingNames = InListOrder(names);
    pendingNames.removeIf([](const QString& name) { return !IsPendingName(name); });
    bool exeTaken = std::any_of(pendingNames.begin(), pendingNames.end(), [&](const QString& n) {
        return NamesMatch(n, program.Name + kPendingSuffix);
    });

    TFilePass pass;
    for (const QString& pendingName : pendingNames) {
        QString name = pendingName.chopped(kPendingSuffix.size());
        TReplacement replacement;
        if (!exeTaken && name.endsWith(QLatin1String("exe"))) {
            exeTaken = true;
            if (setupMode)
                replacement.Hidden = true;
            else
                name = program.Name;
        }
        replacement.PendingPath = program.Folder + pendingName;
        replacement.TargetPath = ResolvedPath(program.Folder, name);
        replacement.Runnable = replacement.Hidden || NamesMatch(name, program.Name);
        if (replacement.Hidden)
            pass.SetupProgramPath = replacement.TargetPath;
        std::erase_if(pass.Replacements, [&](const TReplacement& earlier) {
            return earlier.TargetPath == replacement.TargetPath;
        });
        pass.Replacements.push_back(replacement);
    }
    return pass;
}
