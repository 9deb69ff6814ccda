#include "list_builder_panel.h"

#include "object_names.h"
#include "window_colours.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace widgets {

namespace names = objectnames::list_builder_panel;

namespace {

QPushButton* panelButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = named(new QPushButton(caption, parent), name);
    // Enter belongs to the search bar's own rule, never to a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

ListBuilderPanel::ListBuilderPanel(QWidget* parent)
    : QWidget(parent) {
    named(this, names::panel);
    hintLabel_ = named(new QLabel(this), names::hintLabel);
    bevel_ = named(new QFrame(this), names::bevel);
    bevel_->setFrameShape(QFrame::HLine);
    caption_ = named(new QLabel(this), names::caption);
    progress_ = named(new QProgressBar(this), names::progress);
    progress_->setTextVisible(false);
    progress_->setRange(0, 500);
    progress_->setValue(0);
    kinds_ = named(new QGroupBox(this), names::kinds);
    wordsOnly_ = named(new QRadioButton(QStringLiteral("Nur Wörter"), kinds_), names::wordsOnly);
    phrasesOnly_ =
        named(new QRadioButton(QStringLiteral("Nur Sätze (Phrasen)"), kinds_), names::phrasesOnly);
    wordsAndPhrases_ =
        named(new QRadioButton(QStringLiteral("Wörter und Sätze"), kinds_), names::wordsAndPhrases);
    wordsOnly_->setChecked(true);
    auto* radios = new QVBoxLayout(kinds_);
    radios->addWidget(wordsOnly_);
    radios->addWidget(phrasesOnly_);
    radios->addWidget(wordsAndPhrases_);
    build_ = panelButton(this, names::buildButton, QStringLiteral("Sortierte Listen erstellen"));
    stop_ = panelButton(this, names::stopButton, QStringLiteral("Abbrechen / Schließen"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(hintLabel_);
    for (QWidget* control : QList<QWidget*>{bevel_, caption_, progress_, kinds_, build_, stop_})
        layout->addWidget(control);

    connect(build_, &QPushButton::clicked, this, &ListBuilderPanel::buildClicked);
    connect(stop_, &QPushButton::clicked, this, &ListBuilderPanel::stopClicked);
}

QList<QWidget*> ListBuilderPanel::controls() const {
    return {bevel_,     caption_,     progress_,        build_, stop_,
            wordsOnly_, phrasesOnly_, wordsAndPhrases_, kinds_};
}

void ListBuilderPanel::showControls() {
    for (QWidget* control : controls())
        control->show();
}

void ListBuilderPanel::hideControls() {
    for (QWidget* control : controls())
        control->hide();
}

bool ListBuilderPanel::controlsShown() const {
    return !stop_->isHidden();
}

bool ListBuilderPanel::stopAvailable() const {
    return stop_->isEnabled() && !stop_->isHidden();
}

lists::ListKind ListBuilderPanel::listKind() const {
    if (phrasesOnly_->isChecked())
        return lists::ListKind::Phrases;
    if (wordsAndPhrases_->isChecked())
        return lists::ListKind::WordsAndPhrases;
    return lists::ListKind::Words;
}

void ListBuilderPanel::setBuildControlsEnabled(bool enabled) {
    for (QWidget* control : QList<QWidget*>{build_, wordsOnly_, phrasesOnly_, wordsAndPhrases_})
        control->setEnabled(enabled);
}

void ListBuilderPanel::setCaption(const QString& text) {
    caption_->setText(text);
}

QString ListBuilderPanel::caption() const {
    return caption_->text();
}

void ListBuilderPanel::colourCaptionAsHintText() {
    setTextColour(caption_, hintLabel_->palette().color(QPalette::WindowText));
}

void ListBuilderPanel::setProgressRange(int minimum, int maximum) {
    progress_->setRange(minimum, maximum);
}

void ListBuilderPanel::setProgressPosition(int position) {
    progress_->setValue(position);
}

void ListBuilderPanel::fillProgress() {
    progress_->setValue(progress_->maximum());
}

void ListBuilderPanel::colourProgressGreen() {
    QPalette palette = progress_->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 255, 0));
    progress_->setPalette(palette);
}

void ListBuilderPanel::colourHintTexts(const QColor& colour) {
    for (QWidget* hint : QList<QWidget*>{hintLabel_, wordsOnly_, phrasesOnly_, wordsAndPhrases_})
        setTextColour(hint, colour);
}

} // namespace widgets
