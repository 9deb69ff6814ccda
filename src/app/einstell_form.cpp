#include "einstell_form.h"

#include "widgets/object_names.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using widgets::named;

TEinstellform::TEinstellform(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TEinstellform"));
    setWindowTitle(QStringLiteral("Einstellungen"));

    clipboardBox_ =
        named(new QCheckBox(QStringLiteral("Suchtext nach Suche in Zwischenablage kopieren"), this),
              "SuchtextInClipbrdCheckBox");
    clipboardBox_->setChecked(true);
    auto* colours =
        named(new QPushButton(QStringLiteral("Fenster Hintergrund Farben ändern"), this),
              "FarbenAendernButton");
    auto* hintColours = named(new QPushButton(QStringLiteral("Hinweistexte Farben ändern"), this),
                              "HinweistexteFarbenAendernButton");
    auto* defaults =
        named(new QPushButton(QStringLiteral("Standard wieder herstellen"), this), "Button1");
    auto* positions = named(
        new QPushButton(QStringLiteral("Liste der Datei-Positionen erstellen"), this), "Button2");
    auto* sorted =
        named(new QPushButton(QStringLiteral("       Sortierte Listen erstellen       "), this),
              "SortierungAnzeigenBitBtn");
    viewerHintBox_ =
        named(new QCheckBox(QStringLiteral("Kurzhinweis im Viewer an Mauscursor anzeigen"), this),
              "KurzhinweisImViewerZeigenCheckBox");
    viewerHintBox_->setChecked(true);

    auto* bigger = named(new QToolButton(this), "SpeedButton1");
    bigger->setText(QStringLiteral("+ "));
    fontLabel_ = named(new QLabel(QStringLiteral("Schriftgröße Text-Viewer"), this), "Label1");
    auto* smaller = named(new QToolButton(this), "SpeedButton2");
    smaller->setText(QStringLiteral("-"));

    installedLabel_ = named(
        new QLabel(QStringLiteral("Diese Browser sind auf Ihrem PC installiert:"), this), "Label2");
    currentLabel_ = named(
        new QLabel(QStringLiteral("Dieser Browser zeigt aktuell die Suchergebnisse an:"), this),
        "Label3");
    pickLabel_ =
        named(new QLabel(QStringLiteral("Symbol anklicken für Browser Auswahl."), this), "Label4");
    unchangedLabel_ = named(
        new QLabel(QStringLiteral("Ihre Browser Standardeinstellung wird NICHT geändert."), this),
        "Label5");

    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), "OkButton");
    ok->setDefault(true);
    auto* cancel = named(new QPushButton(QStringLiteral("&Abbruch"), this), "AbbruchButton");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(bigger);
    fontRow->addWidget(fontLabel_);
    fontRow->addWidget(smaller);
    fontRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(clipboardBox_);
    layout->addWidget(colours);
    layout->addWidget(hintColours);
    layout->addWidget(defaults);
    layout->addWidget(positions);
    layout->addWidget(sorted);
    layout->addWidget(viewerHintBox_);
    layout->addLayout(fontRow);
    layout->addWidget(installedLabel_);
    layout->addWidget(pickLabel_);
    layout->addWidget(unchangedLabel_);
    layout->addWidget(currentLabel_);
    layout->addStretch();
    layout->addLayout(buttons);
}

void TEinstellform::applyColours(const widgets::WindowColours& colours) {
    widgets::setBackgroundColour(this, colours.background);
    for (QWidget* hint : QList<QWidget*>{clipboardBox_, viewerHintBox_, fontLabel_, installedLabel_,
                                         currentLabel_, pickLabel_, unchangedLabel_})
        widgets::setTextColour(hint, colours.hintText);
}

void TEinstellform::setClipboardCopy(bool copy) {
    clipboardBox_->setChecked(copy);
}

void TEinstellform::setViewerHintShown(bool shown) {
    viewerHintBox_->setChecked(shown);
}
