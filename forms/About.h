#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The About box: the icon, the name and version, a credit line and a web address. Shown
// modally, only hidden between showings, so it reopens wherever the user left it.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    TAboutForm();

    QFrame *Bevel1;
    QLabel *Image1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *BitBtn1;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

extern TAboutForm *AboutForm;
