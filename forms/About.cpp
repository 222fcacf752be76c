#include "About.h"

#include "platform/form.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TAboutForm *AboutForm = nullptr;

namespace {

QLabel *makeLabel(const QString &text, int left, int top, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TAboutForm::TAboutForm()
{
    AboutForm = this;
    setWindowTitle(tr("About Nobrex"));
    // A fixed dialog border: a close box, but no minimise, maximise or help buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFont(formFont());
    setFixedSize(297, 144);
    // Placed, so Qt does not centre it on its first showing; later showings keep whatever
    // position the user gave it.
    move(200, 108);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 282, 89);

    Image1 = new QLabel(this);
    Image1->setGeometry(16, 16, 41, 41);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap(QStringLiteral(":/nobrex.png")));

    Label1 = makeLabel(QStringLiteral("Nobrex version " NOBREX_VERSION), 72, 24, this);
    QFont titleFont = formFont();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    QPalette titlePalette = Label1->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(titlePalette);
    Label1->adjustSize();

    Label2 = makeLabel(tr("Written for people who keep FAQs"), 72, 48, this);
    Label3 = makeLabel(QStringLiteral("https://nobrex.example.org"), 72, 64, this);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    BitBtn1->setGeometry(104, 112, 81, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setFocus();
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm::keyPressEvent(QKeyEvent *event)
{
    // The box has no cancel button, so Escape does nothing; QDialog would reject on it.
    // The close box still closes it, through closeEvent().
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
