#include "formsfixture.h"

#include "forms/About.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// What the user saw while Help About was up.
struct Showing
{
    bool modal = false;
    QPoint position;
    bool stillOpen = false;
};

// Runs Help About, and while the box is up does what the user does. A box that is still up
// afterwards is closed, so that a failing test cannot hang in its loop.
Showing showAbout(const std::function<void()> &user)
{
    Showing seen;
    QTimer::singleShot(0, AboutForm, [&] {
        seen.modal = QApplication::activeModalWidget() == AboutForm;
        seen.position = AboutForm->pos();
        user();
        seen.stillOpen = AboutForm->isVisible();
        if (seen.stillOpen)
            AboutForm->done(QDialog::Rejected);
    });
    FAQForm->About->trigger();
    return seen;
}

} // namespace

class TestAbout : public FormsFixture
{
    Q_OBJECT

private Q_SLOTS:
    void closes_data();
    void closes();
    void reopensWhereLeft();
    void showsItsTexts();
    void showsTheProgramsIcon();
};

enum class UserAction { ClickOk, Enter, KeypadEnter, Escape, CloseBox };

void TestAbout::closes_data()
{
    QTest::addColumn<UserAction>("action");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("result");

    QTest::newRow("OK clicked") << UserAction::ClickOk << true << int(QDialog::Accepted);
    QTest::newRow("Enter") << UserAction::Enter << true << int(QDialog::Accepted);
    QTest::newRow("Enter on the keypad") << UserAction::KeypadEnter << true << int(QDialog::Accepted);
    QTest::newRow("close box") << UserAction::CloseBox << true << int(QDialog::Rejected);
    QTest::newRow("Escape does nothing") << UserAction::Escape << false << -1;
}

void TestAbout::closes()
{
    QFETCH(UserAction, action);
    QFETCH(bool, closes);
    QFETCH(int, result);

    const Showing seen = showAbout([action] {
        switch (action) {
        case UserAction::ClickOk:
            QTest::mouseClick(AboutForm->BitBtn1, Qt::LeftButton);
            break;
        case UserAction::Enter:
            QTest::keyClick(AboutForm, Qt::Key_Return);
            break;
        case UserAction::KeypadEnter:
            QTest::keyClick(AboutForm, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case UserAction::Escape:
            QTest::keyClick(AboutForm, Qt::Key_Escape);
            break;
        case UserAction::CloseBox:
            AboutForm->close();
            break;
        }
    });

    QVERIFY(seen.modal);
    QCOMPARE(seen.stillOpen, !closes);
    QVERIFY(!AboutForm->isVisible());
    if (closes)
        QCOMPARE(AboutForm->result(), result);
    // The box raises no errors and asks nothing.
    QVERIFY(dialogs.errors.isEmpty());
}

void TestAbout::reopensWhereLeft()
{
    const Showing first = showAbout([] {
        // Where the window manager puts it when the user drags it.
        AboutForm->move(321, 243);
        QTest::mouseClick(AboutForm->BitBtn1, Qt::LeftButton);
    });
    QCOMPARE(first.position, QPoint(200, 108));

    const Showing second = showAbout([] { QTest::mouseClick(AboutForm->BitBtn1, Qt::LeftButton); });
    QCOMPARE(second.position, QPoint(321, 243));
    QVERIFY(!second.stillOpen);
}

void TestAbout::showsItsTexts()
{
    QCOMPARE(AboutForm->windowTitle(), u"About Nobrex"_s);
    QCOMPARE(AboutForm->Label1->text(), u"Nobrex version 1.0"_s);
    QVERIFY(AboutForm->Label1->font().bold());
    QCOMPARE_GT(QFontInfo(AboutForm->Label1->font()).pixelSize(),
                QFontInfo(AboutForm->font()).pixelSize());
    QCOMPARE(AboutForm->Label2->text(), u"Written for people who keep FAQs"_s);
    QCOMPARE(AboutForm->Label3->text(), u"https://nobrex.example.org"_s);
    QCOMPARE(AboutForm->BitBtn1->text(), u"OK"_s);
    QVERIFY(AboutForm->BitBtn1->isDefault());

    // A fixed dialog with a close box only, and every text whole inside the bevel.
    const Qt::WindowFlags flags = AboutForm->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                       | Qt::WindowContextHelpButtonHint)));
    QCOMPARE(AboutForm->minimumSize(), QSize(297, 144));
    QCOMPARE(AboutForm->maximumSize(), QSize(297, 144));
    const QRect inside = AboutForm->Bevel1->geometry().adjusted(2, 2, -2, -2);
    for (const QLabel *label : {AboutForm->Label1, AboutForm->Label2, AboutForm->Label3}) {
        QVERIFY2(inside.contains(label->geometry()), qPrintable(label->text()));
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
    QVERIFY(!AboutForm->Label1->geometry().intersects(AboutForm->Label2->geometry()));
    QVERIFY(!AboutForm->Label2->geometry().intersects(AboutForm->Label3->geometry()));
}

void TestAbout::showsTheProgramsIcon()
{
    const QImage icon(u":/nobrex.png"_s);
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.colorCount() > 0 && icon.colorCount() <= 16);

    // At its natural size in the image's top-left corner, neither stretched nor centred.
    const QLabel *image = AboutForm->Image1;
    QCOMPARE(image->pos(), QPoint(16, 16));
    QVERIFY(!image->hasScaledContents());
    QCOMPARE(image->alignment(), Qt::AlignLeft | Qt::AlignTop);
    const QImage shown = image->pixmap().toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
             icon.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
