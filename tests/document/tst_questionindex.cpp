#include "document/linebuffer.h"
#include "document/questionindex.h"
#include "texts.h"

#include <QTest>

#include <random>

class TestQuestionIndex : public QObject
{
    Q_OBJECT

private slots:
    void entries_data();
    void entries();
    void updateFollowsEveryEdit();
    void rebuildReportsTheWholeIndex();
};

namespace {

Text indexEntries(const QuestionIndex &index, const Lines &lines)
{
    Text entries;
    for (int k = 0; k < index.entryCount(); ++k)
        entries.append(QByteArray::fromStdString(index.entry(lines, k)));
    return entries;
}


QByteArray describe(const Text &lines)
{
    QByteArrayList shown;
    for (const QByteArray &line : lines)
        shown.append(line == S ? "S" : line == D ? "D" : '"' + line + '"');
    return shown.join(' ');
}

} // namespace

void TestQuestionIndex::entries_data()
{
    QTest::addColumn<Text>("text");
    QTest::addColumn<Text>("expected");

    const QByteArray longHeading(5000, 'h');
    QTest::newRow("two blocks") << Text{"T", S, "q1", D, "a1", S, "q2", D, "a2"} << Text{"T", "q1", "q2"};
    QTest::newRow("lines before blocks") << Text{"T", "x", "y", S, "q1", D, "a1"} << Text{"T", "q1"};
    QTest::newRow("separator on line 0") << Text{S, "q1", D, "a1"} << Text{S, "q1"};
    QTest::newRow("adjacent separators") << Text{"T", S, S, "q2", D, "a2", S, "q3"} << Text{"T", S, "q2", "q3"};
    QTest::newRow("separators to the end") << Text{"T", S, S, S} << Text{"T", S, S, ""};
    QTest::newRow("separator last") << Text{"T", S} << Text{"T", ""};
    QTest::newRow("no question lines") << Text{"T", S, D, "a"} << Text{"T", D};
    QTest::newRow("empty text") << Text{} << Text{""};
    QTest::newRow("near separators") << Text{"T", S.left(79), S + "-", S + " ", " " + S, "q"} << Text{"T"};
    QTest::newRow("long heading whole") << Text{"T", S, longHeading} << Text{"T", longHeading};
}

void TestQuestionIndex::entries()
{
    QFETCH(Text, text);
    QFETCH(Text, expected);

    // A final line break must never change the index.
    for (const QByteArray &bytes : {crlf(text), crlf(text) + "\r\n"}) {
        const LineBuffer lines(bytes.toStdString());
        QCOMPARE(toText(questionEntries(lines)), expected);

        QuestionIndex fromLines;
        fromLines.rebuild(lines);
        QCOMPARE(indexEntries(fromLines, lines), expected);

        QuestionIndex fromBytes;
        fromBytes.rebuild(bytes.toStdString());
        QCOMPARE(indexEntries(fromBytes, lines), expected);
        QCOMPARE(fromBytes.entry(lines, -1), std::string());
        QCOMPARE(fromBytes.entry(lines, fromBytes.entryCount()), std::string());
    }
}

// After any edit, the updated index equals a full rebuild, and a list that applies each
// reported change to its own copy of the entries ends up equal to it too.
void TestQuestionIndex::updateFollowsEveryEdit()
{
    std::mt19937 random(20240611);
    // Separators come often, so that adjacent ones and separators at either end are common.
    const Text pool{"T", S, S, S, D, "q", "a", ""};
    const auto pick = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    const auto someLine = [&] { return pool[pick(0, int(pool.size()) - 1)]; };

    for (int round = 0; round < 300; ++round) {
        Text start;
        for (int n = pick(0, 10); n > 0; --n)
            start.append(someLine());
        LineBuffer lines((crlf(start) + (pick(0, 1) ? "\r\n" : "")).toStdString());
        QuestionIndex index;
        index.rebuild(lines);
        Text shown = indexEntries(index, lines);

        for (int step = 0; step < 30; ++step) {
            const int count = lines.count();
            const int changesBefore = lines.changes();
            int first = 0;
            int removed = 0;
            int added = 0;
            switch (pick(0, 2)) {
            case 0: // one line in, anywhere, also out of range
                first = pick(-1, count + 1);
                lines.insert(first, someLine().toStdString());
                added = 1;
                break;
            case 1: // one line out, anywhere, also out of range
                first = pick(-1, count + 1);
                lines.remove(first);
                removed = 1;
                break;
            default: // several lines replaced at once, as a paste does
                first = pick(0, count);
                removed = pick(0, std::min(3, count - first));
                added = pick(0, 3);
                for (int n = 0; n < removed; ++n)
                    lines.remove(first);
                for (int n = 0; n < added; ++n)
                    lines.insert(first, someLine().toStdString());
                break;
            }
            if (lines.changes() == changesBefore)
                continue;

            const EntryChange change = index.update(lines, first, removed, added);
            const Text expected = toText(questionEntries(lines));
            const QByteArray context = "round " + QByteArray::number(round) + " step "
                + QByteArray::number(step) + ", lines " + QByteArray::number(first) + " -"
                + QByteArray::number(removed) + " +" + QByteArray::number(added) + ": "
                + describe(toText(allLines(lines)));
            QVERIFY2(indexEntries(index, lines) == expected, context.constData());

            QVERIFY2(change.first >= 0 && change.removed >= 0 && change.added >= 0
                         && change.first + change.removed <= shown.size()
                         && change.first + change.added <= expected.size(),
                     context.constData());
            shown.remove(change.first, change.removed);
            for (int n = 0; n < change.added; ++n)
                shown.insert(change.first + n, expected[change.first + n]);
            QVERIFY2(shown == expected, context.constData());
            // Only the entries of the replaced lines, and of the separator just before them
            // or of line 0, are handed over again.
            QVERIFY2(change.removed <= removed + 1 && change.added <= added + 1,
                     context.constData());
        }
    }
}

void TestQuestionIndex::rebuildReportsTheWholeIndex()
{
    const LineBuffer twoBlocks(crlf({"T", S, "q1", S, "q2"}).toStdString());
    const LineBuffer noBlocks("T");
    QuestionIndex index;

    index.rebuild(crlf({"T", S, "q1", S, "q2"}).toStdString());
    QCOMPARE(index.revision(), 1);
    QCOMPARE(index.lastChange(), (EntryChange{0, 1, 3}));

    index.rebuild(noBlocks);
    QCOMPARE(index.revision(), 2);
    QCOMPARE(index.lastChange(), (EntryChange{0, 3, 1}));

    const EntryChange change = index.update(twoBlocks, 1, 0, 4);
    QCOMPARE(index.revision(), 3);
    QCOMPARE(index.lastChange(), change);
    QCOMPARE(change, (EntryChange{1, 0, 2}));
}

QTEST_APPLESS_MAIN(TestQuestionIndex)
#include "tst_questionindex.moc"
