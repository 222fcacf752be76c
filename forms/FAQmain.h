#pragma once

#include "platform/dialogs.h"
#include "platform/form.h"

#include <QMainWindow>

class ListBox;
class Memo;
class QAction;
class QFrame;
class QMenu;
class QPushButton;

// The main window: the FAQ text, its question index, the block buttons and the File and
// Help menus. The document has no object of its own: its text and modified flag live in
// FAQtext, its name in SaveDialog's file name.
class TFAQForm : public QMainWindow
{
    Q_OBJECT

public:
    TFAQForm();

    QMenuBar *MainMenu1;
    QMenu *File;
    QAction *New;
    QAction *Open;
    QAction *Save;
    QAction *SaveAs;
    QAction *N1;
    QAction *Exit;
    QFrame *Panel1;
    QPushButton *Add;
    QPushButton *Remove;
    QPushButton *EditBut;
    FileDialog OpenDialog{FileDialogKind::Open};
    FileDialog SaveDialog{FileDialogKind::Save, QStringLiteral("txt")};
    ListBox *FaqList;
    Memo *FAQtext;
    QMenu *Help;
    QAction *Manual;
    QAction *About;

    void ExitClick();
    void OpenClick();
    void SaveAsClick();
    void AddClick();
    void FAQtextChange();
    void SaveClick();
    void NewClick();
    void RemoveClick();
    void EditButClick();
    void AboutClick();
    void ManualClick();
    void FormClose(CloseAction &action);

    // Counts the documents shown: New, Open and Manual each start another, so an edit
    // begun in one is never written into the next.
    int documentNumber() const { return m_documentNumber; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createControls();
    // Asks whether to save a modified text; Yes saves, and cancelling either the question
    // or the save dialog calls the whole command off (EAbort).
    void promptToSave();
    void applyCaption();

    int m_documentNumber = 0;
};

extern TFAQForm *FAQForm;
