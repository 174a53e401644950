#include "gui-qt/MainDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QValidator>

#include "app/CopiedRows.h"
#include "app/WelcomeBitmap.h"
#include "gui-qt/AboutDialog.h"
#include "gui-qt/Cp1252Text.h"
#include "gui-qt/DialogUnits.h"
#include "gui-qt/ProgramIcon.h"
#include "gui-qt/ReadingTableView.h"
#include "gui-qt/StripWindow.h"
#include "gui-qt/WelcomeWindow.h"
#include "gui-qt/WindowAccessibility.h"
#include "res/ControlIds.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

enum class Kind { List, Static, CheckBox, Radio, Push, Edit, Combo };

struct TemplateEntry {
    int id;
    Kind kind;
    const char* text;
    int x, y, width, height;  // dialog units
};

// The main window's layout, in tab order.
constexpr TemplateEntry kControls[] = {
    {id::kTable, Kind::List, "", 7, 7, 351, 203},
    {id::kDateText, Kind::Static, "", 7, 213, 37, 14},
    {id::kBeep, Kind::CheckBox, "Beep", 49, 216, 33, 10},
    {id::kCom1, Kind::Radio, "COM 1", 82, 216, 33, 10},
    {id::kCom2, Kind::Radio, "COM 2", 120, 216, 35, 10},
    {id::kCom3, Kind::Radio, "COM 3", 158, 216, 34, 10},
    {id::kCom4, Kind::Radio, "COM 4", 196, 216, 36, 10},
    {id::kInstantSave, Kind::CheckBox, "Instant Save", 228, 216, 16, 10},
    {id::kComment, Kind::Push, "Comment", 246, 213, 38, 14},
    {id::kCommentEdit, Kind::Edit, "", 284, 213, 74, 14},
    {id::kStartDev, Kind::Push, "Start Dev.", 7, 230, 37, 14},
    {id::kSave, Kind::Push, "Save", 44, 230, 37, 14},
    // The template's 57 units include the dropped-down list.
    {id::kFileType, Kind::Combo, "", 83, 231, 74, 13},
    {id::kClear, Kind::Push, "Clear", 173, 230, 37, 14},
    {id::kDelete, Kind::Push, "Delete", 210, 230, 37, 14},
    {id::kChange, Kind::Push, "Change", 247, 230, 37, 14},
    {id::kPrint, Kind::Push, "Print", 284, 230, 37, 14},
    {id::kExcel, Kind::Push, "EXCEL", 321, 230, 37, 14},
};

constexpr int kWidthUnits = 366;
constexpr int kHeightUnits = 252;
// Buttons whose work is done by later parts of the program.
constexpr int kHookedButtons[] = {id::kStartDev, id::kSave, id::kPrint, id::kExcel};

QWidget* createControl(const TemplateEntry& entry, QWidget* parent) {
    const QString text = QString::fromLatin1(entry.text);
    switch (entry.kind) {
        case Kind::List:
            return new ReadingTableView(parent);
        case Kind::Static: {
            auto* label = new QLabel(parent);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            return label;
        }
        case Kind::CheckBox:
            return new QCheckBox(text, parent);
        case Kind::Radio:
            return new QRadioButton(text, parent);
        case Kind::Push: {
            auto* button = new QPushButton(text, parent);
            // No button is the default one: Enter must not press one by surprise.
            button->setAutoDefault(false);
            return button;
        }
        case Kind::Edit: {
            auto* edit = new QLineEdit(parent);
            edit->setValidator(new cp1252::Cp1252Validator(edit));
            return edit;
        }
        case Kind::Combo: {
            auto* combo = new QComboBox(parent);
            for (int index = 0; index < kExportFormatCount; ++index) {
                const std::string_view item = comboEntry(static_cast<ExportFormat>(index));
                combo->addItem(
                    QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
            }
            return combo;
        }
    }
    return nullptr;
}

QFont dialogFont() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setPointSize(8);
    return font;
}

}  // namespace

MainDialog::MainDialog(const MainDialogServices& services)
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      messages_(services.messages) {
    // Every window the program shows is owned by this one.
    reportPlainWindowsAsWindows();
    setObjectName("main");
    setFont(dialogFont());
    setWindowTitle(QString::fromLatin1(text::kMainCaption));
    setWindowIcon(programIcon());
    createControls();

    state_ =
        std::make_unique<MainWindowState>(services.ini, services.clock, tableView_->clientWidth());
    state_->setTableWidthMeasure([this] { return tableView_->clientWidth(); });
    tableView_->showTable(state_->table());
    state_->setChangeListener([this] { showState(); });
    connectControls();
    createAboutEntry();
    createPortsAndCopyEntries();
    createStripEntry();
    createReferenceEntries();
    state_->initialise();

    welcome_ =
        new WelcomeWindow(loadWelcomeBitmap(welcomeBitmapPath(services.programFolder)), this);
}

MainDialog::~MainDialog() {
    // The table goes with the state, before the child widgets: the view must
    // no longer hear from it.
    state_->setChangeListener(nullptr);
    state_->setTableWidthMeasure(nullptr);
    delete strip_;
    delete tableView_;
}

void MainDialog::createControls() {
    const DialogUnits units = DialogUnits::of(font());
    setFixedSize(units.x(kWidthUnits), units.y(kHeightUnits));
    for (const TemplateEntry& entry : kControls) {
        QWidget* widget = createControl(entry, this);
        widget->setObjectName(QString::number(entry.id));
        widget->setGeometry(units.rect(entry.x, entry.y, entry.width, entry.height));
        controls_[entry.id] = widget;
    }
    tableView_ = static_cast<ReadingTableView*>(controls_.at(id::kTable));
}

void MainDialog::connectControls() {
    for (int com : MainWindowState::comButtons()) {
        connect(button(com), &QAbstractButton::clicked, this,
                [this, com] { state_->comClicked(com); });
    }
    connect(button(id::kBeep), &QAbstractButton::clicked, this, [this] { state_->beepClicked(); });
    connect(static_cast<QComboBox*>(control(id::kFileType)), &QComboBox::activated, this,
            [this](int index) { state_->fileTypeChosen(index); });
    connect(static_cast<QLineEdit*>(control(id::kCommentEdit)), &QLineEdit::textChanged, this,
            [this](const QString& text) { state_->commentEdited(cp1252::typed(text)); });
    connect(button(id::kComment), &QAbstractButton::clicked, this,
            [this] { state_->commentClicked(); });
    connect(button(id::kClear), &QAbstractButton::clicked, this,
            [this] { state_->clearClicked(); });
    connect(button(id::kDelete), &QAbstractButton::clicked, this,
            [this] { state_->deleteClicked(); });
    connect(button(id::kChange), &QAbstractButton::clicked, this,
            [this] { state_->changeClicked(); });
    for (int hooked : kHookedButtons) {
        connect(button(hooked), &QAbstractButton::clicked, this,
                [this, hooked] { runHandler(hooked); });
    }
}

// Linux window managers give a program no window menu to add to, so the
// entry lives in the window's context menu and on F1.
void MainDialog::createAboutEntry() {
    aboutAction_ = new QAction(QString::fromLatin1(text::kAboutEntry), this);
    aboutAction_->setShortcut(QKeySequence(Qt::Key_F1));
    aboutAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(aboutAction_);
    connect(aboutAction_, &QAction::triggered, this, &MainDialog::showAbout);
}

// Ctrl+C copies whole rows with their headings, not the one cell the list
// would copy, so the readings can be taken out even when Save is not offered.
void MainDialog::createPortsAndCopyEntries() {
    portsAction_ = new QAction(QString::fromLatin1(text::kPortsEntry), this);
    portsAction_->setShortcut(QKeySequence(Qt::Key_F2));
    portsAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(portsAction_);
    connect(portsAction_, &QAction::triggered, this, [this] {
        if (portsHandler_ && state_->mayOpenPorts()) {
            portsHandler_();
        }
    });
    copyRowsAction_ = new QAction(QString::fromLatin1(text::kCopyRowsEntry), this);
    copyRowsAction_->setShortcut(QKeySequence::Copy);
    copyRowsAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(copyRowsAction_);
    connect(copyRowsAction_, &QAction::triggered, this, &MainDialog::copyRows);
}

void MainDialog::copyRows() {
    QGuiApplication::clipboard()->setText(cp1252::onScreen(copiedRowsText(state_->table())));
}

void MainDialog::createStripEntry() {
    stripAction_ = new QAction(QString::fromLatin1(text::kStripEntry), this);
    stripAction_->setShortcut(QKeySequence(Qt::Key_F3));
    stripAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(stripAction_);
    connect(stripAction_, &QAction::triggered, this, &MainDialog::showStrip);
    exportCgatsAction_ = new QAction(QString::fromLatin1(text::kExportCgatsEntry), this);
    exportCgatsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    exportCgatsAction_->setShortcutContext(Qt::WindowShortcut);
    addAction(exportCgatsAction_);
    connect(exportCgatsAction_, &QAction::triggered, this, [this] {
        if (exportCgatsHandler_) {
            exportCgatsHandler_();
        }
    });
}

// In the table's context menu, beside the Strip window they change.
void MainDialog::createReferenceEntries() {
    referenceAction_ = new QAction(QString::fromLatin1(text::kReferenceEntry), this);
    connect(referenceAction_, &QAction::triggered, this, [this] {
        if (referenceHandler_) {
            referenceHandler_();
        }
    });
    noReferenceAction_ = new QAction(QString::fromLatin1(text::kNoReferenceEntry), this);
    connect(noReferenceAction_, &QAction::triggered, this, [this] { state_->reference().drop(); });
}

// Modeless and kept once built: closing it only hides it.
void MainDialog::showStrip() {
    if (!strip_) {
        strip_ =
            new StripWindow(state_->table(), state_->settings().fileType, messages_, nullptr, this);
        strip_->setRowShower(
            [this](int row) { tableView_->scrollTo(tableView_->model()->index(row, 0)); });
        strip_->setReference(&state_->reference());
    }
    strip_->show();
    strip_->raise();
    strip_->activateWindow();
}

QWidget* MainDialog::control(int id) const {
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

QAbstractButton* MainDialog::button(int id) const {
    return qobject_cast<QAbstractButton*>(control(id));
}

void MainDialog::setButtonHandler(int id, std::function<void()> handler) {
    handlers_[id] = std::move(handler);
}

void MainDialog::runHandler(int id) {
    auto found = handlers_.find(id);
    if (found != handlers_.end() && found->second) {
        found->second();
    }
}

void MainDialog::systemCommand(int command) {
    if (opensAbout(command)) {
        showAbout();
    }
}

void MainDialog::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainDialog::showState() {
    const MainWindowState& state = *state_;
    for (int id : MainWindowState::controls()) {
        QWidget* widget = control(id);
        widget->setEnabled(state.isEnabled(id));
        widget->setHidden(!state.isVisible(id));
        if (auto* checkable = qobject_cast<QAbstractButton*>(widget);
            checkable && checkable->isCheckable()) {
            checkable->setChecked(state.isChecked(id));
        }
    }
    static_cast<QComboBox*>(control(id::kFileType))
        ->setCurrentIndex(state.fileTypeSelection().value_or(-1));
    static_cast<QLabel*>(control(id::kDateText))->setText(QString::fromLatin1(state.dateText()));
    button(id::kStartDev)->setText(QString::fromLatin1(state.startButtonText()));
    portsAction_->setEnabled(state.mayOpenPorts());
    auto* edit = static_cast<QLineEdit*>(control(id::kCommentEdit));
    if (cp1252::typed(edit->text()) != state.commentEdit()) {
        edit->setText(cp1252::onScreen(state.commentEdit()));
    }
    if (welcome_) {
        welcome_->setVisible(state.welcomeShown() && welcomeMayShow_);
    }
    if (strip_) {
        strip_->setFileType(state.settings().fileType);
    }
}

// Enter and Esc would end the window and with it every reading in the table;
// only the close box ends it. Enter on a focused push button presses it.
void MainDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            event->accept();
            return;
        case Qt::Key_Enter:
        case Qt::Key_Return:
            if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
                focused && focused->isEnabled()) {
                focused->click();
            }
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(aboutAction_);
    menu.addAction(portsAction_);
    menu.addAction(copyRowsAction_);
    menu.addAction(stripAction_);
    menu.addAction(exportCgatsAction_);
    menu.addSeparator();
    menu.addAction(referenceAction_);
    menu.addAction(noReferenceAction_);
    menu.exec(event->globalPos());
}

void MainDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showState();
    // The show event comes before the main window is mapped. The welcome
    // window is mapped once, after it: mapped first, the window manager would
    // stack it below its owner, and hidden and shown again at once it is
    // withdrawn and mapped faster than the window manager follows, which then
    // never manages it and shows nothing.
    QTimer::singleShot(0, this, [this] {
        welcomeMayShow_ = isVisible();
        showState();
    });
}

void MainDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    welcomeMayShow_ = false;
    if (welcome_) {
        welcome_->hide();
    }
}

}  // namespace tarvo
