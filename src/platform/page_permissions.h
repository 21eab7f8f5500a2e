#pragma once

#include <QList>
#include <QWebEnginePage>

// Turns down, without asking the user, every request of the page's sites for the machine's
// devices and services (location, camera, microphone, notifications, the screen, storage
// quota, protocol handlers, the file system, full screen), but the features listed.
void RefusePermissionRequests(QWebEnginePage& page,
                              const QList<QWebEnginePage::Feature>& granted = {});
