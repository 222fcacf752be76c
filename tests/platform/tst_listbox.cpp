#include "document/questionindex.h"
#include "platform/listbox.h"
#include "platform/memo.h"

#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {
const std::string S(80, '-');
}

class TestListBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void currentRowIsNoSelection();
    void followsEveryChangeExactly();
    void catchesUpAfterMissedChanges();
};

void TestListBox::currentRowIsNoSelection()
{
    ListBox list;
    list.append("T");
    list.append("q1");
    QCOMPARE(list.selectedIndex(), -1);
    list.selectionModel()->setCurrentIndex(list.model()->index(1, 0), QItemSelectionModel::NoUpdate);
    QCOMPARE(list.selectedIndex(), -1);
    list.setSelectedIndex(1);
    QCOMPARE(list.selectedIndex(), 1);
    list.clear();
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.selectedIndex(), -1);
}

// Random line operations and edits on a text with many separators: after each change the
// list must hold exactly what a rebuild from scratch gives, with nothing selected, and the
// text area must find every separator where a scan finds it.
void TestListBox::followsEveryChangeExactly()
{
    Memo memo;
    ListBox list;
    connect(&memo, &Memo::changed, &list, [&] { list.showIndex(memo.questionIndex(), memo); });
    const std::string pieces[] = {S, S, "---", "q", "", "a", "T", "-"};
    QRandomGenerator random(20261211);
    const auto piece = [&] { return pieces[random.bounded(int(std::size(pieces)))]; };

    int changes = 0;
    connect(&memo, &Memo::changed, &list, [&] { ++changes; });
    for (int step = 0; step < 600; ++step) {
        list.setSelectedIndex(random.bounded(std::max(list.count(), 1)));
        const int changesBefore = changes;
        const int at = random.bounded(memo.count() + 2) - 1;
        switch (random.bounded(6)) {
        case 0:
        case 1:
            memo.insert(at, piece());
            break;
        case 2:
            memo.remove(at);
            break;
        case 3: {
            // Typing into the middle of a line, which can make or unmake a separator.
            QTextCursor cursor(memo.document()->findBlockByNumber(std::max(at, 0)));
            cursor.movePosition(QTextCursor::EndOfBlock);
            memo.setTextCursor(cursor);
            QTest::keyClick(&memo, random.bounded(2) ? Qt::Key_Backspace : Qt::Key_Minus);
            break;
        }
        case 4:
            QTest::keyClick(&memo, Qt::Key_Return);
            break;
        case 5:
            memo.undo();
            break;
        }
        QCOMPARE(list.items(), questionEntries(memo));
        // The block commands find separators through the index instead of a scan.
        for (int k = 0; k <= list.count(); ++k)
            QCOMPARE(memo.findSeparator(k), memo.Lines::findSeparator(k));
        if (changes != changesBefore)
            QCOMPARE(list.selectedIndex(), -1);
    }
    QVERIFY(changes > 400);
}

void TestListBox::catchesUpAfterMissedChanges()
{
    Memo memo;
    ListBox list;
    memo.insert(0, "T");
    memo.append(S);
    memo.append("q1");
    list.showIndex(memo.questionIndex(), memo);
    QCOMPARE(list.items(), (std::vector<std::string>{"T", "q1"}));

    // Two changes, only the second shown: the list must not apply just the last one.
    memo.insert(1, S);
    memo.insert(2, "q0");
    list.showIndex(memo.questionIndex(), memo);
    QCOMPARE(list.items(), questionEntries(memo));

    list.clear();
    memo.append("x");
    list.showIndex(memo.questionIndex(), memo);
    QCOMPARE(list.items(), questionEntries(memo));
}

QTEST_MAIN(TestListBox)
#include "tst_listbox.moc"
