#include "guard.h"

#include "dialogs.h"

#include <QWidget>

namespace {
QString title;
}

void setApplicationTitle(const QString &newTitle)
{
    title = newTitle;
}

QString applicationTitle()
{
    return title;
}

void showException(const std::exception &error)
{
    // A button or list held by the mouse must let go, or it stays pressed under the box.
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    Dialogs::current().showError(applicationTitle(),
                                 QString::fromUtf8(error.what()) + QLatin1Char('.'));
}
