#pragma once

#include "fakedialogs.h"

#include "tests/files.h"

#include "app/nobrex.h"
#include "forms/FAQmain.h"
#include "forms/QAmenu.h"
#include "platform/guard.h"
#include "platform/listbox.h"
#include "platform/memo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

using Strings = std::vector<std::string>;

inline const std::string S(80, '-');

// The forms as start-up creates them, with a fresh set before each test and the
// dialogs answered by the test.
class FormsFixture : public QObject
{
    Q_OBJECT

protected:
    FakeDialogs dialogs;
    QTemporaryDir dir;

    QString path(const QString &name) const { return dir.filePath(name); }

    // The text typed by the user, so that the change events run as they do for real.
    static void type(const QString &text) { QTest::keyClicks(FAQForm->FAQtext, text); }

    static std::string joined(const Strings &lines)
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i ? "\r\n" : "") + lines[i];
        return text;
    }

private Q_SLOTS:
    void init()
    {
        dialogs = FakeDialogs();
        Dialogs::install(&dialogs);
        setApplicationTitle(QStringLiteral("Nobrex 1.0"));
        createForms();
    }

    void cleanup()
    {
        destroyForms();
        Dialogs::install(nullptr);
        QCOMPARE(dialogs.unexpected, 0);
        QCOMPARE(dialogs.answers.size(), std::size_t(0));
        QCOMPARE(dialogs.files.size(), std::size_t(0));
    }
};
