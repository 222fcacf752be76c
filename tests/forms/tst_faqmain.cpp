#include "formsfixture.h"

#include <QSignalSpy>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
const QString Prompt = u"Nobrex|The current file has been changed. Save changes?"_s;
}

class TestFAQmain : public FormsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void startsUntitledAndEmpty();
    void listFollowsTyping();
    void newClearsEverything();
    void promptOutcomes_data();
    void promptOutcomes();
    void openLoadsAndNames();
    void openOfEqualTextOnlyRenames();
    void openOfMissingFileChangesNothing();
    void saveOfUntitledNamesButKeepsCaption();
    void saveIntoMissingFolderKeepsModified();
    void saveAsCancelledChangesNothing();
    void saveAsRenames();
    void dialogsProposeNames();
    void closeWithFailingSaveStaysOpen();
    void escapedExceptionShowsErrorBox();
};

void TestFAQmain::startsUntitledAndEmpty()
{
    QCOMPARE(FAQForm->windowTitle(), u"Nobrex - Untitled"_s);
    QCOMPARE(FAQForm->SaveDialog.FileName(), u"Untitled"_s);
    QCOMPARE(FAQForm->FaqList->count(), 0);
    QCOMPARE(FAQForm->FAQtext->text(), "");
    QVERIFY(!FAQForm->FAQtext->isModified());
    QVERIFY(FAQForm->close());
    QVERIFY(dialogs.questions.isEmpty());
}

void TestFAQmain::listFollowsTyping()
{
    type(u"Title"_s);
    QCOMPARE(FAQForm->FaqList->items(), Strings{"Title"});
    QVERIFY(FAQForm->FAQtext->isModified());

    FAQForm->FaqList->setSelectedIndex(0);
    QTest::keyClick(FAQForm->FAQtext, Qt::Key_Return);
    type(QString::fromStdString(S));
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"Title", ""}));
    QTest::keyClick(FAQForm->FAQtext, Qt::Key_Return);
    type(u"Why?"_s);
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"Title", "Why?"}));
    QCOMPARE(FAQForm->FaqList->selectedIndex(), -1);
}

void TestFAQmain::newClearsEverything()
{
    type(u"x"_s);
    dialogs.answers = {Reply::No};
    FAQForm->New->trigger();
    QCOMPARE(dialogs.questions, QStringList{Prompt});
    QCOMPARE(FAQForm->FAQtext->text(), "");
    QVERIFY(!FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->FaqList->count(), 0);
    QCOMPARE(FAQForm->windowTitle(), u"Nobrex - Untitled"_s);

    // Nothing to ask the second time.
    FAQForm->New->trigger();
    QCOMPARE(dialogs.questions.size(), 1);
    type(u"y"_s);
    QCOMPARE(FAQForm->FaqList->items(), Strings{"y"});
}

enum class Command { New, Open, Close };

void TestFAQmain::promptOutcomes_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<Reply>("answer");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("goesOn");

    const std::pair<const char *, Command> commands[] = {
        {"new", Command::New}, {"open", Command::Open}, {"close", Command::Close}};
    for (const auto &[name, command] : commands) {
        QTest::addRow("%s, no", name) << command << Reply::No << true << false << true;
        QTest::addRow("%s, yes on a named document", name)
            << command << Reply::Yes << true << true << true;
        QTest::addRow("%s, yes and the save dialog cancelled", name)
            << command << Reply::Yes << false << false << false;
        QTest::addRow("%s, escape", name) << command << Reply::Cancel << true << false << false;
    }
}

void TestFAQmain::promptOutcomes()
{
    QFETCH(Command, command);
    QFETCH(Reply, answer);
    QFETCH(bool, named);
    QFETCH(bool, saved);
    QFETCH(bool, goesOn);

    const QString document = path(u"doc.txt"_s);
    const QString other = path(u"other.txt"_s);
    writeFile(document, "old");
    writeFile(other, "other\r\n");
    if (named) {
        dialogs.files = {document};
        FAQForm->OpenClick();
    }
    type(u"typed "_s);
    const std::string typed = FAQForm->FAQtext->text();
    const QString caption = FAQForm->windowTitle();

    dialogs.answers = {answer};
    if (answer == Reply::Yes && !named)
        dialogs.files.push_back(QString());
    if (command == Command::Open && goesOn)
        dialogs.files.push_back(other);

    bool closed = false;
    switch (command) {
    case Command::New:
        FAQForm->New->trigger();
        break;
    case Command::Open:
        FAQForm->Open->trigger();
        break;
    case Command::Close:
        closed = FAQForm->close();
        break;
    }

    QCOMPARE(dialogs.questions, QStringList{Prompt});
    QVERIFY(dialogs.errors.isEmpty());
    QCOMPARE(readFile(document), saved ? QByteArray::fromStdString(typed) : QByteArray("old"));
    if (!goesOn) {
        QCOMPARE(FAQForm->FAQtext->text(), typed);
        QVERIFY(FAQForm->FAQtext->isModified());
        QCOMPARE(FAQForm->windowTitle(), caption);
        QCOMPARE(FAQForm->SaveDialog.FileName(), named ? document : u"Untitled"_s);
        QVERIFY(!closed);
        return;
    }
    switch (command) {
    case Command::New:
        QCOMPARE(FAQForm->FAQtext->text(), "");
        QCOMPARE(FAQForm->windowTitle(), u"Nobrex - Untitled"_s);
        break;
    case Command::Open:
        QCOMPARE(FAQForm->FAQtext->text(), "other\r\n");
        QCOMPARE(FAQForm->windowTitle(), "Nobrex - "_L1 + other);
        break;
    case Command::Close:
        QVERIFY(closed);
        break;
    }
}

void TestFAQmain::openLoadsAndNames()
{
    const QString file = path(u"faq.txt"_s);
    writeFile(file, QByteArray::fromStdString(joined({"T", S, "q1", "---", "a1", S, "q2"})));
    dialogs.files = {file};
    FAQForm->Open->trigger();
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"T", "q1", "q2"}));
    QVERIFY(!FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->windowTitle(), "Nobrex - "_L1 + file);
    QCOMPARE(FAQForm->SaveDialog.FileName(), file);
    QCOMPARE(FAQForm->OpenDialog.FileName(), file);
}

void TestFAQmain::openOfEqualTextOnlyRenames()
{
    type(u"same"_s);
    const QString file = path(u"same.txt"_s);
    writeFile(file, "same");
    FAQForm->FaqList->setSelectedIndex(0);
    QSignalSpy changes(FAQForm->FAQtext, &Memo::changed);

    dialogs.answers = {Reply::No};
    dialogs.files = {file};
    FAQForm->Open->trigger();
    QCOMPARE(changes.count(), 0);
    QVERIFY(FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->FaqList->selectedIndex(), 0);
    QCOMPARE(FAQForm->windowTitle(), "Nobrex - "_L1 + file);
}

void TestFAQmain::openOfMissingFileChangesNothing()
{
    type(u"kept"_s);
    const QString missing = path(u"missing.txt"_s);
    dialogs.answers = {Reply::No};
    dialogs.files = {missing};
    FAQForm->Open->trigger();
    QCOMPARE(dialogs.errors, QStringList{"Cannot open file "_L1 + missing + "."_L1});
    QCOMPARE(dialogs.errorCaptions, QStringList{u"Nobrex 1.0"_s});
    QCOMPARE(FAQForm->FAQtext->text(), "kept");
    QVERIFY(FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->windowTitle(), u"Nobrex - Untitled"_s);
    QCOMPARE(FAQForm->SaveDialog.FileName(), u"Untitled"_s);
}

void TestFAQmain::saveOfUntitledNamesButKeepsCaption()
{
    type(u"draft"_s);
    const QString file = path(u"draft.txt"_s);
    dialogs.files = {file};
    FAQForm->Save->trigger();
    QCOMPARE(readFile(file), QByteArray("draft"));
    QVERIFY(!FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->SaveDialog.FileName(), file);
    QCOMPARE(FAQForm->windowTitle(), u"Nobrex - Untitled"_s);

    // Named now: the second Save asks nothing.
    type(u"!"_s);
    FAQForm->Save->trigger();
    QCOMPARE(readFile(file), QByteArray("draft!"));
    QCOMPARE(dialogs.fileRequests.size(), std::size_t(1));
}

void TestFAQmain::saveIntoMissingFolderKeepsModified()
{
    type(u"text"_s);
    const QString file = path(u"no/such/folder/x.txt"_s);
    dialogs.files = {file};
    FAQForm->Save->trigger();
    QCOMPARE(dialogs.errors, QStringList{"Cannot create file "_L1 + file + "."_L1});
    QVERIFY(FAQForm->FAQtext->isModified());
    // The dialog named the document before the write failed.
    QCOMPARE(FAQForm->SaveDialog.FileName(), file);
    QCOMPARE(FAQForm->windowTitle(), u"Nobrex - Untitled"_s);
}

void TestFAQmain::saveAsCancelledChangesNothing()
{
    type(u"text"_s);
    dialogs.files = {QString()};
    FAQForm->SaveAs->trigger();
    QVERIFY(FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->SaveDialog.FileName(), u"Untitled"_s);
    QCOMPARE(FAQForm->windowTitle(), u"Nobrex - Untitled"_s);
}

void TestFAQmain::saveAsRenames()
{
    type(u"text"_s);
    const QString file = path(u"as.txt"_s);
    dialogs.files = {file};
    FAQForm->SaveAs->trigger();
    QCOMPARE(readFile(file), QByteArray("text"));
    QVERIFY(!FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->windowTitle(), "Nobrex - "_L1 + file);
}

void TestFAQmain::dialogsProposeNames()
{
    const QString first = path(u"first.txt"_s);
    writeFile(first, "1");
    dialogs.files = {first, QString(), QString(), QString()};
    FAQForm->Open->trigger();
    FAQForm->New->trigger();
    FAQForm->Open->trigger();
    FAQForm->SaveAs->trigger();
    FAQForm->Save->trigger();

    QCOMPARE(dialogs.fileRequests.size(), std::size_t(4));
    const FileDialogRequest &firstOpen = dialogs.fileRequests[0];
    QCOMPARE(firstOpen.kind, FileDialogKind::Open);
    QCOMPARE(firstOpen.fileName, u"Untitled"_s);
    QCOMPARE(firstOpen.filters,
             (QStringList{u"Text Files (*.txt)"_s, u"All Files (*.*)"_s}));
    QCOMPARE(firstOpen.filterIndex, 0);
    QCOMPARE(firstOpen.defaultSuffix, QString());
    // After New the open dialog still proposes the file opened last.
    QCOMPARE(dialogs.fileRequests[1].fileName, first);
    const FileDialogRequest &saveAs = dialogs.fileRequests[2];
    QCOMPARE(saveAs.kind, FileDialogKind::Save);
    QCOMPARE(saveAs.fileName, u"Untitled"_s);
    QCOMPARE(saveAs.defaultSuffix, u"txt"_s);
    QCOMPARE(dialogs.fileRequests[3].fileName, u"Untitled"_s);
}

void TestFAQmain::closeWithFailingSaveStaysOpen()
{
    const QString file = path(u"locked.txt"_s);
    writeFile(file, "locked");
    dialogs.files = {file};
    FAQForm->Open->trigger();
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    type(u"more "_s);

    dialogs.answers = {Reply::Yes};
    QVERIFY(!FAQForm->close());
    QCOMPARE(dialogs.errors, QStringList{"Cannot create file "_L1 + file + "."_L1});
    QVERIFY(FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->FAQtext->text(), "more locked");
    QCOMPARE(readFile(file), QByteArray("locked"));
}

void TestFAQmain::escapedExceptionShowsErrorBox()
{
    // Any handler: the guard shows the message with a period, even after one already there.
    runGuarded([] { throw EInvalidOperation("Went wrong."); });
    runGuarded([] { throw EAbort(); });
    QCOMPARE(dialogs.errors, QStringList{u"Went wrong.."_s});
    QCOMPARE(dialogs.errorCaptions, QStringList{u"Nobrex 1.0"_s});
}

QTEST_MAIN(TestFAQmain)
#include "tst_faqmain.moc"
