#include "gui-qt/PortsWindow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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
        grid->addWidget(row.path, line, 1);
        row.use = new QPushButton(QStringLiteral("Use"), this);
        row.use->setAutoDefault(false);
        row.use->setToolTip(QStringLiteral("Map COM%1 to the device selected above").arg(com));
        grid->addWidget(row.use, line, 2);
        row.status = new QLabel(this);
        row.status->setObjectName(QStringLiteral("status%1").arg(com));
        row.status->setWordWrap(true);
        grid->addWidget(row.status, line, 3);
        connect(row.use, &QPushButton::clicked, this, [this, com] { useSelected(com); });
        connect(row.path, &QLineEdit::returnPressed, this, [this, com] { useTyped(com); });
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 3);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
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
