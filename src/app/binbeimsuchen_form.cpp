#include "binbeimsuchen_form.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TBinbeimSuchenForm::TBinbeimSuchenForm(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TBinbeimSuchenForm"));
    setWindowTitle(QStringLiteral("Bitte Geduld, bin beim Suchen..."));
    // Not modal: the search window's own "Abbrechen" must stay usable too.
    setModal(false);

    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("SearchText"));
    text_->setReadOnly(true);
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    cancel_->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    resize(360, 100);

    connect(cancel_, &QPushButton::clicked, this, &TBinbeimSuchenForm::CancelButtonClick);
}

void TBinbeimSuchenForm::setSearchText(const QString& text) {
    text_->setText(text);
}

QString TBinbeimSuchenForm::searchText() const {
    return text_->text();
}

void TBinbeimSuchenForm::CancelButtonClick() {
    Q_EMIT cancelRequested();
}
