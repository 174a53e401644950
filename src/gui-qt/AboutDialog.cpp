#include "gui-qt/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui-qt/ProgramIcon.h"
#include "res/Texts.h"

namespace tarvo {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("about");
    setWindowTitle(QStringLiteral("About %1").arg(text::kProgramName));
    setWindowIcon(programIcon());

    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    auto* name =
        new QLabel(QStringLiteral("%1 Version %2").arg(text::kProgramName, text::kVersion), this);
    name->setObjectName("aboutVersion");
    auto* purpose = new QLabel(QStringLiteral("Densitometer readings for the print shop"), this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(purpose);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tarvo
