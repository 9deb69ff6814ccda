#include "qt_prompts.h"

#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

QMessageBox::Icon iconOf(Prompts::Kind kind) {
    switch (kind) {
    case Prompts::Kind::Warning:
        return QMessageBox::Warning;
    case Prompts::Kind::Information:
        return QMessageBox::Information;
    case Prompts::Kind::Confirmation:
        return QMessageBox::Question;
    case Prompts::Kind::Error:
        return QMessageBox::Critical;
    case Prompts::Kind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool QtPrompts::show(Kind kind, const QString& text, const QString& title) {
    QMessageBox box(iconOf(kind), title, text, QMessageBox::NoButton, parent_);
    if (kind == Kind::Confirmation) {
        box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setEscapeButton(no);
    } else {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    }
    box.exec();
    return box.buttonRole(box.clickedButton()) == QMessageBox::YesRole;
}

} // namespace platform
