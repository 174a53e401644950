#include "app/ui/QtMessageBoxes.h"

#include <QMessageBox>

namespace tarvo {

namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MessageAnswer QtMessageBoxes::show(std::string_view text, std::string_view caption,
                                   MessageButtons buttons, MessageIcon icon) {
    const auto choices = buttons == MessageButtons::OkCancel
                             ? QMessageBox::Ok | QMessageBox::Cancel
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    latin1(caption), latin1(text), choices, owner_.data());
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

}  // namespace tarvo
