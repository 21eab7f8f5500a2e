#pragma once

#include <QString>

// The game record passed by value between the link interception, the player and the download
// worker. The field order is fixed: the worker reads the fields by position.
struct TGameInfo {
    QString id;
    QString flashname;
    QString flashurl;
    QString picUrl;
    QString picName;
    QString nclass;
    QString classid;
    QString body;
    QString isGood;

    friend bool operator==(const TGameInfo&, const TGameInfo&) = default;
};
