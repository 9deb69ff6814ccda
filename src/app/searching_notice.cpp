#include "searching_notice.h"

#include "widgets/object_names.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

namespace names = widgets::objectnames::searching_notice;

SearchingNotice::SearchingNotice(QWidget* parent)
    : QDialog(parent) {
    widgets::named(this, names::window);
    setWindowTitle(QStringLiteral("Bitte Geduld, bin beim Suchen..."));
    // Not modal: the search window's own "Abbrechen" must stay usable too.
    setModal(false);

    text_ = new QLineEdit(this);
    widgets::named(text_, names::searchText);
    text_->setReadOnly(true);
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    widgets::named(cancel_, names::cancelButton);
    cancel_->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    resize(360, 100);

    connect(cancel_, &QPushButton::clicked, this, &SearchingNotice::onCancelClicked);
}

void SearchingNotice::setSearchText(const QString& text) {
    text_->setText(text);
}

QString SearchingNotice::searchText() const {
    return text_->text();
}

void SearchingNotice::onCancelClicked() {
    Q_EMIT cancelRequested();
}

} // namespace app
