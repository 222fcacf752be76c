#include "formsfixture.h"

#include "document/blocks.h"

#include <QAction>
#include <QDir>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString Prompt = u"Nobrex|The current file has been changed. Save changes?"_s;

// The title and the question of every block of the shipped manual, in order.
const Strings ManualIndex = {
    "Nobrex Manual",
    "What is Nobrex?",
    "What does a FAQ file look like?",
    "What does the list above the text show?",
    "How do I add a question?",
    "How do I edit a question?",
    "What if the document changes while I edit a question?",
    "How do I remove a question?",
    "Can I type in the text directly?",
    "How do I start a new FAQ or open one?",
    "How does saving work?",
    "What happens to changes I have not saved?",
    "What if a file cannot be opened or saved?",
    "What happens when I open this manual?",
};

// Makes a folder the current one for a scope: Help Manual reads Manual.txt from there.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &folder) : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(m_previous); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    QString m_previous;
};

} // namespace

class TestHelp : public FormsFixture
{
    Q_OBJECT

private:
    // The folder the tests run in, holding a copy of the shipped manual.
    QString m_manualFolder;
    QByteArray m_manual;

    // Opens a file holding bytes as the document shown.
    void openDocument(const QString &file, const QByteArray &bytes)
    {
        writeFile(file, bytes);
        dialogs.files = {file};
        FAQForm->OpenClick();
    }

    void verifyManualShown()
    {
        QCOMPARE(QByteArray::fromStdString(FAQForm->FAQtext->text()), m_manual);
        QCOMPARE(FAQForm->FaqList->items(), ManualIndex);
        QVERIFY(!FAQForm->FAQtext->isModified());
        QCOMPARE(FAQForm->windowTitle(), u"Manual"_s);
        QCOMPARE(FAQForm->SaveDialog.FileName(), u"Untitled"_s);
    }

private Q_SLOTS:
    void initTestCase();
    void shippedManualListsEveryQuestion();
    void manualWithoutChanges();
    void promptOutcomes_data();
    void promptOutcomes();
    void missingManualChangesNothing();
    void nothingToAskAfterManual_data();
    void nothingToAskAfterManual();
    void savingTheManualAsksForAName_data();
    void savingTheManualAsksForAName();
    void editBegunBeforeManualIsAdded();
};

void TestHelp::initTestCase()
{
    m_manual = readFile(QStringLiteral(NOBREX_MANUAL));
    m_manualFolder = path(u"manual"_s);
    QVERIFY(QDir().mkpath(m_manualFolder));
    QVERIFY(QFile::copy(QStringLiteral(NOBREX_MANUAL), m_manualFolder + u"/Manual.txt"_s));
    QVERIFY(QDir::setCurrent(m_manualFolder));
}

void TestHelp::shippedManualListsEveryQuestion()
{
    // CR LF throughout, as git must keep it: the text area would hide any other break.
    QVERIFY(m_manual.endsWith("\r\n"));
    QCOMPARE(m_manual.count("\n"), m_manual.count("\r\n"));
    QCOMPARE(m_manual.count("\r"), m_manual.count("\r\n"));

    FAQForm->Manual->trigger();
    QVERIFY(dialogs.errors.isEmpty());
    QCOMPARE(FAQForm->FaqList->items(), ManualIndex);
    // Each block one question line and an answer, so Edit shows it whole.
    for (int k = 1; k < int(ManualIndex.size()); ++k) {
        const std::optional<Block> block = ReadBlock(*FAQForm->FAQtext, k);
        QVERIFY(block);
        QCOMPARE(block->question, Strings{ManualIndex[std::size_t(k)]});
        QVERIFY2(!block->answer.empty(), ManualIndex[std::size_t(k)].c_str());
    }
}

void TestHelp::manualWithoutChanges()
{
    const QString document = path(u"doc.txt"_s);
    openDocument(document, "Doc\r\n" + QByteArray::fromStdString(S) + "\r\nq\r\n---\r\na");

    FAQForm->Manual->trigger();
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(dialogs.errors.isEmpty());
    verifyManualShown();
    // The open dialog keeps proposing the document opened before.
    QCOMPARE(FAQForm->OpenDialog.FileName(), document);
}

void TestHelp::promptOutcomes_data()
{
    QTest::addColumn<Reply>("answer");
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("loaded");

    QTest::newRow("no") << Reply::No << true << false << true;
    QTest::newRow("yes on a named document") << Reply::Yes << true << true << true;
    QTest::newRow("yes and the save dialog cancelled") << Reply::Yes << false << false << false;
    QTest::newRow("escape") << Reply::Cancel << true << false << false;
}

void TestHelp::promptOutcomes()
{
    QFETCH(Reply, answer);
    QFETCH(bool, named);
    QFETCH(bool, saved);
    QFETCH(bool, loaded);

    const QString document = path(u"doc.txt"_s);
    writeFile(document, "old");
    if (named)
        openDocument(document, "old");
    type(u"typed "_s);
    const std::string typed = FAQForm->FAQtext->text();
    const QString caption = FAQForm->windowTitle();

    dialogs.answers = {answer};
    if (answer == Reply::Yes && !named)
        dialogs.files = {QString()};
    FAQForm->Manual->trigger();

    QCOMPARE(dialogs.questions, QStringList{Prompt});
    QVERIFY(dialogs.errors.isEmpty());
    QCOMPARE(readFile(document), saved ? QByteArray::fromStdString(typed) : QByteArray("old"));
    if (loaded) {
        verifyManualShown();
        return;
    }
    QCOMPARE(FAQForm->FAQtext->text(), typed);
    QVERIFY(FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->windowTitle(), caption);
    QCOMPARE(FAQForm->SaveDialog.FileName(), named ? document : u"Untitled"_s);
}

void TestHelp::missingManualChangesNothing()
{
    const QString empty = path(u"empty"_s);
    QVERIFY(QDir().mkpath(empty));
    const CurrentFolder here(empty);
    QCOMPARE(QDir::currentPath(), QDir(empty).canonicalPath());

    const QString document = path(u"doc.txt"_s);
    openDocument(document, "Doc\r\n" + QByteArray::fromStdString(S) + "\r\nq");
    type(u"My "_s);
    FAQForm->FaqList->setSelectedIndex(1);
    const std::string text = FAQForm->FAQtext->text();

    dialogs.answers = {Reply::No};
    FAQForm->Manual->trigger();
    QCOMPARE(dialogs.errors, QStringList{u"Cannot open file Manual.txt."_s});
    QCOMPARE(dialogs.errorCaptions, QStringList{u"Nobrex 1.0"_s});
    QCOMPARE(FAQForm->FAQtext->text(), text);
    QVERIFY(FAQForm->FAQtext->isModified());
    QCOMPARE(FAQForm->FaqList->items(), (Strings{"My Doc", "q"}));
    QCOMPARE(FAQForm->FaqList->selectedIndex(), 1);
    QCOMPARE(FAQForm->windowTitle(), "Nobrex - "_L1 + document);
    QCOMPARE(FAQForm->SaveDialog.FileName(), document);
}

enum class Command { New, Open, Close };

void TestHelp::nothingToAskAfterManual_data()
{
    QTest::addColumn<Command>("command");
    QTest::newRow("new") << Command::New;
    QTest::newRow("open") << Command::Open;
    QTest::newRow("close") << Command::Close;
}

void TestHelp::nothingToAskAfterManual()
{
    QFETCH(Command, command);

    type(u"changes"_s);
    dialogs.answers = {Reply::No};
    FAQForm->Manual->trigger();
    QCOMPARE(dialogs.questions.size(), 1);

    const QString other = path(u"other.txt"_s);
    writeFile(other, "other");
    switch (command) {
    case Command::New:
        FAQForm->New->trigger();
        QCOMPARE(FAQForm->FAQtext->text(), "");
        break;
    case Command::Open:
        dialogs.files = {other};
        FAQForm->Open->trigger();
        QCOMPARE(FAQForm->FAQtext->text(), "other");
        break;
    case Command::Close:
        QVERIFY(FAQForm->close());
        break;
    }
    QCOMPARE(dialogs.questions.size(), 1);
}

void TestHelp::savingTheManualAsksForAName_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::newRow("save") << false;
    QTest::newRow("save as") << true;
}

void TestHelp::savingTheManualAsksForAName()
{
    QFETCH(bool, saveAs);

    const QString document = path(u"doc.txt"_s);
    openDocument(document, "mine");
    FAQForm->Manual->trigger();

    const QString copy = path(u"copy.txt"_s);
    dialogs.files = {QString(), copy};
    QAction *command = saveAs ? FAQForm->SaveAs : FAQForm->Save;
    command->trigger();
    command->trigger();

    QCOMPARE(dialogs.fileRequests.size(), std::size_t(3));
    for (std::size_t i : {1, 2}) {
        QCOMPARE(dialogs.fileRequests[i].kind, FileDialogKind::Save);
        QCOMPARE(dialogs.fileRequests[i].fileName, u"Untitled"_s);
    }
    QCOMPARE(readFile(document), QByteArray("mine"));
    QCOMPARE(readFile(copy), m_manual);
    QCOMPARE(FAQForm->SaveDialog.FileName(), copy);
    QCOMPARE(FAQForm->windowTitle(), saveAs ? "Nobrex - "_L1 + copy : u"Manual"_s);
}

void TestHelp::editBegunBeforeManualIsAdded()
{
    // A document whose first block reads as the manual's does, so that only knowing
    // which document the edit began in keeps Ok off the manual's block.
    QByteArray mine = m_manual;
    mine.replace("Nobrex Manual", "My FAQ");
    openDocument(path(u"doc.txt"_s), mine);
    const Block manualFirst = *ReadBlock(*FAQForm->FAQtext, 1);
    FAQForm->FaqList->setSelectedIndex(1);
    FAQForm->EditBut->click();
    QAForm->Answer->clear();
    QAForm->Answer->append("Changed.");

    FAQForm->Manual->trigger();
    QAForm->EditDone->trigger();

    Strings expected = ManualIndex;
    expected.push_back(ManualIndex[1]);
    QCOMPARE(FAQForm->FaqList->items(), expected);
    QCOMPARE(ReadBlock(*FAQForm->FAQtext, 1), manualFirst);
    QCOMPARE(ReadBlock(*FAQForm->FAQtext, int(expected.size()) - 1),
             (Block{{ManualIndex[1]}, {"Changed."}}));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
