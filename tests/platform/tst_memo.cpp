#include "tests/files.h"
#include "tests/linecases.h"

#include "document/exceptions.h"
#include "document/questionindex.h"
#include "platform/codepage.h"
#include "platform/memo.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using LineCases::LineOp;

Q_DECLARE_METATYPE(LineOp)

namespace {

const std::string S(80, '-');

void setText(Memo &memo, const QByteArray &bytes)
{
    memo.setPlainText(decodeText(bytes.toStdString()));
    memo.setModified(false);
}

} // namespace

class TestMemo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineOperations_data() { LineCases::addLineCases(); }
    void lineOperations();
    void changeEvents_data();
    void changeEvents();
    void wrappingNeverChangesLines();
    void everyByteRoundTrips();
    void loadNormalisesAndCutsAtNul_data();
    void loadNormalisesAndCutsAtNul();
    void failedLoadChangesNothing();
    void typedTextStaysInCodePage();
    void pastedTextStaysInCodePage();
    void capacityRefusesWhole();
    void copyKeepsNoBreakSpace();

private:
    QTemporaryDir m_dir;
};

void TestMemo::lineOperations()
{
    QFETCH(QByteArray, before);
    QFETCH(LineOp, op);
    QFETCH(QByteArray, after);
    QFETCH(int, count);
    QFETCH(bool, changed);

    Memo memo;
    setText(memo, before);
    QSignalSpy changes(&memo, &Memo::changed);
    op.applyTo(memo);

    QCOMPARE(QByteArray::fromStdString(memo.text()), after);
    QCOMPARE(memo.count(), count);
    const QByteArrayList lines = LineCases::expectedLines(after);
    for (int i = 0; i < count; ++i)
        QCOMPARE(QByteArray::fromStdString(memo.line(i)), lines.at(i));
    QCOMPARE(memo.line(count), std::string());
    QCOMPARE(changes.count(), changed ? 1 : 0);
    QCOMPARE(memo.isModified(), changed);
}

enum class Action { Type, Compose, Paste, Undo, Insert, NoOpInsert, Remove, Clear, LoadOther, LoadEqual, Save };

void TestMemo::changeEvents_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("modifiedBefore");
    QTest::addColumn<int>("events");
    QTest::addColumn<bool>("modifiedAfter");

    QTest::newRow("typing") << Action::Type << false << 1 << true;
    QTest::newRow("an input method's composition counts when committed")
        << Action::Compose << false << 1 << true;
    QTest::newRow("pasting two lines is one edit") << Action::Paste << false << 1 << true;
    QTest::newRow("undo is a change") << Action::Undo << false << 1 << true;
    QTest::newRow("insert") << Action::Insert << false << 1 << true;
    QTest::newRow("insert out of range") << Action::NoOpInsert << false << 0 << false;
    QTest::newRow("remove") << Action::Remove << false << 1 << true;
    QTest::newRow("clear") << Action::Clear << true << 0 << false;
    QTest::newRow("load of another text") << Action::LoadOther << true << 1 << false;
    QTest::newRow("load of an equal text") << Action::LoadEqual << true << 0 << true;
    QTest::newRow("save") << Action::Save << true << 0 << true;
}

void TestMemo::changeEvents()
{
    QFETCH(Action, action);
    QFETCH(bool, modifiedBefore);
    QFETCH(int, events);
    QFETCH(bool, modifiedAfter);

    Memo memo;
    setText(memo, "a\r\nb");
    if (action == Action::Undo)
        QTest::keyClicks(&memo, u"x"_s);
    memo.setModified(modifiedBefore);
    const QString equal = m_dir.filePath(u"equal.txt"_s);
    const QString other = m_dir.filePath(u"other.txt"_s);
    writeFile(equal, "a\r\nb");
    writeFile(other, "other");

    // The flag is already clear when a load's event arrives.
    bool modifiedAtEvent = true;
    QSignalSpy changes(&memo, &Memo::changed);
    connect(&memo, &Memo::changed, &memo, [&] { modifiedAtEvent = memo.isModified(); });

    switch (action) {
    case Action::Type:
        QTest::keyClicks(&memo, u"xy"_s.left(1));
        break;
    case Action::Compose: {
        QInputMethodEvent composing(u"\u00e9t"_s, {});
        QApplication::sendEvent(&memo, &composing);
        QCOMPARE(memo.text(), "a\r\nb");
        QInputMethodEvent commit;
        commit.setCommitString(u"\u00e9t\u00e9"_s);
        QApplication::sendEvent(&memo, &commit);
        QCOMPARE(memo.text(), "\xe9t\xe9" "a\r\nb");
        break;
    }
    case Action::Paste: {
        QApplication::clipboard()->setText(u"one\ntwo"_s);
        memo.paste();
        break;
    }
    case Action::Undo:
        memo.undo();
        break;
    case Action::Insert:
        memo.insert(1, "x");
        break;
    case Action::NoOpInsert:
        memo.insert(5, "x");
        break;
    case Action::Remove:
        memo.remove(0);
        break;
    case Action::Clear:
        memo.clear();
        QCOMPARE(memo.text(), "");
        break;
    case Action::LoadOther:
        memo.load(other.toStdString());
        QVERIFY(!modifiedAtEvent);
        break;
    case Action::LoadEqual:
        memo.load(equal.toStdString());
        break;
    case Action::Save:
        memo.save(m_dir.filePath(u"saved.txt"_s).toStdString());
        break;
    }
    QCOMPARE(changes.count(), events);
    QCOMPARE(memo.isModified(), modifiedAfter);
}

void TestMemo::wrappingNeverChangesLines()
{
    Memo memo;
    memo.resize(120, 200);
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));
    const std::string longAnswer(5000, 'w');
    const std::string text = "T\r\n" + S + "\r\nq\r\n---\r\n" + longAnswer;
    setText(memo, QByteArray::fromStdString(text));

    QCOMPARE(memo.count(), 5);
    QCOMPARE(memo.line(1), S);
    QCOMPARE(memo.line(4), longAnswer);
    QCOMPARE(memo.questionIndex().entryCount(), 2);
    QCOMPARE(memo.questionIndex().entry(memo, 1), "q");
    memo.resize(60, 200);
    QCOMPARE(memo.count(), 5);
    QCOMPARE(memo.text(), text);
}

void TestMemo::everyByteRoundTrips()
{
    QByteArray bytes;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            bytes.append(char(byte));
    }
    bytes = "title\r\n" + bytes + "\r\n\xa0\xa0 nbsp\r\n";
    const QString in = m_dir.filePath(u"bytes.txt"_s);
    const QString out = m_dir.filePath(u"bytes-out.txt"_s);
    writeFile(in, bytes);

    Memo memo;
    memo.load(in.toStdString());
    memo.save(out.toStdString());
    QCOMPARE(readFile(out), bytes);
}

void TestMemo::loadNormalisesAndCutsAtNul_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("CR LF kept") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb") << QByteArray("a\r\nb");
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("cut at NUL") << QByteArray("a\nb\0c\nd", 7) << QByteArray("a\r\nb");
}

void TestMemo::loadNormalisesAndCutsAtNul()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    const QString in = m_dir.filePath(u"in.txt"_s);
    const QString out = m_dir.filePath(u"out.txt"_s);
    writeFile(in, file);

    Memo memo;
    memo.load(in.toStdString());
    QCOMPARE(QByteArray::fromStdString(memo.text()), text);
    memo.save(out.toStdString());
    QCOMPARE(readFile(out), text);
}

void TestMemo::failedLoadChangesNothing()
{
    Memo memo(nullptr, 16);
    setText(memo, "kept");
    memo.setModified(true);
    const QString big = m_dir.filePath(u"big.txt"_s);
    writeFile(big, QByteArray(17, 'x'));
    // Within capacity as a file, over it once LF became CR LF.
    const QString grows = m_dir.filePath(u"grows.txt"_s);
    writeFile(grows, QByteArray("\n\n\n\n\n\n\n\n\n"));
    const std::string missing = m_dir.filePath(u"missing.txt"_s).toStdString();
    QSignalSpy changes(&memo, &Memo::changed);

    QVERIFY_THROWS_EXCEPTION(EFOpenError, memo.load(missing));
    QVERIFY_THROWS_EXCEPTION(EInvalidOperation, memo.load(big.toStdString()));
    QVERIFY_THROWS_EXCEPTION(EInvalidOperation, memo.load(grows.toStdString()));
    try {
        memo.load(missing);
    } catch (const EFOpenError &error) {
        QCOMPARE(std::string(error.what()), "Cannot open file " + missing);
    }
    QCOMPARE(changes.count(), 0);
    QCOMPARE(memo.text(), "kept");
    QVERIFY(memo.isModified());
}

void TestMemo::typedTextStaysInCodePage()
{
    Memo memo;
    QSignalSpy changes(&memo, &Memo::changed);
    for (const QString &typed : {u"a"_s, u"\u03b1"_s, u"\u20ac"_s}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QApplication::sendEvent(&memo, &press);
    }
    QTest::keyClick(&memo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(&memo, u"b"_s);
    QTest::keyClick(&memo, Qt::Key_Enter);
    QCOMPARE(memo.text(), "a?\x80\r\nb\r\n");
    QCOMPARE(memo.count(), 2);
    QCOMPARE(changes.count(), 6);
}

void TestMemo::pastedTextStaysInCodePage()
{
    Memo memo;
    QSignalSpy changes(&memo, &Memo::changed);
    QApplication::clipboard()->setText(u"a\u2028b\u2029c\r\nd\re\U0001F600f\u00a0"_s + QChar(0) + u"lost"_s);
    memo.paste();
    QCOMPARE(memo.text(), "a\r\nb\r\nc\r\nd\r\ne?f\xa0");
    QCOMPARE(changes.count(), 1);
}

void TestMemo::capacityRefusesWhole()
{
    Memo memo(nullptr, 7);
    setText(memo, "123456");
    QSignalSpy changes(&memo, &Memo::changed);
    QApplication::clipboard()->setText(u"ab"_s);
    memo.paste();
    QTest::keyClick(&memo, Qt::Key_Return);
    QCOMPARE(memo.text(), "123456");
    QTest::keyClicks(&memo, u"ab"_s);
    QCOMPARE(memo.text(), "a123456");
    QCOMPARE(changes.count(), 1);

    // What a paste replaces makes room for it.
    memo.selectAll();
    QApplication::clipboard()->setText(u"abcdefg"_s);
    memo.paste();
    QCOMPARE(memo.text(), "abcdefg");
}

void TestMemo::copyKeepsNoBreakSpace()
{
    Memo memo;
    setText(memo, "a\xa0" "b\r\nc");
    memo.selectAll();
    memo.copy();
    Memo other;
    other.paste();
    QCOMPARE(other.text(), "a\xa0" "b\r\nc");
}

QTEST_MAIN(TestMemo)
#include "tst_memo.moc"
