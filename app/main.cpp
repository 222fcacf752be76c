#include "nobrex.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Qt wants the arguments; the program itself reads none.
    QApplication application(argc, argv);
    return runNobrex();
}
