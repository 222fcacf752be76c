#include "nobrex.h"

#include "forms/About.h"
#include "forms/FAQmain.h"
#include "forms/QAmenu.h"
#include "platform/guard.h"

#include <QApplication>
#include <QIcon>

void createForms()
{
    createForm(FAQForm);
    createForm(QAForm);
    createForm(AboutForm);
}

void destroyForms()
{
    delete AboutForm;
    AboutForm = nullptr;
    delete QAForm;
    QAForm = nullptr;
    delete FAQForm;
    FAQForm = nullptr;
}

int runNobrex(const std::function<void()> &makeForms)
{
    setApplicationTitle(QStringLiteral("Nobrex " NOBREX_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/nobrex.png")));
    // The main window's close ends the program itself, whatever else is open.
    QApplication::setQuitOnLastWindowClosed(false);
    runGuarded([&] {
        makeForms();
        FAQForm->show();
        QApplication::exec();
    });
    destroyForms();
    return 0;
}
