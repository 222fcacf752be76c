#include "FAQmain.h"

#include "About.h"
#include "QAmenu.h"
#include "document/blocks.h"
#include "platform/guard.h"
#include "platform/listbox.h"
#include "platform/memo.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

TFAQForm *FAQForm = nullptr;

namespace {

const QString CaptionPrefix = QStringLiteral("Nobrex - ");
const char ManualFile[] = "Manual.txt";

} // namespace

TFAQForm::TFAQForm()
{
    FAQForm = this;
    setFont(formFont());
    createMenus();
    createControls();
    // The designed client area is 484 by 395 below the menu bar, at (200, 117), not centred.
    move(200, 117);
    resize(484, 395 + MainMenu1->sizeHint().height());

    SaveDialog.setFileName(Untitled);
    applyCaption();
}

void TFAQForm::createMenus()
{
    MainMenu1 = menuBar();
    File = MainMenu1->addMenu(tr("&File"));
    New = File->addAction(tr("&New"), this, guarded(this, &TFAQForm::NewClick));
    Open = File->addAction(tr("&Open"), this, guarded(this, &TFAQForm::OpenClick));
    Save = File->addAction(tr("&Save"), this, guarded(this, &TFAQForm::SaveClick));
    SaveAs = File->addAction(tr("Save &As"), this, guarded(this, &TFAQForm::SaveAsClick));
    N1 = File->addSeparator();
    Exit = File->addAction(tr("E&xit"), this, guarded(this, &TFAQForm::ExitClick));
    Help = MainMenu1->addMenu(tr("&Help"));
    Manual = Help->addAction(tr("&Manual"), this, guarded(this, &TFAQForm::ManualClick));
    About = Help->addAction(tr("&About"), this, guarded(this, &TFAQForm::AboutClick));
}

void TFAQForm::createControls()
{
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QFrame(client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(25);
    // The buttons stand 56 pixels apart and are 57 wide: neighbours overlap by one pixel.
    const auto makeButton = [this](const QString &caption, int left, void (TFAQForm::*handler)()) {
        auto *button = new QPushButton(caption, Panel1);
        button->setGeometry(left, 0, 57, 25);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, guarded(this, handler));
        return button;
    };
    Add = makeButton(tr("&Add"), 0, &TFAQForm::AddClick);
    Remove = makeButton(tr("&Remove"), 56, &TFAQForm::RemoveClick);
    EditBut = makeButton(tr("&Edit"), 112, &TFAQForm::EditButClick);

    FaqList = new ListBox(client);
    FaqList->setFixedHeight(120);
    FAQtext = new Memo(client);
    connect(FAQtext, &Memo::changed, this, guarded(this, &TFAQForm::FAQtextChange));

    layout->addWidget(Panel1);
    layout->addWidget(FaqList);
    layout->addWidget(FAQtext, 1);
    setCentralWidget(client);

    setTabOrder(Add, Remove);
    setTabOrder(Remove, EditBut);
    setTabOrder(EditBut, FaqList);
    setTabOrder(FaqList, FAQtext);
}

void TFAQForm::applyCaption()
{
    setWindowTitle(CaptionPrefix + SaveDialog.FileName());
}

void TFAQForm::promptToSave()
{
    if (!FAQtext->isModified())
        return;
    switch (Dialogs::current().askYesNo(
        QStringLiteral("Nobrex"), tr("The current file has been changed. Save changes?"))) {
    case Reply::Yes:
        SaveClick();
        break;
    case Reply::No:
        break;
    case Reply::Cancel:
        throw EAbort();
    }
}

void TFAQForm::ExitClick()
{
    close();
}

void TFAQForm::OpenClick()
{
    promptToSave();
    if (!OpenDialog.Execute())
        return;
    FAQtext->load(OpenDialog.FileName().toStdString());
    ++m_documentNumber;
    SaveDialog.setFileName(OpenDialog.FileName());
    applyCaption();
}

void TFAQForm::SaveAsClick()
{
    if (!SaveDialog.Execute())
        return;
    FAQtext->save(SaveDialog.FileName().toStdString());
    FAQtext->setModified(false);
    applyCaption();
}

void TFAQForm::AddClick()
{
    QAForm->beginAdd();
}

void TFAQForm::FAQtextChange()
{
    FaqList->showIndex(FAQtext->questionIndex(), *FAQtext);
}

void TFAQForm::SaveClick()
{
    // Cancelling the dialog ends the command and, through EAbort, whatever prompted it, so
    // that a Yes is never followed by losing the text the user wanted saved.
    if (SaveDialog.FileName() == Untitled && !SaveDialog.Execute())
        throw EAbort();
    FAQtext->save(SaveDialog.FileName().toStdString());
    FAQtext->setModified(false);
}

void TFAQForm::NewClick()
{
    promptToSave();
    FAQtext->clear();
    FaqList->clear();
    ++m_documentNumber;
    SaveDialog.setFileName(Untitled);
    applyCaption();
}

void TFAQForm::RemoveClick()
{
    const int k = FaqList->selectedIndex();
    if (k <= 0)
        return;
    EraseBlock(*FAQtext, k);
}

void TFAQForm::EditButClick()
{
    const int k = FaqList->selectedIndex();
    if (k <= 0)
        return;
    QAForm->beginEdit(k, ReadBlock(*FAQtext, k));
}

void TFAQForm::AboutClick()
{
    AboutForm->exec();
}

void TFAQForm::ManualClick()
{
    promptToSave();
    FAQtext->load(ManualFile);
    ++m_documentNumber;
    // The manual counts as untitled, so no Save can write it over the document shown before.
    SaveDialog.setFileName(Untitled);
    setWindowTitle(QStringLiteral("Manual"));
}

void TFAQForm::FormClose(CloseAction &)
{
    promptToSave();
}

void TFAQForm::closeEvent(QCloseEvent *event)
{
    CloseAction action = CloseAction::Hide;
    if (!runGuarded([&] { FormClose(action); })) {
        event->ignore();
        return;
    }
    event->accept();
    // The program ends with its main window, whatever other windows are open.
    QCoreApplication::quit();
}
