#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QFileDialog;
class QMessageBox;

// The answer to a yes/no question; Cancel when the user escaped or closed the box.
enum class Reply { Yes, No, Cancel };

enum class FileDialogKind { Open, Save };

// The name of a document that has no file yet.
inline const QString Untitled = QStringLiteral("Untitled");

// What a file dialog is run with, and what a confirmed run gives back.
struct FileDialogRequest
{
    FileDialogKind kind = FileDialogKind::Open;
    QString fileName;
    QStringList filters;
    int filterIndex = 0;
    QString defaultSuffix;
};

struct FileDialogResult
{
    QString fileName;
    int filterIndex = 0;
};

// Every message box and file dialog the program shows goes through here, so that tests can
// answer for the user instead of waiting for one.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual Reply askYesNo(const QString &caption, const QString &text) = 0;
    virtual void showError(const QString &caption, const QString &text) = 0;
    // The full path confirmed, or nothing when the user cancelled.
    virtual std::optional<FileDialogResult> runFileDialog(const FileDialogRequest &request) = 0;

    static Dialogs &current();
    // Replaces the dialogs in use; nullptr restores the real ones.
    static void install(Dialogs *dialogs);
};

// The real dialogs. The make functions build each box or dialog fully configured, so that a
// test can inspect what the user would be shown.
class QtDialogs : public Dialogs
{
public:
    Reply askYesNo(const QString &caption, const QString &text) override;
    void showError(const QString &caption, const QString &text) override;
    std::optional<FileDialogResult> runFileDialog(const FileDialogRequest &request) override;

    static std::unique_ptr<QMessageBox> makeQuestionBox(const QString &caption,
                                                        const QString &text);
    static std::unique_ptr<QMessageBox> makeErrorBox(const QString &caption,
                                                     const QString &text);
    static std::unique_ptr<QFileDialog> makeFileDialog(const FileDialogRequest &request);
};

// An open or save dialog that keeps its file name and chosen filter between runs.
class FileDialog
{
public:
    explicit FileDialog(FileDialogKind kind, QString defaultExt = {});

    // Shows the dialog; true when the user confirmed a name, which FileName() then holds as
    // a full path.
    bool Execute();

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QStringList Filter() const { return m_filter; }
    QString DefaultExt() const { return m_defaultExt; }

private:
    FileDialogKind m_kind;
    QString m_defaultExt;
    QString m_fileName = Untitled;
    QStringList m_filter{QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*.*)")};
    int m_filterIndex = 0;
};
