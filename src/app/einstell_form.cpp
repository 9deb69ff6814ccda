#include "einstell_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TEinstellform::TEinstellform(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TEinstellform"));
    setWindowTitle(QStringLiteral("Einstellungen"));

    auto* clipboard =
        named(new QCheckBox(QStringLiteral("Suchtext nach Suche in Zwischenablage kopieren"), this),
              "SuchtextInClipbrdCheckBox");
    clipboard->setChecked(true);
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
    auto* hint =
        named(new QCheckBox(QStringLiteral("Kurzhinweis im Viewer an Mauscursor anzeigen"), this),
              "KurzhinweisImViewerZeigenCheckBox");
    hint->setChecked(true);

    auto* bigger = named(new QToolButton(this), "SpeedButton1");
    bigger->setText(QStringLiteral("+ "));
    auto* fontLabel = named(new QLabel(QStringLiteral("Schriftgröße Text-Viewer"), this), "Label1");
    auto* smaller = named(new QToolButton(this), "SpeedButton2");
    smaller->setText(QStringLiteral("-"));

    auto* installed = named(
        new QLabel(QStringLiteral("Diese Browser sind auf Ihrem PC installiert:"), this), "Label2");
    auto* current = named(
        new QLabel(QStringLiteral("Dieser Browser zeigt aktuell die Suchergebnisse an:"), this),
        "Label3");
    auto* pick =
        named(new QLabel(QStringLiteral("Symbol anklicken für Browser Auswahl."), this), "Label4");
    auto* unchanged = named(
        new QLabel(QStringLiteral("Ihre Browser Standardeinstellung wird NICHT geändert."), this),
        "Label5");

    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), "OkButton");
    ok->setDefault(true);
    auto* cancel = named(new QPushButton(QStringLiteral("&Abbruch"), this), "AbbruchButton");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(bigger);
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(smaller);
    fontRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(clipboard);
    layout->addWidget(colours);
    layout->addWidget(hintColours);
    layout->addWidget(defaults);
    layout->addWidget(positions);
    layout->addWidget(sorted);
    layout->addWidget(hint);
    layout->addLayout(fontRow);
    layout->addWidget(installed);
    layout->addWidget(pick);
    layout->addWidget(unchanged);
    layout->addWidget(current);
    layout->addStretch();
    layout->addLayout(buttons);
}
