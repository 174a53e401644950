// The program as ReaderApp runs it (real journal, real message boxes, the
// serial port named in the settings), played by a script instead of a hand:
//
//   journal-session-driver --readings N --comment TEXT --shown FILE
//       presses Start Dev., waits for N rows, writes TEXT into the newest row
//       with Comment, writes what the table shows to FILE and goes on running
//       until it is killed.
//   journal-session-driver --answer-yes --shown FILE
//       answers Yes to the restore question, writes its text to FILE.question
//       and what the table then shows to FILE, and closes the window.

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "gui-qt/MainDialog.h"
#include "gui-qt/ReaderApp.h"
#include "gui-qt/ReadingTableView.h"
#include "res/ControlIds.h"

namespace {

struct Script {
    int readings = 0;
    QString comment;
    QString shown;
    bool answerYes = false;
};

Script readScript(const QStringList& arguments) {
    Script script;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "--readings")
            script.readings = arguments[i + 1].toInt();
        else if (arguments[i] == "--comment")
            script.comment = arguments[i + 1];
        else if (arguments[i] == "--shown")
            script.shown = arguments[i + 1];
    }
    script.answerYes = arguments.contains("--answer-yes");
    return script;
}

// Written whole and renamed, so a reader never sees half of it.
void writeFile(const QString& name, const QString& text) {
    QFile file(name + ".part");
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(text.toLatin1());
    file.close();
    QFile::remove(name);
    QFile::rename(name + ".part", name);
}

// The headings and every cell, as the view's model shows them.
QString shownTable(tarvo::MainDialog& dialog) {
    const QAbstractItemModel* model = dialog.tableView()->model();
    QString text;
    for (int column = 0; column < model->columnCount(); ++column)
        text += model->headerData(column, Qt::Horizontal).toString() + "\t";
    text += "\n";
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column)
            text += model->index(row, column).data().toString() + "\t";
        text += "\n";
    }
    return text;
}

tarvo::MainDialog* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<tarvo::MainDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

class Player {
  public:
    explicit Player(Script script) : script_(std::move(script)) {}

    void step() {
        tarvo::MainDialog* dialog = mainWindow();
        if (dialog == nullptr || done_)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answer(*box);
            return;
        }
        if (script_.answerYes)
            endRestored(*dialog);
        else
            measure(*dialog);
    }

  private:
    void answer(QMessageBox& box) {
        if (!script_.answerYes)
            return;
        writeFile(script_.shown + ".question", box.text());
        box.button(QMessageBox::Yes)->click();
        answered_ = true;
    }

    void endRestored(tarvo::MainDialog& dialog) {
        if (!answered_)
            return;
        writeFile(script_.shown, shownTable(dialog));
        done_ = true;
        dialog.close();
    }

    void measure(tarvo::MainDialog& dialog) {
        if (!started_) {
            started_ = true;
            dialog.button(tarvo::id::kStartDev)->click();
            return;
        }
        if (dialog.state().table().rowCount() < script_.readings)
            return;
        auto* edit = qobject_cast<QLineEdit*>(dialog.control(tarvo::id::kCommentEdit));
        QTest::keyClicks(edit, script_.comment);
        dialog.button(tarvo::id::kComment)->click();
        writeFile(script_.shown, shownTable(dialog));
        done_ = true;
    }

    Script script_;
    bool started_ = false;
    bool answered_ = false;
    bool done_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    Player player(readScript(QApplication::arguments()));
    QTimer steps;
    QObject::connect(&steps, &QTimer::timeout, [&] { player.step(); });
    steps.start(50);
    tarvo::ReaderApp app;
    return app.run();
}
