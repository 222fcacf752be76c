#include "document/blocks.h"
#include "document/linebuffer.h"
#include "texts.h"

#include <QTest>

class TestBlocks : public QObject
{
    Q_OBJECT

private slots:
    void erase_data();
    void erase();
    void read_data();
    void read();
    void write_data();
    void write();
    void add_data();
    void add();
    void editWithoutChangesGivesBackTheBlock_data();
    void editWithoutChangesGivesBackTheBlock();
};

namespace {

QByteArray bytesOf(const LineBuffer &lines)
{
    return QByteArray::fromStdString(lines.text());
}

Block makeBlock(const Text &question, const Text &answer)
{
    return {toStrings(question), toStrings(answer)};
}

const Text twoBlocks{"T", S, "q1", D, "a1", S, "q2", D, "a2"};
const Text adjacent{"T", S, S, "q2", D, "a2", S, "q3"};
const QByteArray longLine(5000, 'x');

} // namespace

void TestBlocks::erase_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("k");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("start"); // -1: not found

    QTest::newRow("first of two") << crlf(twoBlocks) << 1 << crlf({"T", S, "q2", D, "a2"}) << 1;
    QTest::newRow("last block stops at the end")
        << crlf(twoBlocks) << 2 << crlf({"T", S, "q1", D, "a1"}) + "\r\n" << 5;
    QTest::newRow("last block before a final break")
        << crlf(twoBlocks) + "\r\n" << 2 << crlf({"T", S, "q1", D, "a1"}) + "\r\n" << 5;
    QTest::newRow("separator last") << crlf({"T", S}) << 1 << QByteArray("T\r\n") << 1;
    QTest::newRow("block without divider")
        << crlf({"T", S, "q1", "q2", S, "q3", D, "a3"}) << 1 << crlf({"T", S, "q3", D, "a3"}) << 1;
    QTest::newRow("near separators go with the block")
        << crlf({"T", S, "q", S.left(79), S + "-", S + " ", D, "a", S, "q2"}) << 1
        << crlf({"T", S, "q2"}) << 1;
    QTest::newRow("separator on line 0") << crlf({S, "q1", D, "a1", S, "q2"}) << 1 << crlf({S, "q2"}) << 0;
    QTest::newRow("adjacent separators: block 1 is one line")
        << crlf(adjacent) << 1 << crlf({"T", S, "q2", D, "a2", S, "q3"}) << 1;
    QTest::newRow("adjacent separators: block 2 is q2's") << crlf(adjacent) << 2 << crlf({"T", S, S, "q3"}) << 2;
    QTest::newRow("title entry") << crlf(twoBlocks) << 0 << crlf(twoBlocks) << -1;
    QTest::newRow("no entry") << crlf(twoBlocks) << -1 << crlf(twoBlocks) << -1;
    QTest::newRow("more entries than blocks") << crlf(twoBlocks) << 3 << crlf(twoBlocks) << -1;
    QTest::newRow("empty text") << QByteArray() << 1 << QByteArray() << -1;
}

void TestBlocks::erase()
{
    QFETCH(QByteArray, before);
    QFETCH(int, k);
    QFETCH(QByteArray, after);
    QFETCH(int, start);

    LineBuffer lines(before.toStdString());
    const int countBefore = lines.count();
    const std::optional<int> expected = start < 0 ? std::nullopt : std::optional(start);
    QCOMPARE(LocateBlock(lines, k), expected);

    QCOMPARE(EraseBlock(lines, k), expected);
    QCOMPARE(bytesOf(lines), after);
    // One line operation for each line that went.
    QCOMPARE(lines.changes(), countBefore - lines.count());
}

void TestBlocks::read_data()
{
    QTest::addColumn<Text>("text");
    QTest::addColumn<int>("k");
    QTest::addColumn<bool>("found");
    QTest::addColumn<Text>("question");
    QTest::addColumn<Text>("answer");

    const Text text{"T", S, "q1", "q2", D, "a1", "a2", S, "q3", D, "a3"};
    QTest::newRow("first block") << text << 1 << true << Text{"q1", "q2"} << Text{"a1", "a2"};
    QTest::newRow("last block") << text << 2 << true << Text{"q3"} << Text{"a3"};
    QTest::newRow("empty lines are lines")
        << Text{"T", S, "", "q", D, "a", "", "b"} << 1 << true << Text{"", "q"} << Text{"a", "", "b"};
    QTest::newRow("no question lines") << Text{S, D, "a"} << 1 << true << Text{} << Text{"a"};
    QTest::newRow("empty answer before the next block")
        << Text{S, "q", D, S, "q2", D, "a2"} << 1 << true << Text{"q"} << Text{};
    QTest::newRow("divider last") << Text{"T", S, "q", D} << 1 << true << Text{"q"} << Text{};
    QTest::newRow("no divider, next block not read")
        << Text{S, "q1", "q2", S, "q3", D, "a3"} << 1 << true << Text{"q1", "q2"} << Text{};
    QTest::newRow("no divider in the last block")
        << Text{"T", S, "q1", "q2"} << 1 << true << Text{"q1", "q2"} << Text{};
    QTest::newRow("further dividers are answer lines")
        << Text{S, "q", D, "a1", D, "a2"} << 1 << true << Text{"q"} << Text{"a1", D, "a2"};
    QTest::newRow("separator last") << Text{"T", S} << 1 << true << Text{} << Text{};
    QTest::newRow("adjacent separators: block 1 is empty") << adjacent << 1 << true << Text{} << Text{};
    QTest::newRow("adjacent separators: block 2 is q2's") << adjacent << 2 << true << Text{"q2"} << Text{"a2"};
    QTest::newRow("long answer line whole")
        << Text{"T", S, "q", D, longLine} << 1 << true << Text{"q"} << Text{longLine};
    QTest::newRow("more entries than blocks") << text << 3 << false << Text{} << Text{};
    QTest::newRow("title entry") << text << 0 << false << Text{} << Text{};
}

void TestBlocks::read()
{
    QFETCH(Text, text);
    QFETCH(int, k);
    QFETCH(bool, found);
    QFETCH(Text, question);
    QFETCH(Text, answer);

    const LineBuffer lines(crlf(text).toStdString());
    const std::optional<Block> block = ReadBlock(lines, k);
    QCOMPARE(block.has_value(), found);
    if (block) {
        QCOMPARE(toText(block->question), question);
        QCOMPARE(toText(block->answer), answer);
    }
}

void TestBlocks::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("k");
    QTest::addColumn<Block>("block");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("found");

    const Block xyz = makeBlock({"x"}, {"y", "z"});
    QTest::newRow("first block") << crlf(twoBlocks) << 1 << xyz
                                 << crlf({"T", S, "x", D, "y", "z", S, "q2", D, "a2"}) << true;
    QTest::newRow("last block") << crlf(twoBlocks) << 2 << xyz
                                << crlf({"T", S, "q1", D, "a1", S, "x", D, "y", "z"}) + "\r\n" << true;
    QTest::newRow("empty question and answer") << crlf(twoBlocks) << 1 << Block{}
                                               << crlf({"T", S, D, S, "q2", D, "a2"}) << true;
    QTest::newRow("separator last") << crlf({"T", S}) << 1 << makeBlock({"x"}, {})
                                    << crlf({"T", S, "x", D}) + "\r\n" << true;
    QTest::newRow("block without divider gains one") << crlf({"T", S, "q1", "q2", S, "q3"}) << 1
                                                    << makeBlock({"q1", "q2"}, {})
                                                    << crlf({"T", S, "q1", "q2", D, S, "q3"}) << true;
    QTest::newRow("separator and divider lines written as they are")
        << crlf(twoBlocks) << 1 << makeBlock({D}, {S}) << crlf({"T", S, D, D, S, S, "q2", D, "a2"}) << true;
    QTest::newRow("adjacent separators: block 2 is q2's") << crlf(adjacent) << 2 << xyz
                                                         << crlf({"T", S, S, "x", D, "y", "z", S, "q3"}) << true;
    QTest::newRow("block on line 0") << crlf({S, "q", D, "a"}) << 1 << xyz
                                     << crlf({S, "x", D, "y", "z"}) + "\r\n" << true;
    QTest::newRow("more entries than blocks") << crlf(twoBlocks) << 3 << xyz << crlf(twoBlocks) << false;
}

void TestBlocks::write()
{
    QFETCH(QByteArray, before);
    QFETCH(int, k);
    QFETCH(Block, block);
    QFETCH(QByteArray, after);
    QFETCH(bool, found);

    LineBuffer lines(before.toStdString());
    const int countBefore = lines.count();
    QCOMPARE(WriteBlock(lines, k, block), found);
    QCOMPARE(bytesOf(lines), after);
    // Each line of the old block went, and each of the new one came, in a call of its own.
    const int written = found ? int(block.question.size() + block.answer.size()) + 2 : 0;
    QCOMPARE(lines.changes(), countBefore - lines.count() + 2 * written);
}

void TestBlocks::add_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<Block>("block");
    QTest::addColumn<QByteArray>("after");

    const Block qa = makeBlock({"q"}, {"a"});
    QTest::newRow("empty text gets an empty title first")
        << QByteArray() << qa << crlf({"", S, "q", D, "a"}) + "\r\n";
    QTest::newRow("after a last line without break") << QByteArray("T") << qa << crlf({"T", S, "q", D, "a"});
    QTest::newRow("after a final break")
        << QByteArray("T\r\n") << qa << crlf({"T", S, "q", D, "a"}) + "\r\n";
    QTest::newRow("empty block after a block")
        << crlf({"T", S, "q1", D, "a1"}) << Block{} << crlf({"T", S, "q1", D, "a1", S, D});
    QTest::newRow("after a separator on line 0") << crlf({S}) << qa << crlf({S, S, "q", D, "a"});
}

void TestBlocks::add()
{
    QFETCH(QByteArray, before);
    QFETCH(Block, block);
    QFETCH(QByteArray, after);

    LineBuffer lines(before.toStdString());
    const int countBefore = lines.count();
    AddBlock(lines, block);
    QCOMPARE(bytesOf(lines), after);
    QCOMPARE(lines.changes(), lines.count() - countBefore);
}

void TestBlocks::editWithoutChangesGivesBackTheBlock_data()
{
    QTest::addColumn<Text>("text");

    QTest::newRow("plain blocks") << Text{"T", S, "q1", "q2", D, "a1", "a2", S, "q3", D, "a3"};
    QTest::newRow("odd blocks") << Text{"T", "x", S, D, "a", S, "q", D, S, "q", D, "a1", D, "a2",
                                       S, "", "q", D, "", "a", S, "q", S + " ", D, S.left(79)};
    QTest::newRow("adjacent separators") << Text{"T", S, S, "q2", D, "a2", S, S};
    QTest::newRow("separator on line 0") << Text{S, "q", D, "a", S, "q2", D};
    QTest::newRow("block without divider last") << Text{"T", S, "q", D, "a", S, "q2"};
    QTest::newRow("long answer line") << Text{"T", S, "q", D, longLine, S, "q2", D, longLine};
}

void TestBlocks::editWithoutChangesGivesBackTheBlock()
{
    QFETCH(Text, text);

    for (const bool finalBreak : {false, true}) {
        const QByteArray original = crlf(text) + (finalBreak ? "\r\n" : "");
        int written = 0;
        for (int k = 1;; ++k) {
            LineBuffer lines(original.toStdString());
            const std::optional<Block> block = ReadBlock(lines, k);
            if (!block)
                break;
            const int divider = *LocateBlock(lines, k) + 1 + int(block->question.size());
            if (lines.line(divider) != "---" || divider >= lines.count())
                continue;
            const bool last = !LocateBlock(lines, k + 1);

            QVERIFY(WriteBlock(lines, k, *block));
            // The last block of a text without a final break gets one, as removing its last
            // line leaves one.
            const QByteArray expected = original + (last && !finalBreak ? "\r\n" : "");
            QCOMPARE(bytesOf(lines), expected);
            ++written;
        }
        QVERIFY(written > 0);
    }
}

QTEST_APPLESS_MAIN(TestBlocks)
#include "tst_blocks.moc"
