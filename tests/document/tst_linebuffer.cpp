#include "document/linebuffer.h"
#include "linecases.h"

#include <QTest>

using LineCases::LineOp;

class TestLineBuffer : public QObject
{
    Q_OBJECT

private slots:
    void lineModel_data() { LineCases::addLineCases(); }
    void lineModel();
};

void TestLineBuffer::lineModel()
{
    QFETCH(QByteArray, before);
    QFETCH(LineOp, op);
    QFETCH(QByteArray, after);
    QFETCH(int, count);
    QFETCH(bool, changed);

    LineBuffer buffer(before.toStdString());
    op.applyTo(buffer);

    QCOMPARE(QByteArray::fromStdString(buffer.text()), after);
    QCOMPARE(buffer.count(), count);
    QCOMPARE(buffer.changes(), changed ? 1 : 0);
    const QByteArrayList lines = LineCases::expectedLines(after);
    for (int i = -1; i <= count + 1; ++i) {
        const QByteArray expected = i >= 0 && i < lines.size() ? lines[i] : QByteArray();
        QCOMPARE(QByteArray::fromStdString(buffer.line(i)), expected);
    }
}

QTEST_APPLESS_MAIN(TestLineBuffer)
#include "tst_linebuffer.moc"
