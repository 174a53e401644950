#include "gui-qt/PortsWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "gui-qt/Cp1252Text.h"

namespace tarvo {

namespace {

// An item keeps the path's own bytes, so Use writes back exactly what was listed.
QByteArray itemPath(const std::string& path) {
    return QByteArray(path.data(), static_cast<qsizetype>(path.size()));
}

QString deviceText(const PortsDialogLogic::ListedDevice& listed) {
    QString text = cp1252::onScreen(listed.device.label);
    if (listed.status != "present") {
        text += QStringLiteral(" \u2014 ") + cp1252::onScreen(listed.status);
    }
    return text;
}

}  // namespace

PortsWindow::PortsWindow(IniFile& ini, const std::filesystem::path& root, DeviceProbe& probe,
                         QWidget* parent)
    : QDialog(parent), logic_(ini, root, probe) {
    start();
}

PortsWindow::PortsWindow(IniFile& ini, PortListing& listing, QWidget* parent)
    : QDialog(parent), logic_(ini, listing) {
    start();
}

void PortsWindow::start() {
    setObjectName("ports");
    setWindowTitle(QStringLiteral("Ports"));
    createControls();
    showDevices();
    showComPorts();
    showInstruments();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &PortsWindow::refresh);
    timer_->start(kRefreshMs);
}

void PortsWindow::createControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Serial devices present:"), this));
    devices_ = new QListWidget(this);
    devices_->setObjectName("devices");
    devices_->setMinimumWidth(460);
    layout->addWidget(devices_);
    auto* grid = new QGridLayout;
    for (int com = 1; com <= 4; ++com) {
        Row& row = rows_[index(com)];
        const int line = com - 1;
        grid->addWidget(new QLabel(QStringLiteral("COM%1").arg(com), this), line, 0);
        row.path = new QLineEdit(this);
        row.path->setObjectName(QStringLiteral("path%1").arg(com));
        row.path->setValidator(new cp1252::Cp1252Validator(row.path));
        row.path->setMinimumWidth(200);
        grid->addWidget(row.path, line, 1);
        row.use = new QPushButton(QStringLiteral("Use"), this);
        row.use->setAutoDefault(false);
        row.use->setToolTip(QStringLiteral("Map COM%1 to the device selected above").arg(com));
        grid->addWidget(row.use, line, 2);
        createInstrumentBoxes(row, com);
        grid->addWidget(row.instrument, line, 3);
        grid->addWidget(row.baud, line, 4);
        row.status = new QLabel(this);
        row.status->setObjectName(QStringLiteral("status%1").arg(com));
        row.status->setWordWrap(true);
        row.status->setMinimumWidth(110);
        grid->addWidget(row.status, line, 5);
        connect(row.use, &QPushButton::clicked, this, [this, com] { useSelected(com); });
        connect(row.path, &QLineEdit::returnPressed, this, [this, com] { useTyped(com); });
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(5, 3);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void PortsWindow::createInstrumentBoxes(Row& row, int comPort) {
    row.instrument = new QComboBox(this);
    row.instrument->setObjectName(QStringLiteral("instrument%1").arg(comPort));
    row.instrument->setToolTip(QStringLiteral("The instrument on COM%1").arg(comPort));
    for (const Instrument instrument : instruments()) {
        row.instrument->addItem(QString::fromLatin1(instrumentTitle(instrument)),
                                static_cast<int>(instrument));
    }
    row.baud = new QComboBox(this);
    row.baud->setObjectName(QStringLiteral("baud%1").arg(comPort));
    row.baud->setToolTip(
        QStringLiteral("The baud rate the instrument on COM%1 sends at").arg(comPort));
    for (const int rate : lineBaudRates()) {
        row.baud->addItem(QString::number(rate), rate);
    }
    connect(row.instrument, &QComboBox::activated, this, [this, comPort, box = row.instrument] {
        logic_.chooseInstrument(comPort, static_cast<Instrument>(box->currentData().toInt()));
        showInstruments();
    });
    connect(row.baud, &QComboBox::activated, this, [this, comPort, box = row.baud] {
        logic_.chooseBaudRate(comPort, box->currentData().toInt());
        showInstruments();
    });
}

// A name the file holds that tarvo does not know shows as no choice, with the
// name in the tooltip, until the operator chooses one.
void PortsWindow::showInstruments() {
    for (int com = 1; com <= 4; ++com) {
        const InstrumentSetting setting = logic_.instrument(com);
        Row& row = rows_[index(com)];
        const QSignalBlocker instrumentQuiet(row.instrument);
        const QSignalBlocker baudQuiet(row.baud);
        row.instrument->setCurrentIndex(
            setting.choice ? row.instrument->findData(static_cast<int>(setting.choice->instrument))
                           : -1);
        row.instrument->setToolTip(
            setting.choice ? QStringLiteral("The instrument on COM%1").arg(com)
                           : cp1252::onScreen(unknownInstrumentText(setting.value, com)));
        row.baud->setEnabled(logic_.baudRateChoosable(com));
        row.baud->setCurrentIndex(
            logic_.baudRateChoosable(com) ? row.baud->findData(setting.choice->baudRate) : -1);
    }
}

void PortsWindow::refresh() {
    if (logic_.refresh()) {
        showDevices();
        showComPorts();
    }
}

void PortsWindow::showDevices() {
    const QByteArray selected = devices_->currentItem()
                                    ? devices_->currentItem()->data(Qt::UserRole).toByteArray()
                                    : QByteArray();
    devices_->clear();
    for (const auto& listed : logic_.devices()) {
        auto* item = new QListWidgetItem(deviceText(listed), devices_);
        item->setData(Qt::UserRole, itemPath(listed.device.path));
        if (item->data(Qt::UserRole).toByteArray() == selected) {
            devices_->setCurrentItem(item);
        }
    }
    if (devices_->count() == 0) {
        auto* none = new QListWidgetItem(QStringLiteral("(no serial device found)"), devices_);
        none->setFlags(Qt::NoItemFlags);
    }
}

// A path the operator is still typing is left alone.
void PortsWindow::showComPorts() {
    for (int com = 1; com <= 4; ++com) {
        const auto& port = logic_.comPort(com);
        Row& row = rows_[index(com)];
        if (!row.path->isModified()) {
            row.path->setText(cp1252::onScreen(port.path));
        }
        row.status->setText(cp1252::onScreen(port.status));
    }
}

void PortsWindow::useSelected(int comPort) {
    const QListWidgetItem* item = devices_->currentItem();
    if (!item || item->data(Qt::UserRole).toByteArray().isEmpty()) {
        return;
    }
    logic_.choose(comPort, item->data(Qt::UserRole).toByteArray().toStdString());
    pathEdit(comPort)->setModified(false);
    showComPorts();
}

void PortsWindow::useTyped(int comPort) {
    QLineEdit* edit = pathEdit(comPort);
    logic_.choose(comPort, cp1252::typed(edit->text()));
    edit->setModified(false);
    showComPorts();
}

}  // namespace tarvo
