#pragma once

#include <QWidget>

class QAbstractButton;
class QPushButton;
class QRadioButton;

namespace widgets {

// The controls of the sorted-list builder in the search window (ListBuilder):
// the rule Bevel5, the caption Label4, ProgressBar1, the list kinds in
// RadioGroup1 (nurWoerterButton, nurSaetzeButton, WoerterUndSaetzeButton),
// "Sortierte Listen erstellen" and "Abbrechen / Schließen". They appear only
// while a list is built.
class ListBuilderPanel final : public QWidget {
    Q_OBJECT
public:
    explicit ListBuilderPanel(QWidget* parent);

    void hideControls();
    // "Abbrechen / Schließen", pressed for the user when it can be pressed:
    // the search window's own "Abbrechen" and its wait for a stopped build
    // end a build this way.
    void pressStopIfAvailable();
    void pressStop();

    void colourHintTexts(const QColor& colour);

private:
    QList<QWidget*> controls() const;

    QWidget* bevel_ = nullptr;                // Bevel5
    QWidget* caption_ = nullptr;              // Label4
    QWidget* progress_ = nullptr;             // ProgressBar1
    QWidget* kinds_ = nullptr;                // RadioGroup1
    QRadioButton* wordsOnly_ = nullptr;       // nurWoerterButton
    QRadioButton* phrasesOnly_ = nullptr;     // nurSaetzeButton
    QRadioButton* wordsAndPhrases_ = nullptr; // WoerterUndSaetzeButton
    QPushButton* build_ = nullptr;            // SortierteListenErstellenButton
    QPushButton* stop_ = nullptr;             // SortAbbrechenButton
};

} // namespace widgets
