#include "formsfixture.h"

#include "platform/memo.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

const std::string D = "---";

} // namespace

class TestBlockEditing : public FormsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void addThenOk();
    void addToEmptyTextStartsWithTitle();
    void editThenOkReplacesInPlace();
    void editThenOkWithoutChangesKeepsText();
    void cancelAndCloseDropTheEdit_data();
    void cancelAndCloseDropTheEdit();
    void addWhileEditingAddsNew();
    void editWhileOpenAppends();
    void okAfterTheBlockChangedAdds_data();
    void okAfterTheBlockChangedAdds();
    void editOfMissingBlockAdds();
    void removeDeletesLineByLine();
    void blockButtonsNeedASelection();
    void closingMainWindowIgnoresEditor();

private:
    // Opens a document holding these lines, as a file.
    void openText(const Strings &lines)
    {
        const QString file = path(u"faq.txt"_s);
        writeFile(file, QByteArray::fromStdString(joined(lines)));
        dialogs.files.push_back(file);
        if (FAQForm->FAQtext->isModified())
            dialogs.answers.push_back(Reply::No);
        FAQForm->Open->trigger();
    }

    static void select(int entry) { FAQForm->FaqList->setSelectedIndex(entry); }
    static void setMemo(Memo *memo, const Strings &lines)
    {
        memo->clear();
        for (const std::string &line : lines)
            memo->append(line);
    }
};

void TestBlockEditing::addThenOk()
{
    openText({"T", S, "q1", D, "a1"});
    QTest::mouseClick(FAQForm->Add, Qt::LeftButton);
    QVERIFY(QAForm->isVisible());
    QCOMPARE(QAForm->EditItem, 0);
    QTest::keyClicks(QAForm->Question, u"new question"_s);
    QTest::keyClicks(QAForm->Answer, u"line 1"_s);
    QTest::keyClick(QAForm->Answer, Qt::Key_Return);
    QTest::keyClicks(QAForm->Answer, u"line 2"_s);

    QAForm->EditDone->trigger();
    QCOMPARE(allLines(*FAQForm->FAQtext),
             (Strings{"T", S, "q1", D, "a1", S, "new question", D, "line 1", "line 2"}));
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"T", "q1", "new question"}));
    QVERIFY(FAQForm->FAQtext->isModified());
    QVERIFY(!QAForm->isVisible());
    QCOMPARE(QAForm->Question->text(), "");
    QCOMPARE(QAForm->Answer->text(), "");
}

void TestBlockEditing::addToEmptyTextStartsWithTitle()
{
    FAQForm->AddClick();
    setMemo(QAForm->Question, {"q"});
    QAForm->EditDoneClick();
    QCOMPARE(allLines(*FAQForm->FAQtext), (Strings{"", S, "q", D}));
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"", "q"}));
}

void TestBlockEditing::editThenOkReplacesInPlace()
{
    openText({"T", S, "q1", "q2", D, "a1", "a2", S, "q3", D, "a3"});
    select(1);
    QTest::mouseClick(FAQForm->EditBut, Qt::LeftButton);
    QVERIFY(QAForm->isVisible());
    QCOMPARE(QAForm->EditItem, 1);
    QCOMPARE(allLines(*QAForm->Question), (Strings{"q1", "q2"}));
    QCOMPARE(allLines(*QAForm->Answer), (Strings{"a1", "a2"}));
    QCOMPARE(FAQForm->FaqList->selectedIndex(), 1);

    setMemo(QAForm->Question, {"x"});
    setMemo(QAForm->Answer, {"y", "z"});
    QSignalSpy changes(FAQForm->FAQtext, &Memo::changed);
    QAForm->EditDone->trigger();
    QCOMPARE(allLines(*FAQForm->FAQtext), (Strings{"T", S, "x", D, "y", "z", S, "q3", D, "a3"}));
    // Six lines out, five in: each its own change.
    QCOMPARE(changes.count(), 11);
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"T", "x", "q3"}));
    QCOMPARE(FAQForm->FaqList->selectedIndex(), -1);
}

void TestBlockEditing::editThenOkWithoutChangesKeepsText()
{
    const std::string longAnswer(5000, 'a');
    const Strings text{"T", S, D, "a", S, "q", D, S, "q", D, "a1", D, "a2", S, "q", D, longAnswer};
    openText(text);
    for (int entry = 1; entry <= 4; ++entry) {
        select(entry);
        FAQForm->EditButClick();
        QAForm->EditDoneClick();
        QCOMPARE(allLines(*FAQForm->FAQtext), text);
    }
}

void TestBlockEditing::cancelAndCloseDropTheEdit_data()
{
    QTest::addColumn<bool>("viaCancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("close box") << false;
}

void TestBlockEditing::cancelAndCloseDropTheEdit()
{
    QFETCH(bool, viaCancel);
    openText({"T", S, "q1", D, "a1"});
    select(1);
    FAQForm->EditButClick();
    setMemo(QAForm->Answer, {"changed"});
    QSignalSpy changes(FAQForm->FAQtext, &Memo::changed);

    if (viaCancel)
        QAForm->CancelBut->trigger();
    else
        QVERIFY(QAForm->close());
    QVERIFY(!QAForm->isVisible());
    QCOMPARE(QAForm->Question->text(), "");
    QCOMPARE(QAForm->Answer->text(), "");
    QCOMPARE(changes.count(), 0);
    QVERIFY(!FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->FaqList->selectedIndex(), 1);

    // Escape does nothing to the editor.
    FAQForm->AddClick();
    QTest::keyClicks(QAForm->Question, u"kept"_s);
    QTest::keyClick(QAForm, Qt::Key_Escape);
    QVERIFY(QAForm->isVisible());
    QCOMPARE(QAForm->Question->text(), "kept");
    QAForm->CancelButClick();
}

void TestBlockEditing::addWhileEditingAddsNew()
{
    openText({"T", S, "q1", D, "a1"});
    select(1);
    FAQForm->EditButClick();
    FAQForm->AddClick();
    QCOMPARE(QAForm->EditItem, 0);
    QCOMPARE(allLines(*QAForm->Question), Strings{"q1"});
    setMemo(QAForm->Answer, {"other"});
    QAForm->EditDoneClick();
    QCOMPARE(allLines(*FAQForm->FAQtext), (Strings{"T", S, "q1", D, "a1", S, "q1", D, "other"}));
}

void TestBlockEditing::editWhileOpenAppends()
{
    openText({"T", S, "q1", D, "a1", S, "q2", D, "a2"});
    select(1);
    FAQForm->EditButClick();
    select(2);
    FAQForm->EditButClick();
    QCOMPARE(QAForm->EditItem, 2);
    QCOMPARE(allLines(*QAForm->Question), (Strings{"q1", "q2"}));
    QCOMPARE(allLines(*QAForm->Answer), (Strings{"a1", "a2"}));
    QAForm->EditDoneClick();
    QCOMPARE(allLines(*FAQForm->FAQtext),
             (Strings{"T", S, "q1", D, "a1", S, "q1", "q2", D, "a1", "a2"}));
}

enum class Meanwhile { RemoveEarlierBlock, TypeIntoBlock, New, OpenEqualText };

void TestBlockEditing::okAfterTheBlockChangedAdds_data()
{
    QTest::addColumn<Meanwhile>("meanwhile");
    QTest::addColumn<Strings>("expected");

    const Strings edited{S, "edited", D, "a"};
    QTest::newRow("an earlier block removed")
        << Meanwhile::RemoveEarlierBlock
        << Strings{"T", S, "q2", D, "a2", S, "q3", D, "a3", S, "edited", D, "a"};
    QTest::newRow("the block itself changed")
        << Meanwhile::TypeIntoBlock
        << Strings{"T", S, "q1", D, "a1", S, "!q2", D, "a2", S, "q3", D, "a3", S, "edited", D, "a"};
    QTest::newRow("another document started")
        << Meanwhile::New << Strings{"", S, "edited", D, "a"};
    QTest::newRow("the same text opened again")
        << Meanwhile::OpenEqualText
        << Strings{"T", S, "q1", D, "a1", S, "q2", D, "a2", S, "q3", D, "a3", S, "edited", D, "a"};
}

// The editor is not modal: when block EditItem no longer holds what was read, Ok must not
// overwrite whatever block now has that number.
void TestBlockEditing::okAfterTheBlockChangedAdds()
{
    QFETCH(Meanwhile, meanwhile);
    QFETCH(Strings, expected);
    const Strings text{"T", S, "q1", D, "a1", S, "q2", D, "a2", S, "q3", D, "a3"};
    openText(text);
    select(2);
    FAQForm->EditButClick();
    setMemo(QAForm->Question, {"edited"});
    setMemo(QAForm->Answer, {"a"});

    switch (meanwhile) {
    case Meanwhile::RemoveEarlierBlock:
        select(1);
        FAQForm->RemoveClick();
        break;
    case Meanwhile::TypeIntoBlock: {
        QTextCursor cursor = FAQForm->FAQtext->textCursor();
        cursor.setPosition(FAQForm->FAQtext->document()->findBlockByNumber(6).position());
        FAQForm->FAQtext->setTextCursor(cursor);
        type(u"!"_s);
        break;
    }
    case Meanwhile::New:
        FAQForm->NewClick();
        break;
    case Meanwhile::OpenEqualText:
        openText(text);
        break;
    }
    QAForm->EditDoneClick();
    QCOMPARE(allLines(*FAQForm->FAQtext), expected);
    QVERIFY(!QAForm->isVisible());
}

void TestBlockEditing::editOfMissingBlockAdds()
{
    openText({"T", S, "q1", D, "a1", S, "q2", D, "a2"});
    // An index out of step: the list shows more entries than the text has blocks.
    FAQForm->FaqList->append("stale");
    select(3);
    FAQForm->EditButClick();
    QVERIFY(QAForm->isVisible());
    QCOMPARE(QAForm->EditItem, 3);
    QCOMPARE(QAForm->Question->text(), "");
    setMemo(QAForm->Question, {"q"});
    QAForm->EditDoneClick();
    QCOMPARE(allLines(*FAQForm->FAQtext),
             (Strings{"T", S, "q1", D, "a1", S, "q2", D, "a2", S, "q", D}));
}

void TestBlockEditing::removeDeletesLineByLine()
{
    openText({"T", S, "q1", D, "a1", "a1b", S, "q2", D, "a2"});
    select(1);
    QSignalSpy changes(FAQForm->FAQtext, &Memo::changed);
    QTest::mouseClick(FAQForm->Remove, Qt::LeftButton);
    QCOMPARE(changes.count(), 5);
    QCOMPARE(allLines(*FAQForm->FAQtext), (Strings{"T", S, "q2", D, "a2"}));
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"T", "q2"}));
    QCOMPARE(FAQForm->FaqList->selectedIndex(), -1);
    QVERIFY(FAQForm->FAQtext->isModified());

    // The last block: the deletion stops at the end of the text.
    select(1);
    FAQForm->RemoveClick();
    QCOMPARE(allLines(*FAQForm->FAQtext), Strings{"T"});
}

void TestBlockEditing::blockButtonsNeedASelection()
{
    openText({"T", S, "q1", D, "a1"});
    QSignalSpy changes(FAQForm->FAQtext, &Memo::changed);
    for (const int entry : {-1, 0}) {
        select(entry);
        FAQForm->RemoveClick();
        FAQForm->EditButClick();
    }
    QCOMPARE(changes.count(), 0);
    QVERIFY(!QAForm->isVisible());
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(dialogs.errors.isEmpty());
}

void TestBlockEditing::closingMainWindowIgnoresEditor()
{
    FAQForm->AddClick();
    QTest::keyClicks(QAForm->Question, u"unsaved edit"_s);
    QVERIFY(FAQForm->close());
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(!QAForm->testAttribute(Qt::WA_QuitOnClose));
}

QTEST_MAIN(TestBlockEditing)
#include "tst_blockediting.moc"
