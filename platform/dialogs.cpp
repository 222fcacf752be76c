#include "dialogs.h"

#include "guard.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>

namespace {

Dialogs *installed = nullptr;

// "*.*" means every file to our users, but Qt matches it only against names with a dot.
void matchEveryFileForStarDotStar(QFileDialog *dialog, const QString &filter)
{
    if (!filter.endsWith(QLatin1String("(*.*)")))
        return;
    if (auto *model = dialog->findChild<QFileSystemModel *>())
        model->setNameFilters({QStringLiteral("*")});
}

} // namespace

Dialogs &Dialogs::current()
{
    static QtDialogs real;
    return installed ? *installed : real;
}

void Dialogs::install(Dialogs *dialogs)
{
    installed = dialogs;
}

std::unique_ptr<QMessageBox> QtDialogs::makeQuestionBox(const QString &caption,
                                                        const QString &text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text,
                                             QMessageBox::Yes | QMessageBox::No);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Yes);
    box->setWindowModality(Qt::ApplicationModal);
    // A Yes/No box takes Escape and its close box as No, which would discard the text
    // without the user saying so. A hidden Cancel takes them instead.
    QPushButton *cancel = box->addButton(QMessageBox::Cancel);
    cancel->hide();
    box->setEscapeButton(cancel);
    return box;
}

std::unique_ptr<QMessageBox> QtDialogs::makeErrorBox(const QString &caption, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, caption, text,
                                             QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

std::unique_ptr<QFileDialog> QtDialogs::makeFileDialog(const FileDialogRequest &request)
{
    auto dialog = std::make_unique<QFileDialog>();
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (request.kind == FileDialogKind::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDefaultSuffix(request.defaultSuffix);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
    }
    dialog->setNameFilters(request.filters);
    // An installed program runs in its data folder: never offer that by accident.
    const QFileInfo proposed(request.fileName);
    dialog->setDirectory(proposed.isAbsolute() ? proposed.absolutePath() : QDir::homePath());
    dialog->selectFile(proposed.fileName());
    if (request.filterIndex >= 0 && request.filterIndex < request.filters.size()) {
        const QString filter = request.filters.at(request.filterIndex);
        dialog->selectNameFilter(filter);
        matchEveryFileForStarDotStar(dialog.get(), filter);
    }
    QFileDialog *raw = dialog.get();
    QObject::connect(raw, &QFileDialog::filterSelected, raw, [raw](const QString &filter) noexcept {
        runGuarded([&] { matchEveryFileForStarDotStar(raw, filter); });
    });
    return dialog;
}

Reply QtDialogs::askYesNo(const QString &caption, const QString &text)
{
    const auto box = makeQuestionBox(caption, text);
    box->exec();
    const auto *clicked = box->clickedButton();
    if (clicked == box->button(QMessageBox::Yes))
        return Reply::Yes;
    if (clicked == box->button(QMessageBox::No))
        return Reply::No;
    return Reply::Cancel;
}

void QtDialogs::showError(const QString &caption, const QString &text)
{
    makeErrorBox(caption, text)->exec();
}

std::optional<FileDialogResult> QtDialogs::runFileDialog(const FileDialogRequest &request)
{
    const auto dialog = makeFileDialog(request);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogResult{dialog->selectedFiles().constFirst(),
                            int(request.filters.indexOf(dialog->selectedNameFilter()))};
}

FileDialog::FileDialog(FileDialogKind kind, QString defaultExt)
    : m_kind(kind), m_defaultExt(std::move(defaultExt))
{
}

bool FileDialog::Execute()
{
    const auto result = Dialogs::current().runFileDialog(
        {m_kind, m_fileName, m_filter, m_filterIndex, m_defaultExt});
    if (!result)
        return false;
    m_fileName = result->fileName;
    if (result->filterIndex >= 0)
        m_filterIndex = result->filterIndex;
    return true;
}
