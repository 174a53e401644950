#pragma once

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

#include "base/Cp1252.h"

// The Qt windows' side of the program's CP1252 text: the screen shows it as
// Unicode, and an edit takes nothing the code page cannot hold.
namespace tarvo::cp1252 {

inline QString onScreen(std::string_view text) {
    return QString::fromStdString(fromCp1252(text));
}

// What the operator typed, as the program's text. An edit with a
// Cp1252Validator never holds anything else; anything else would come out empty.
inline std::string typed(const QString& text) {
    return toCp1252(text.toStdString()).value_or(std::string());
}

// Refuses a keystroke or paste the program's text could not keep, instead of
// writing a "?" later.
class Cp1252Validator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return representable(input.toStdString()) ? Acceptable : Invalid;
    }
};

}  // namespace tarvo::cp1252
