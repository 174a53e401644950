#include "gui-qt/ExcelDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui-qt/Cp1252Text.h"
#include "res/ControlIds.h"

namespace tarvo {

ExcelDialog::ExcelDialog(QWidget* parent, TransferSession& session, ExcelDialogServices services)
    : QDialog(parent), logic_(session, std::move(services)) {
    setWindowTitle(QStringLiteral("Excel Automation"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    connectControls();
    logic_.setChangeListener([this] { showLogic(); });
    // Queued: the handler that asked for it is still on the stack.
    logic_.setCloseListener(
        [this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); });
    logic_.start();
}

template <typename T>
T* ExcelDialog::add(int id, T* widget) {
    widget->setObjectName(QString::number(id));
    controls_[id] = widget;
    return widget;
}

QWidget* ExcelDialog::control(int id) const {
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

QLineEdit* ExcelDialog::createEdit(int id, bool digitsOnly) {
    auto* edit = add(id, new QLineEdit(this));
    if (digitsOnly) {
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    } else {
        edit->setValidator(new cp1252::Cp1252Validator(edit));
    }
    return edit;
}

QAbstractButton* ExcelDialog::createButton(int id, const char* label) {
    auto* button = add(id, new QPushButton(QString::fromLatin1(label), this));
    button->setAutoDefault(false);
    return button;
}

QGroupBox* ExcelDialog::createSet(int groupId, const char* title, int rowId, int columnId,
                                  int firstListColumnId, int lengthId) {
    auto* group = add(groupId, new QGroupBox(QString::fromLatin1(title), this));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Row"), group), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Column"), group), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("FirstCell:"), group), 1, 0);
    grid->addWidget(createEdit(rowId, true), 1, 1);
    grid->addWidget(createEdit(columnId, false), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("FirstListColumn:"), group), 2, 0);
    grid->addWidget(createEdit(firstListColumnId, true), 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Length:"), group), 3, 0);
    grid->addWidget(createEdit(lengthId, true), 3, 1);
    return group;
}

void ExcelDialog::createControls() {
    auto* top = new QGridLayout;
    top->addWidget(add(id::kFileNameLabel, new QLabel(QStringLiteral("FileName:"), this)), 0, 0);
    auto* fileName = createEdit(id::kFileName, false);
    fileName->setReadOnly(true);
    fileName->setMinimumWidth(260);
    top->addWidget(fileName, 0, 1, 1, 2);
    top->addWidget(createButton(id::kBrowse, "Browse"), 0, 3);
    top->addWidget(add(id::kSheetNameLabel, new QLabel(QStringLiteral("SheetName:"), this)), 1, 0);
    top->addWidget(add(id::kSheetName, new QComboBox(this)), 1, 1, 1, 2);
    top->addWidget(new QLabel(QStringLiteral("Direction:"), this), 2, 0);
    top->addWidget(add(id::kHorizontal, new QRadioButton(QStringLiteral("Horizontal"), this)), 2,
                   1);
    top->addWidget(add(id::kVertical, new QRadioButton(QStringLiteral("Vertical"), this)), 2, 2);

    auto* sets = new QHBoxLayout;
    sets->addWidget(createSet(id::kSet1Group, "Set1", id::kSet1Row, id::kSet1Column,
                              id::kSet1FirstListColumn, id::kSet1Length));
    sets->addWidget(createSet(id::kSet2Group, "Set2", id::kSet2Row, id::kSet2Column,
                              id::kSet2FirstListColumn, id::kSet2Length));

    auto* excelButtons = new QHBoxLayout;
    for (auto [id, label] : {std::pair{id::kInitExcel, "InitEXCEL"},
                             {id::kShowExcel, "ShowEXCEL"},
                             {id::kHideExcel, "HideEXCEL"},
                             {id::kSaveExcel, "SaveEXCEL"},
                             {id::kCloseExcel, "CloseEXCEL"}}) {
        excelButtons->addWidget(createButton(id, label));
    }

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(createButton(id::kInitValues, "InitValues"));
    bottom->addStretch();
    auto* close = static_cast<QPushButton*>(createButton(id::kExcelClose, "Close"));
    close->setDefault(true);
    bottom->addWidget(close);
    // Kept for the template's sake: Escape reaches the same end as Cancel.
    createButton(id::kExcelCancel, "Cancel")->hide();

    // Its line is kept even when empty: a notice shown while the event loop
    // waits cannot make room for itself.
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("notice"));
    notice_->setMinimumHeight(notice_->fontMetrics().height());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(sets);
    layout->addLayout(excelButtons);
    layout->addWidget(notice_);
    layout->addLayout(bottom);
}

void ExcelDialog::connectControls() {
    for (int id : ExcelDialogLogic::edits()) {
        auto* edit = static_cast<QLineEdit*>(control(id));
        connect(edit, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { logic_.textEdited(id, cp1252::typed(text)); });
    }
    auto clicked = [this](int id, void (ExcelDialogLogic::*handler)()) {
        connect(static_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
                [this, handler] { (logic_.*handler)(); });
    };
    clicked(id::kBrowse, &ExcelDialogLogic::browseClicked);
    clicked(id::kInitExcel, &ExcelDialogLogic::initExcelClicked);
    clicked(id::kHorizontal, &ExcelDialogLogic::horizontalClicked);
    clicked(id::kVertical, &ExcelDialogLogic::verticalClicked);
    clicked(id::kShowExcel, &ExcelDialogLogic::showExcelClicked);
    clicked(id::kHideExcel, &ExcelDialogLogic::hideExcelClicked);
    clicked(id::kSaveExcel, &ExcelDialogLogic::saveExcelClicked);
    clicked(id::kCloseExcel, &ExcelDialogLogic::closeExcelClicked);
    clicked(id::kInitValues, &ExcelDialogLogic::initValuesClicked);
    connect(static_cast<QAbstractButton*>(control(id::kExcelClose)), &QAbstractButton::clicked,
            this, &QDialog::accept);
    connect(static_cast<QAbstractButton*>(control(id::kExcelCancel)), &QAbstractButton::clicked,
            this, &QDialog::reject);
    // Only the operator's choice selects a sheet; filling the list does not.
    connect(static_cast<QComboBox*>(control(id::kSheetName)), &QComboBox::activated, this,
            [this](int index) { logic_.sheetChosen(index); });
}

void ExcelDialog::showLogic() {
    for (int id : ExcelDialogLogic::edits()) {
        auto* edit = static_cast<QLineEdit*>(control(id));
        const QString text = cp1252::onScreen(logic_.text(id));
        if (edit->text() != text) {
            edit->setText(text);
        }
    }
    for (int id : {id::kHorizontal, id::kVertical}) {
        static_cast<QRadioButton*>(control(id))->setChecked(logic_.isChecked(id));
    }
    for (int id : ExcelDialogLogic::excelButtons()) {
        control(id)->setEnabled(logic_.isEnabled(id));
    }
    auto* sheets = static_cast<QComboBox*>(control(id::kSheetName));
    QStringList names;
    for (const std::string& name : logic_.sheetEntries()) {
        names.append(cp1252::onScreen(name));
    }
    QStringList shown;
    for (int i = 0; i < sheets->count(); ++i) {
        shown.append(sheets->itemText(i));
    }
    if (shown != names) {
        sheets->clear();
        sheets->addItems(names);
    }
    sheets->setCurrentIndex(logic_.sheetSelection());
    showBusy();
}

// The start it waits for blocks the event loop, so the notice is painted now.
void ExcelDialog::showBusy() {
    notice_->setText(QString::fromStdString(logic_.notice()));
    if (logic_.isBusy() != busyCursor_) {
        busyCursor_ = logic_.isBusy();
        if (busyCursor_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
    if (busyCursor_) {
        notice_->repaint();
    }
}

bool ExcelDialog::agreeToClose() {
    if (closing_) {
        return true;
    }
    if (!logic_.closeRequested()) {
        return false;
    }
    closing_ = true;
    if (closed_) {
        closed_();
    }
    return true;
}

void ExcelDialog::done(int result) {
    if (!agreeToClose()) {
        return;
    }
    QDialog::done(result);
    // A modeless window ends for good: the next EXCEL press builds a new one.
    close();
}

void ExcelDialog::closeEvent(QCloseEvent* event) {
    if (agreeToClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace tarvo
