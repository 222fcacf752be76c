#include "About.h"

TAboutForm *AboutForm = nullptr;

TAboutForm::TAboutForm()
{
    AboutForm = this;
    setWindowTitle(QStringLiteral("About Nobrex"));
}
