#include "search_form.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TSuchForm::TSuchForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSuchForm"));
    auto* panelLinks = new QWidget(this);
    panelLinks->setObjectName(QStringLiteral("PanelLinks"));
    auto* panelRechts = new QWidget(this);
    panelRechts->setObjectName(QStringLiteral("PanelRechts"));
    auto* panelUnten = new QWidget(this);
    panelUnten->setObjectName(QStringLiteral("PanelUnten"));
    auto* panel2 = new QWidget(panelLinks);
    panel2->setObjectName(QStringLiteral("Panel2"));

    auto* history = new QListWidget(panelLinks);
    history->setObjectName(QStringLiteral("TntListBox2"));
    history->hide();

    auto* viewer = new QPlainTextEdit(panelRechts);
    viewer->setObjectName(QStringLiteral("Viewer"));
    viewer->setReadOnly(true);
    auto* memo = new QPlainTextEdit(panelRechts);
    memo->setObjectName(QStringLiteral("ViewerMemo"));
    memo->setReadOnly(true);
    auto* label2 = new QLabel(panelRechts);
    label2->setObjectName(QStringLiteral("Label2"));
    auto* label8 = new QLabel(panelRechts);
    label8->setObjectName(QStringLiteral("Label8"));
    auto* sortButton = new QPushButton(panelLinks);
    sortButton->setObjectName(QStringLiteral("ZeilenAlsListeSortieren"));

    auto* right = new QVBoxLayout(panelRechts);
    right->addWidget(label8);
    right->addWidget(viewer);
    right->addWidget(memo);
    right->addWidget(label2);
    auto* left = new QVBoxLayout(panelLinks);
    left->addWidget(history);
    left->addWidget(panel2);
    left->addWidget(sortButton);
    auto* top = new QHBoxLayout;
    top->addWidget(panelLinks);
    top->addWidget(panelRechts);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(panelUnten);
}

void TSuchForm::resetViewer() {
    findChild<QPlainTextEdit*>(QStringLiteral("Viewer"))->clear();
    findChild<QPlainTextEdit*>(QStringLiteral("ViewerMemo"))->clear();
}

void TSuchForm::setHistory(const QStringList& entries) {
    auto* list = findChild<QListWidget*>(QStringLiteral("TntListBox2"));
    list->clear();
    list->addItems(entries);
}

QStringList TSuchForm::history() const {
    QStringList entries;
    const auto* list = findChild<QListWidget*>(QStringLiteral("TntListBox2"));
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->item(i)->text());
    return entries;
}

void TSuchForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        maximised_ = windowState().testFlag(Qt::WindowMaximized);
    QDialog::changeEvent(event);
}
