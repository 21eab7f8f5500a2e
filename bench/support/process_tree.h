#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// The process and all its descendants (the client and its browser engine processes).
inline QList<qint64> ProcessTree(qint64 root) {
    QList<qint64> tree{root};
    for (int i = 0; i < tree.size(); ++i) {
        QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(tree[i]));
        if (children.open(QIODevice::ReadOnly))
            for (const QByteArray& child : children.readAll().split(' '))
                if (!child.trimmed().isEmpty())
                    tree.append(child.trimmed().toLongLong());
    }
    return tree;
}

// One kilobyte field of /proc/<pid>/<file> ("VmRSS:" in status, "Pss:" in smaps_rollup), in
// mebibytes; 0 when the process is gone.
inline double ProcessMegabytes(qint64 pid, const char* file, const QByteArray& field) {
    QFile values(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
    if (!values.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : values.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// The same field summed over the process and all its descendants.
inline double TreeMegabytes(qint64 root, const char* file, const QByteArray& field) {
    double megabytes = 0;
    for (const qint64 pid : ProcessTree(root))
        megabytes += ProcessMegabytes(pid, file, field);
    return megabytes;
}
