#include "gui-qt/StripWindow.h"

#include <QChart>
#include <QChartView>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include "app/strip/PictureSaving.h"
#include "app/strip/StripChartLook.h"
#include "gui-qt/Cp1252Text.h"
#include "gui-qt/ProgramIcon.h"
#include "gui-qt/QtFileChooser.h"
#include "gui-qt/WindowPlace.h"

namespace tarvo {

namespace {

QList<QPointF> chartPoints(const DensityCurve& curve) {
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(curve.points.size()));
    for (const CurvePoint& point : curve.points) {
        points.append(QPointF(point.patch, point.density));
    }
    return points;
}

// Each series of a curve gets its points and is shown; the others are hidden.
void showCurves(const std::map<CurveInk, QLineSeries*>& all,
                const std::vector<DensityCurve>& curves) {
    for (const auto& [ink, series] : all) {
        series->setVisible(false);
        series->clear();
    }
    for (const DensityCurve& curve : curves) {
        QLineSeries* series = all.at(curve.ink);
        series->replace(chartPoints(curve));
        series->setVisible(true);
    }
}

}  // namespace

StripWindow::StripWindow(ReadingTable& table, int fileType, MessageBoxes& messages,
                         FileChooser* chooser, QWidget* owner)
    : QWidget(owner, Qt::Window),
      table_(table),
      progress_(table, fileType),
      messages_(messages),
      ownChooser_(chooser ? nullptr : std::make_unique<QtFileChooser>(this)),
      chooser_(chooser ? *chooser : *ownChooser_) {
    setObjectName("strip");
    setWindowTitle(QStringLiteral("Strip"));
    setWindowIcon(programIcon());

    text_ = new QLabel(this);
    QFont large = text_->font();
    large.setPointSize(large.pointSize() * 3 / 2);
    large.setBold(true);
    text_->setFont(large);

    reference_ = new QLabel(this);
    reference_->hide();
    createChecksList();

    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    createReferenceSeries(*chart);
    createSeries(*chart);
    createAxes(*chart);
    view_ = new QChartView(chart, this);
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(640, 400);

    saveButton_ = new QPushButton(QStringLiteral("Save Picture..."), this);
    connect(saveButton_, &QPushButton::clicked, this, &StripWindow::savePictureClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(reference_);
    layout->addWidget(checksHeadline_);
    layout->addWidget(checksList_);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);

    progress_.setChangeListener([this] { tableChanged(); });
    refresh();
}

StripWindow::~StripWindow() {
    progress_.setChangeListener(nullptr);
}

// A headline and a list the operator and a screen reader can both read;
// choosing a check selects its row in the main table, ready for Change.
void StripWindow::createChecksList() {
    checksHeadline_ = new QLabel(this);
    QFont bold = checksHeadline_->font();
    bold.setBold(true);
    checksHeadline_->setFont(bold);
    checksList_ = new QListWidget(this);
    checksList_->setAccessibleName(QStringLiteral("Checks"));
    // One line each: the list need not measure every check as a reading comes.
    checksList_->setUniformItemSizes(true);
    checksList_->setMaximumHeight(checksList_->fontMetrics().height() * 6);
    checksList_->hide();
    checksHeadline_->setBuddy(checksList_);
    connect(checksList_, &QListWidget::currentRowChanged, this, &StripWindow::checkChosen);
    // Also the check already current, chosen again after a click into the table.
    connect(checksList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { checkChosen(checksList_->row(item)); });
}

void StripWindow::createSeries(QChart& chart) {
    for (const InkLook& look : inkLooks()) {
        auto* series = new QLineSeries;
        series->setName(QString::fromLatin1(look.name));
        QPen pen(QColor(look.colour.red, look.colour.green, look.colour.blue));
        pen.setWidth(2);
        series->setPen(pen);
        series->setPointsVisible(true);
        chart.addSeries(series);
        series_[look.ink] = series;
    }
}

// Added first, so the live curves are drawn over them; the legend names the
// inks once, by their live curves.
void StripWindow::createReferenceSeries(QChart& chart) {
    for (const InkLook& look : inkLooks()) {
        auto* series = new QLineSeries;
        series->setName(QStringLiteral("Reference ") + QString::fromLatin1(look.name));
        QPen pen(QColor(look.colour.red, look.colour.green, look.colour.blue));
        pen.setWidth(1);
        pen.setStyle(Qt::DashLine);
        series->setPen(pen);
        chart.addSeries(series);
        series->setVisible(false);
        referenceSeries_[look.ink] = series;
    }
}

void StripWindow::createAxes(QChart& chart) {
    patchAxis_ = new QValueAxis;
    patchAxis_->setTitleText(QStringLiteral("Patch"));
    patchAxis_->setLabelFormat(QStringLiteral("%d"));
    patchAxis_->setTickType(QValueAxis::TicksDynamic);
    patchAxis_->setTickAnchor(0);
    densityAxis_ = new QValueAxis;
    densityAxis_->setTitleText(QStringLiteral("Density"));
    densityAxis_->setLabelFormat(QStringLiteral("%.1f"));
    densityAxis_->setTickType(QValueAxis::TicksDynamic);
    densityAxis_->setTickAnchor(0);
    densityAxis_->setTickInterval(kDensityStep);
    chart.addAxis(patchAxis_, Qt::AlignBottom);
    chart.addAxis(densityAxis_, Qt::AlignLeft);
    for (const auto* all : {&referenceSeries_, &series_}) {
        for (const auto& [ink, series] : *all) {
            series->attachAxis(patchAxis_);
            series->attachAxis(densityAxis_);
        }
    }
}

QString StripWindow::text() const {
    return text_->text();
}

void StripWindow::tableChanged() {
    if (refreshPending_ || !isVisible()) {
        return;
    }
    refreshPending_ = true;
    QTimer::singleShot(0, this, &StripWindow::refresh);
}

void StripWindow::refresh() {
    refreshPending_ = false;
    const StripPicture picture = progress_.picture();
    text_->setText(QString::fromLatin1(picture.text));
    showReference(picture);
    showChecks(picture.checks);
    showCurves(series_, picture.curves);
    const PatchAxis axis = tarvo::patchAxis(picture);
    patchAxis_->setRange(1, axis.last);
    patchAxis_->setTickInterval(axis.step);
    densityAxis_->setRange(picture.lowest, picture.highest);
}

void StripWindow::showReference(const StripPicture& picture) {
    reference_->setText(cp1252::onScreen(picture.reference));
    reference_->setVisible(!picture.reference.empty());
    showCurves(referenceSeries_, picture.referenceCurves);
    // A series shown shows its marker again.
    for (const DensityCurve& curve : picture.referenceCurves) {
        QLineSeries* series = referenceSeries_.at(curve.ink);
        for (QLegendMarker* marker : series->chart()->legend()->markers(series)) {
            marker->setVisible(false);
        }
    }
}

void StripWindow::showChecks(const std::vector<StripCheck>& checks) {
    checksHeadline_->setText(QString::fromLatin1(tarvo::checksHeadline(checks.size())));
    const auto changed = listed_.update(checks);
    if (!changed) {
        return;
    }
    const QSignalBlocker quiet(checksList_);
    const auto& listed = listed_.checks();
    for (auto i = static_cast<int>(*changed); i < static_cast<int>(listed.size()); ++i) {
        const QString text = QString::fromLatin1(listed[static_cast<std::size_t>(i)].text);
        if (i < checksList_->count()) {
            checksList_->item(i)->setText(text);
        } else {
            checksList_->addItem(text);
        }
    }
    while (checksList_->count() > static_cast<int>(listed.size())) {
        delete checksList_->takeItem(checksList_->count() - 1);
    }
    checksList_->setVisible(!listed.empty());
}

void StripWindow::checkChosen(int index) {
    if (const auto row = listed_.choose(index, table_); row && showRow_) {
        showRow_(*row);
    }
}

void StripWindow::showEvent(QShowEvent* event) {
    placeFirstTime();  // before the window is mapped
    QWidget::showEvent(event);
    refresh();
}

// Beside the main window's table the first time; after that where the
// operator leaves it.
void StripWindow::placeFirstTime() {
    if (placed_ || !parentWidget()) {
        return;
    }
    placed_ = true;
    adjustSize();
    placeBeside(*this, *parentWidget());
}

void StripWindow::savePictureClicked() {
    savePicture(chooser_, messages_, [this](const std::string& path) {
        return view_->grab().save(QFile::decodeName(QByteArray::fromStdString(path)), "PNG");
    });
}

}  // namespace tarvo
