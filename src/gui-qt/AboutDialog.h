#pragma once

#include <QDialog>

namespace tarvo {

// The program's name and version.
class AboutDialog final : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tarvo
