#include "form_progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TFormProgress::TFormProgress(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TFormProgress"));
    setWindowTitle(QStringLiteral("Trovex-ODT"));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label1"));
    auto* bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(bar);
    hide();
}
