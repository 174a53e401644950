#include "device/ui/PortsDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvo {

namespace {

QString fromLocal(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QString deviceText(const PortsDialogLogic::ListedDevice& listed) {
    QString text = fromLocal(listed.device.label);
    if (listed.status != "present") {
        text += QStringLiteral(" \u2014 ") + fromLocal(listed.status);
    }
    return text;
}

}  // namespace

PortsDialog::PortsDialog(IniFile& ini, const std::filesystem::path& root, DeviceProbe& probe,
                         QWidget* parent)
    : QDialog(parent), logic_(ini, root, probe) {
    setObjectName("ports");
    setWindowTitle(QStringLiteral("Ports"));
    createControls();
    showDevices();
    showComPorts();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &PortsDialog::refresh);
    timer_->start(kRefreshMs);
}

void PortsDialog::createControls() {
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

void PortsDialog::refresh() {
    if (logic_.refresh()) {
        showDevices();
        showComPorts();
    }
}

void PortsDialog::showDevices() {
    const QString selected = devices_->currentItem()
                                 ? devices_->currentItem()->data(Qt::UserRole).toString()
                                 : QString();
    devices_->clear();
    for (const auto& listed : logic_.devices()) {
        auto* item = new QListWidgetItem(deviceText(listed), devices_);
        item->setData(Qt::UserRole, fromLocal(listed.device.path));
        if (item->data(Qt::UserRole).toString() == selected) {
            devices_->setCurrentItem(item);
        }
    }
    if (devices_->count() == 0) {
        auto* none = new QListWidgetItem(QStringLiteral("(no serial device found)"), devices_);
        none->setFlags(Qt::NoItemFlags);
    }
}

// A path the operator is still typing is left alone.
void PortsDialog::showComPorts() {
    for (int com = 1; com <= 4; ++com) {
        const auto& port = logic_.comPort(com);
        Row& row = rows_[index(com)];
        if (!row.path->isModified()) {
            row.path->setText(fromLocal(port.path));
        }
        row.status->setText(fromLocal(port.status));
    }
}

void PortsDialog::useSelected(int comPort) {
    const QListWidgetItem* item = devices_->currentItem();
    if (!item || item->data(Qt::UserRole).toString().isEmpty()) {
        return;
    }
    logic_.choose(comPort, item->data(Qt::UserRole).toString().toLocal8Bit().toStdString());
    pathEdit(comPort)->setModified(false);
    showComPorts();
}

void PortsDialog::useTyped(int comPort) {
    QLineEdit* edit = pathEdit(comPort);
    logic_.choose(comPort, edit->text().toLocal8Bit().toStdString());
    edit->setModified(false);
    showComPorts();
}

}  // namespace tarvo
