#include "QAmenu.h"

#include "FAQmain.h"
#include "platform/guard.h"
#include "platform/memo.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

TQAForm *QAForm = nullptr;

TQAForm::TQAForm()
{
    QAForm = this;
    setWindowTitle(QStringLiteral("FAQ Editor"));
    setFont(formFont());
    // Closing the editor must never end the program, nor its being open keep it running.
    setAttribute(Qt::WA_QuitOnClose, false);

    MainMenu1 = menuBar();
    EditDone = MainMenu1->addAction(tr("&Ok"), this, guarded(this, &TQAForm::EditDoneClick));
    CancelBut = MainMenu1->addAction(tr("&Cancel"), this, guarded(this, &TQAForm::CancelButClick));

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Question = new Memo(client);
    Question->setFixedHeight(113);
    Answer = new Memo(client);
    layout->addWidget(Question);
    layout->addWidget(Answer, 1);
    setCentralWidget(client);
    setTabOrder(Question, Answer);

    move(193, 130);
    resize(503, 335);
}

void TQAForm::showEditor()
{
    show();
    raise();
    activateWindow();
}

void TQAForm::beginAdd()
{
    EditItem = 0;
    m_read.reset();
    showEditor();
}

void TQAForm::beginEdit(int k, const std::optional<Block> &read)
{
    if (read) {
        appendLines(*Question, read->question);
        appendLines(*Answer, read->answer);
    }
    EditItem = k;
    m_read = read;
    m_readDocument = FAQForm->documentNumber();
    showEditor();
}

void TQAForm::EditDoneClick()
{
    const Block edited{allLines(*Question), allLines(*Answer)};
    Memo &text = *FAQForm->FAQtext;
    const bool unchangedSinceRead = EditItem > 0 && m_read
                                    && m_readDocument == FAQForm->documentNumber()
                                    && ReadBlock(text, EditItem) == m_read;
    if (!unchangedSinceRead || !WriteBlock(text, EditItem, edited))
        AddBlock(text, edited);
    Question->clear();
    Answer->clear();
    close();
}

void TQAForm::CancelButClick()
{
    Question->clear();
    Answer->clear();
    close();
}

void TQAForm::FormClose(CloseAction &)
{
    Answer->clear();
    Question->clear();
}

void TQAForm::closeEvent(QCloseEvent *event)
{
    CloseAction action = CloseAction::Hide;
    runGuarded([&] { FormClose(action); });
    event->accept();
}
