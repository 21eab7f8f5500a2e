#pragma once

#include "library/library_game.h"
#include "library/library_pictures.h"

#include <QList>
#include <QString>

// A library list as it is read: its rows in batches, then what completes it.
struct TRowBatch {
    // The first batch of its list, sent also when the list is empty: what the page showed goes.
    // It carries the picture folder.
    bool First = false;
    QString PictureFolder;
    QList<TLibraryGame> Rows;
};

struct TListEnd {
    // Looked for once the rows are read: finding one without regard to letter case may list
    // the whole picture folder, which the first screen must not wait for.
    TPlaceholders Placeholders;
    // The details of every row read, in the rows' order.
    QList<TGameDetails> Details;
};
