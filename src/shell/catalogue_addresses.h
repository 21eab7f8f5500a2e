#pragma once

#include <QString>

// Addresses on the catalogue server that the client recognises or starts its panes at.

// "HTTP://" + host in capitals + "/GAMESOFT/GAMEINFO.ASP?ID=": game links start with it.
QString GameInfoPrefix();
// The category tree's own page, the one address its pane may load.
QString CategoryTreeAddress();
// A page under "/gamesoft/".
QString CataloguePage(const QString& page);
