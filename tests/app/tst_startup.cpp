#include "tests/forms/fakedialogs.h"

#include "app/nobrex.h"
#include "document/exceptions.h"
#include "forms/About.h"
#include "forms/FAQmain.h"
#include "forms/QAmenu.h"
#include "platform/listbox.h"
#include "platform/memo.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// The whole program's life: start-up, the message loop, and the end.
class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { Dialogs::install(&m_dialogs); }
    void cleanup()
    {
        Dialogs::install(nullptr);
        m_dialogs = FakeDialogs();
    }

    void startsEmptyAndEndsWithZero();
    void closingMainWindowEndsWithEditorOpen();
    void failureWhileCreatingFormsIsShown();

private:
    FakeDialogs m_dialogs;
};

void TestStartup::startsEmptyAndEndsWithZero()
{
    QString caption;
    int listEntries = -1;
    std::string text = "?";
    QList<bool> shown;
    QTimer::singleShot(0, qApp, [&] {
        caption = FAQForm->windowTitle();
        listEntries = FAQForm->FaqList->count();
        text = FAQForm->FAQtext->text();
        shown = {FAQForm->isVisible(), QAForm->isVisible(), AboutForm->isVisible()};
        FAQForm->Exit->trigger();
    });
    QCOMPARE(runNobrex(), 0);
    QCOMPARE(caption, u"Nobrex - Untitled"_s);
    QCOMPARE(listEntries, 0);
    QCOMPARE(text, "");
    QCOMPARE(shown, (QList<bool>{true, false, false}));
    QVERIFY(m_dialogs.questions.isEmpty());
    QCOMPARE(FAQForm, nullptr);
    QCOMPARE(QAForm, nullptr);
}

void TestStartup::closingMainWindowEndsWithEditorOpen()
{
    QTimer::singleShot(0, qApp, [] {
        FAQForm->AddClick();
        QTest::keyClicks(QAForm->Question, u"discarded"_s);
        FAQForm->close();
    });
    QCOMPARE(runNobrex(), 0);
    QVERIFY(m_dialogs.questions.isEmpty());
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestStartup::failureWhileCreatingFormsIsShown()
{
    const auto failing = [] {
        createForm(FAQForm);
        throw EOutOfResources("Out of system resources");
    };
    QCOMPARE(runNobrex(failing), 0);
    QCOMPARE(m_dialogs.errors, QStringList{u"Out of system resources."_s});
    QCOMPARE(m_dialogs.errorCaptions, QStringList{u"Nobrex 1.0"_s});
    QCOMPARE(FAQForm, nullptr);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
