#pragma once

// Whole-file reads and writes for tests that check what lands on disk.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

inline void writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The file's bytes, or a marker no test expects when it cannot be read.
inline QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}
