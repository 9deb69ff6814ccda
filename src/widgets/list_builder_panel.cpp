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
    setObjectName(QStringLiteral("ListBuilder"));
    auto* bevel = named(new QFrame(this), "Bevel5");
    bevel->setFrameShape(QFrame::HLine);
    bevel_ = bevel;
    caption_ = named(new QLabel(this), "Label4");
    progress_ = named(new QProgressBar(this), "ProgressBar1");
    auto* kinds = named(new QGroupBox(this), "RadioGroup1");
    kinds_ = kinds;
    wordsOnly_ = named(new QRadioButton(kinds), "nurWoerterButton");
    phrasesOnly_ = named(new QRadioButton(kinds), "nurSaetzeButton");
    wordsAndPhrases_ = named(new QRadioButton(kinds), "WoerterUndSaetzeButton");
    auto* radios = new QVBoxLayout(kinds);
    radios->addWidget(wordsOnly_);
    radios->addWidget(phrasesOnly_);
    radios->addWidget(wordsAndPhrases_);
    build_ = panelButton(this, "SortierteListenErstellenButton",
                         QStringLiteral("Sortierte Listen erstellen"));
    stop_ = panelButton(this, "SortAbbrechenButton", QStringLiteral("Abbrechen / Schließen"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* control : QList<QWidget*>{bevel_, caption_, progress_, kinds_, build_, stop_})
        layout->addWidget(control);
}

QList<QWidget*> ListBuilderPanel::controls() const {
    return {bevel_,     caption_,     progress_,        build_, stop_,
            wordsOnly_, phrasesOnly_, wordsAndPhrases_, kinds_};
}

void ListBuilderPanel::hideControls() {
    for (QWidget* control : controls())
        control->hide();
}

void ListBuilderPanel::pressStopIfAvailable() {
    if (stop_->isEnabled() && stop_->isVisible())
        stop_->click();
}

void ListBuilderPanel::pressStop() {
    stop_->click();
}

void ListBuilderPanel::colourHintTexts(const QColor& colour) {
    for (QWidget* kind : {wordsOnly_, phrasesOnly_, wordsAndPhrases_})
        setTextColour(kind, colour);
}

} // namespace widgets
