#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The program's embedded resources, stored with the Qt resource system under ":/<type>/<name>";
// empty when there is no such resource.
std::optional<QByteArray> ReadProgramResource(const QString& type, const QString& name);
