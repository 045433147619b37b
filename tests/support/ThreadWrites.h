#pragma once

#include <QFile>

namespace vexora::test {

// Bytes the calling thread has passed to write(2) and its kin; -1 without Linux's counters.
inline qint64 bytesWrittenByThisThread() {
    QFile io(QStringLiteral("/proc/thread-self/io"));
    if (!io.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("wchar:")) return line.mid(6).trimmed().toLongLong();
    return -1;
}

}  // namespace vexora::test
