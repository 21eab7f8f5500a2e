#pragma once

#include <QString>
#include <QUrl>

// Where a view's page may go. The catalogue's panes show the catalogue's site and nothing else:
// the engine they run in is not kept up to date, so the open web is left to the desktop's
// browser, which is.
enum class TNavigationVerdict {
    Allow,       // the view's own site
    OpenOutside, // another web address the user chose: the desktop's browser opens it
    Refuse,      // anything else (another scheme, or another site no user chose)
};

// Site is the view's "host" or "host:port"; an address of it counts over http and https alike.
// UserChose: a link the user followed, or a window a page opened.
TNavigationVerdict JudgeNavigation(const QUrl& target, const QString& site, bool userChose);
