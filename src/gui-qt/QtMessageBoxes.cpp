#include "gui-qt/QtMessageBoxes.h"

#include <QMessageBox>

#include "gui-qt/Cp1252Text.h"

namespace tarvo {

namespace {

QMessageBox::StandardButtons choices(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

MessageAnswer answer(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

}  // namespace

MessageAnswer QtMessageBoxes::show(std::string_view text, std::string_view caption,
                                   MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    cp1252::onScreen(caption), cp1252::onScreen(text), choices(buttons),
                    owner_.data());
    box.setDefaultButton(buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok);
    return answer(box.exec());
}

}  // namespace tarvo
