#include "form_temp_rtf.h"

#include <QTextEdit>
#include <QVBoxLayout>

TFormTempRTF::TFormTempRTF(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFormTempRTF"));
    auto* text = new QTextEdit(this);
    text->setObjectName(QStringLiteral("RichEdit1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    hide();
}
