#include "gui-qt/QtMessageBoxes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace tarvo {
namespace {

struct SeenBox {
    QString text;
    QString caption;
    int buttons = 0;
};

// Answers the next message box with the given button and tells what it showed.
void answerNextBox(QMessageBox::StandardButton answer, SeenBox& seen) {
    QTimer::singleShot(0, [answer, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->text(), box->windowTitle(), static_cast<int>(box->buttons().size())};
        box->button(answer)->click();
    });
}

TEST(QtMessageBoxes, ShowsTextAndCaptionWithOneOkButton) {
    QtMessageBoxes boxes;
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, seen);
    EXPECT_EQ(boxes.show("Timer installation failed !", "tarvo"), MessageAnswer::Ok);
    EXPECT_EQ(seen.text, "Timer installation failed !");
    EXPECT_EQ(seen.caption, "tarvo");
    EXPECT_EQ(seen.buttons, 1);
}

TEST(QtMessageBoxes, CancelOfAQuestionIsReported) {
    QtMessageBoxes boxes;
    SeenBox seen;
    answerNextBox(QMessageBox::Cancel, seen);
    EXPECT_EQ(
        boxes.show("Overwrite?", "Warning", MessageButtons::OkCancel, MessageIcon::Exclamation),
        MessageAnswer::Cancel);
    EXPECT_EQ(seen.buttons, 2);
}

}  // namespace
}  // namespace tarvo
