#include "platform/dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The real boxes and dialogs, built but not run: what the user would be shown.
class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void questionBox();
    void errorBox();
    void fileDialogs_data();
    void fileDialogs();
};

void TestDialogs::questionBox()
{
    const auto box = QtDialogs::makeQuestionBox(u"Nobrex"_s, u"<b>Save?</b>"_s);
    QCOMPARE(box->windowTitle(), u"Nobrex"_s);
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
    QVERIFY(box->button(QMessageBox::No));
    // Escape and the close box give Cancel, which no visible button offers.
    QCOMPARE(box->escapeButton(), box->button(QMessageBox::Cancel));
    box->show();
    QVERIFY(box->button(QMessageBox::Yes)->isVisible());
    QVERIFY(!box->button(QMessageBox::Cancel)->isVisible());
    QTest::keyClick(box.get(), Qt::Key_Escape);
    QCOMPARE(box->clickedButton(), box->button(QMessageBox::Cancel));
}

void TestDialogs::errorBox()
{
    const auto box = QtDialogs::makeErrorBox(u"Nobrex 1.0"_s, u"Cannot open file <b>x</b>.txt."_s);
    QCOMPARE(box->windowTitle(), u"Nobrex 1.0"_s);
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), u"Cannot open file <b>x</b>.txt."_s);
    QCOMPARE(box->buttons().size(), 1);
    QVERIFY(box->button(QMessageBox::Ok));
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
}

void TestDialogs::fileDialogs_data()
{
    QTest::addColumn<FileDialogKind>("kind");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("folder");

    QTest::newRow("open, untitled") << FileDialogKind::Open << u"Untitled"_s << 0 << QDir::homePath();
    QTest::newRow("save, a full path") << FileDialogKind::Save << u"/tmp/faq.txt"_s << 1 << u"/tmp"_s;
}

void TestDialogs::fileDialogs()
{
    QFETCH(FileDialogKind, kind);
    QFETCH(QString, proposed);
    QFETCH(int, filterIndex);
    QFETCH(QString, folder);
    const QStringList filters{u"Text Files (*.txt)"_s, u"All Files (*.*)"_s};
    const bool save = kind == FileDialogKind::Save;

    const auto dialog = QtDialogs::makeFileDialog(
        {kind, proposed, filters, filterIndex, save ? u"txt"_s : QString()});
    QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
    QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
    QCOMPARE(dialog->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QCOMPARE(dialog->testOption(QFileDialog::DontConfirmOverwrite), save);
    QCOMPARE(dialog->defaultSuffix(), save ? u"txt"_s : QString());
    QCOMPARE(dialog->nameFilters(), filters);
    QCOMPARE(dialog->selectedNameFilter(), filters.at(filterIndex));
    QCOMPARE(dialog->directory().absolutePath(), folder);
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
