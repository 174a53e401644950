#include "gui-qt/QtFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "files/FilePath.h"
#include "gui-qt/Cp1252Text.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

QString startFolder(const FileDialogRequest& request) {
    const QString folder = cp1252::onScreen(request.initialFolder);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        return folder;
    }
    return QDir::homePath();
}

QString startName(const FileDialogRequest& request) {
    const PathParts parts = splitPath(request.initialFileName);
    return cp1252::onScreen(parts.baseName + parts.extension);
}

// Saved files and Tarvo.ini keep names in CP1252, so a name the code page
// cannot spell would come back as a different file.
void refuseName(QWidget* owner, const QString& name) {
    QMessageBox::warning(owner, QString::fromLatin1(text::kProgramName),
                         QStringLiteral("This name has characters Windows-1252 cannot hold; "
                                        "choose another:\n%1")
                             .arg(name));
}

}  // namespace

QStringList nameFilters(const FileDialogRequest& request) {
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        QString name = QString::fromLatin1(filter.name);
        if (!name.contains(QLatin1Char('('))) {
            name += QStringLiteral(" (") + QString::fromLatin1(filter.pattern).trimmed() +
                    QLatin1Char(')');
        }
        filters << name;
    }
    return filters;
}

void configureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setWindowTitle(QString::fromLatin1(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const QStringList filters = nameFilters(request);
    dialog.setNameFilters(filters);
    if (request.selectedFilter >= 0 && request.selectedFilter < filters.size()) {
        dialog.selectNameFilter(filters[request.selectedFilter]);
    }
    dialog.setDefaultSuffix(QString::fromLatin1(request.defaultExtension));
    dialog.setDirectory(startFolder(request));
    dialog.selectFile(startName(request));
}

std::string QtFileChooser::choose(const FileDialogRequest& request) {
    QFileDialog dialog(owner_);
    configureFileDialog(dialog, request);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString chosen = dialog.selectedFiles().constFirst();
        if (std::optional<std::string> name = cp1252::toCp1252(chosen.toStdString())) {
            return *name;
        }
        refuseName(owner_, chosen);
    }
    return {};
}

}  // namespace tarvo
