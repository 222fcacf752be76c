#pragma once

#include "document/blocks.h"
#include "platform/form.h"

#include <QMainWindow>

#include <optional>

class Memo;
class QAction;

// The question and answer editor: a window of its own, never modal, created once and only
// hidden between uses.
class TQAForm : public QMainWindow
{
    Q_OBJECT

public:
    TQAForm();

    Memo *Question;
    Memo *Answer;
    QMenuBar *MainMenu1;
    QAction *EditDone;
    QAction *CancelBut;
    // 0 for a new block, else the entry number of the block being edited.
    int EditItem = 0;

    void EditDoneClick();
    void CancelButClick();
    void FormClose(CloseAction &action);

    // Opens the editor for a new block; what the memos hold stays.
    void beginAdd();
    // Appends block k's lines, as read (nothing when it was not found), and opens the editor.
    void beginEdit(int k, const std::optional<Block> &read);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showEditor();

    // What the edited block held when it was read, and in which document: Ok replaces it
    // only while the text still holds exactly that, else the edit goes in as a new block.
    std::optional<Block> m_read;
    int m_readDocument = -1;
};

extern TQAForm *QAForm;
