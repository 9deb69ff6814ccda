#include "qt_prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text, bool yesNo) {
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::NoButton, parent);
    if (yesNo) {
        box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setEscapeButton(no);
    } else {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    }
    box.exec();
    return box.buttonRole(box.clickedButton());
}

} // namespace

void QtPrompts::warning(const QString& text) {
    showBox(parent_, QMessageBox::Warning, text, false);
}

void QtPrompts::information(const QString& text) {
    showBox(parent_, QMessageBox::Information, text, false);
}

bool QtPrompts::confirm(const QString& text) {
    return showBox(parent_, QMessageBox::Question, text, true) == QMessageBox::YesRole;
}

void QtPrompts::plain(const QString& text) {
    showBox(parent_, QMessageBox::NoIcon, text, false);
}

} // namespace platform
