#include "files/ui/QtFileChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "files/FilePath.h"

namespace tarvo {

namespace {

QString fromLocal(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

QString startFolder(const FileDialogRequest& request) {
    const QString folder = fromLocal(request.initialFolder);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        return folder;
    }
    return QDir::homePath();
}

QString startName(const FileDialogRequest& request) {
    const PathParts parts = splitPath(request.initialFileName);
    return fromLocal(parts.baseName + parts.extension);
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

}  // namespace tarvo
