#include "form.h"

QFont formFont()
{
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
