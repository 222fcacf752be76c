#pragma once

// The line model's edge cases as one QTest table, so that every implementation of Lines
// (the in-memory buffer, the text area) runs the same rows and the two cannot drift apart.

#include "document/lines.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QTest>

namespace LineCases {

struct LineOp
{
    enum class Kind { Insert, Remove, Append };
    Kind kind = Kind::Append;
    int index = 0;
    QByteArray text;

    static LineOp insert(int i, const QByteArray &s) { return {Kind::Insert, i, s}; }
    static LineOp remove(int i) { return {Kind::Remove, i, {}}; }
    static LineOp append(const QByteArray &s) { return {Kind::Append, 0, s}; }

    void applyTo(Lines &lines) const
    {
        switch (kind) {
        case Kind::Insert:
            lines.insert(index, text.toStdString());
            break;
        case Kind::Remove:
            lines.remove(index);
            break;
        case Kind::Append:
            lines.append(text.toStdString());
            break;
        }
    }
};

// The lines that line(i) must give for a CR LF text: without the empty one after a final
// break.
inline QByteArrayList expectedLines(const QByteArray &text)
{
    QByteArrayList lines = text.split('\n');
    for (QByteArray &line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Columns: before (CR LF text), op, after (CR LF text), count (after the operation),
// changed (whether the text changed, so whether a change event is due).
inline void addLineCases()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<LineOp>("op");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("changed");

    const QByteArray longLine(5000, 'w');

    QTest::newRow("append to empty text adds a final break")
        << QByteArray() << LineOp::append("x") << QByteArray("x\r\n") << 1 << true;
    QTest::newRow("append an empty line to empty text")
        << QByteArray() << LineOp::append("") << QByteArray("\r\n") << 1 << true;
    QTest::newRow("append after a last line without break adds none")
        << QByteArray("a") << LineOp::append("b") << QByteArray("a\r\nb") << 2 << true;
    QTest::newRow("append after a final break keeps it")
        << QByteArray("a\r\n") << LineOp::append("b") << QByteArray("a\r\nb\r\n") << 2 << true;
    QTest::newRow("append after an empty counted line")
        << QByteArray("a\r\n\r\n") << LineOp::append("b") << QByteArray("a\r\n\r\nb\r\n") << 3
        << true;
    QTest::newRow("insert at 0")
        << QByteArray("a\r\nb") << LineOp::insert(0, "x") << QByteArray("x\r\na\r\nb") << 3 << true;
    QTest::newRow("insert an empty line in the middle")
        << QByteArray("a\r\nb") << LineOp::insert(1, "") << QByteArray("a\r\n\r\nb") << 3 << true;
    QTest::newRow("insert past the count changes nothing")
        << QByteArray("a") << LineOp::insert(2, "x") << QByteArray("a") << 1 << false;
    QTest::newRow("insert past the count after a final break changes nothing")
        << QByteArray("a\r\n") << LineOp::insert(2, "x") << QByteArray("a\r\n") << 1 << false;
    QTest::newRow("insert at a negative index changes nothing")
        << QByteArray("a") << LineOp::insert(-1, "x") << QByteArray("a") << 1 << false;
    QTest::newRow("insert keeps 8-bit bytes")
        << QByteArray("a") << LineOp::insert(0, "\x80\x81\x8d\x9d\xa0\xff\x7f\x01\t")
        << QByteArray("\x80\x81\x8d\x9d\xa0\xff\x7f\x01\t\r\na") << 2 << true;
    QTest::newRow("insert a long line reads whole")
        << QByteArray("a") << LineOp::insert(0, longLine) << longLine + "\r\na" << 2 << true;
    QTest::newRow("remove the first line")
        << QByteArray("a\r\nb") << LineOp::remove(0) << QByteArray("b") << 1 << true;
    QTest::newRow("remove an empty line")
        << QByteArray("\r\nb") << LineOp::remove(0) << QByteArray("b") << 1 << true;
    QTest::newRow("remove a lone line break")
        << QByteArray("\r\n") << LineOp::remove(0) << QByteArray() << 0 << true;
    QTest::newRow("remove the last line keeps the break in front of it")
        << QByteArray("a\r\nb") << LineOp::remove(1) << QByteArray("a\r\n") << 1 << true;
    QTest::newRow("remove the last line with its final break")
        << QByteArray("a\r\nb\r\n") << LineOp::remove(1) << QByteArray("a\r\n") << 1 << true;
    QTest::newRow("remove an empty counted last line")
        << QByteArray("a\r\n\r\n") << LineOp::remove(1) << QByteArray("a\r\n") << 1 << true;
    QTest::newRow("remove the only line")
        << QByteArray("a") << LineOp::remove(0) << QByteArray() << 0 << true;
    QTest::newRow("remove at the count after a final break changes nothing")
        << QByteArray("a\r\n") << LineOp::remove(1) << QByteArray("a\r\n") << 1 << false;
    QTest::newRow("remove past the count changes nothing")
        << QByteArray("a\r\nb") << LineOp::remove(2) << QByteArray("a\r\nb") << 2 << false;
    QTest::newRow("remove from empty text changes nothing")
        << QByteArray() << LineOp::remove(0) << QByteArray() << 0 << false;
    QTest::newRow("remove at a negative index changes nothing")
        << QByteArray("a") << LineOp::remove(-1) << QByteArray("a") << 1 << false;
}

} // namespace LineCases
