#include "platform/ui/QtPrompts.h"

#include "platform/ui/CommonDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {
// Dialog flags the windows pass, as the file dialogs understand them.
constexpr long kOverwritePrompt = 0x2;
constexpr long kAllowMultiSelect = 0x200;
constexpr long kFileMustExist = 0x1000;
}

QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(';', ' ');
        // A description that shows patterns already ("Wave Files  (*.wav*)") shows the patterns
        // the dialog filters with, once: Qt reads the filter from the parentheses.
        QString description = parts[i].simplified();
        if (description.endsWith(')')) {
            const qsizetype open = description.lastIndexOf('(');
            if (open >= 0 && description.mid(open).contains('*')) description = description.left(open).trimmed();
        }
        out << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
    }
    return out;
}

Answer QtPrompts::MsgBox(const QString& prompt, MsgButtons buttons, const QString& title,
                         MsgIcon icon)
{
    QMessageBox box(owner_);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setText(prompt);
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MsgButtons::OK: set = QMessageBox::Ok; break;
    case MsgButtons::OKCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MsgButtons::AbortRetryIgnore:
        set = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore; break;
    case MsgButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case MsgButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case MsgButtons::RetryCancel: set = QMessageBox::Retry | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(set);
    // A busy pointer set by a long operation must not hide the pointer over the question.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    QApplication::restoreOverrideCursor();
    switch (result) {
    case QMessageBox::Ok: return Answer::OK;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Abort: return Answer::Abort;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Ignore: return Answer::Ignore;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: break;
    }
    // Closing the box with its close button counts as its cancelling answer.
    switch (buttons) {
    case MsgButtons::OK: return Answer::OK;
    case MsgButtons::YesNo: return Answer::No;
    case MsgButtons::AbortRetryIgnore: return Answer::Abort;
    default: return Answer::Cancel;
    }
}

QString QtPrompts::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const QString text = QInputDialog::getText(owner_, title.isEmpty() ? QApplication::applicationName() : title,
                                               prompt, QLineEdit::Normal, defaultText, &ok);
    QApplication::restoreOverrideCursor();
    return ok ? text : QString();
}

bool QtPrompts::showFileDialog(CommonDialog& dialog, bool save)
{
    QFileDialog box(owner_, dialog.DialogTitle);
    const QStringList filters = QtNameFilters(dialog.Filter);
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
        const int index = dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size()
                              ? dialog.FilterIndex - 1 : 0;
        box.selectNameFilter(filters[index]);
    }
    QFileInfo current(dialog.FileName);
    if (!dialog.InitDir.isEmpty())
        box.setDirectory(dialog.InitDir);
    else if (!dialog.FileName.isEmpty() && current.dir().exists())
        box.setDirectory(current.dir());
    if (!dialog.FileName.isEmpty()) box.selectFile(current.fileName());
    // A bare name gets the extension of the chosen type, or the default one when the type
    // names no single extension ("*.*").
    auto suffixFor = [&dialog, filters](const QString& chosen) {
        const qsizetype open = chosen.lastIndexOf("(*.");
        const QString ext = open < 0 ? QString() : chosen.mid(open + 3).chopped(1);
        const bool single = !ext.isEmpty() && !ext.contains('*') && !ext.contains(' ');
        return single ? ext : dialog.DefaultExt;
    };
    box.setDefaultSuffix(suffixFor(box.selectedNameFilter()));
    QObject::connect(&box, &QFileDialog::filterSelected, &box,
                     [&box, suffixFor](const QString& chosen) { box.setDefaultSuffix(suffixFor(chosen)); });
    if (save) {
        box.setAcceptMode(QFileDialog::AcceptSave);
        box.setFileMode(QFileDialog::AnyFile);
        if (!(dialog.Flags & kOverwritePrompt)) box.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        box.setAcceptMode(QFileDialog::AcceptOpen);
        if (dialog.Flags & kAllowMultiSelect)
            box.setFileMode(QFileDialog::ExistingFiles);
        else
            box.setFileMode((dialog.Flags & kFileMustExist) ? QFileDialog::ExistingFile
                                                             : QFileDialog::AnyFile);
    }
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool accepted = box.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    if (!accepted || box.selectedFiles().isEmpty()) return false;

    const QStringList files = box.selectedFiles();
    if (files.size() == 1) {
        dialog.FileName = files.first();
    } else {
        // Several files: the folder, then each name, separated by NUL characters.
        QString list = QFileInfo(files.first()).absolutePath();
        for (const QString& f : files) list += QChar(0) + QFileInfo(f).fileName();
        dialog.FileName = list;
    }
    dialog.FileTitle = QFileInfo(files.first()).fileName();
    const int chosen = filters.indexOf(box.selectedNameFilter());
    if (chosen >= 0) dialog.FilterIndex = chosen + 1;
    return true;
}

bool QtPrompts::ShowOpen(CommonDialog& dialog) { return showFileDialog(dialog, false); }
bool QtPrompts::ShowSave(CommonDialog& dialog) { return showFileDialog(dialog, true); }
