#pragma once

#include <QDialog>

// The About box: modal, only hidden between showings.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    TAboutForm();
};

extern TAboutForm *AboutForm;
