#pragma once

#include "lists/list_rules.h"

#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace widgets {

// The controls of the sorted-list builder in the search window (ListBuilder):
// the rule Bevel5, the caption Label4, ProgressBar1, the list kinds in
// RadioGroup1 (nurWoerterButton, nurSaetzeButton, WoerterUndSaetzeButton),
// "Sortierte Listen erstellen" and "Abbrechen / Schließen". They appear only
// once the settings dialog has been asked for them. Label3 above them is a
// hint text of the window whose colour the caption takes when a build starts.
class ListBuilderPanel final : public QWidget {
    Q_OBJECT
public:
    explicit ListBuilderPanel(QWidget* parent);

    void showControls();
    void hideControls();
    bool controlsShown() const;
    // "Abbrechen / Schließen" can be pressed: shown and enabled.
    bool stopAvailable() const;

    lists::ListKind listKind() const;
    // "Sortierte Listen erstellen" and the three list kinds.
    void setBuildControlsEnabled(bool enabled);

    void setCaption(const QString& text);
    QString caption() const;
    // Label4 takes the font colour of Label3.
    void colourCaptionAsHintText();

    void setProgressRange(int minimum, int maximum);
    void setProgressPosition(int position);
    void fillProgress();
    void colourProgressGreen();

    void colourHintTexts(const QColor& colour);

Q_SIGNALS:
    void buildClicked();
    void stopClicked();

private:
    QList<QWidget*> controls() const;

    QLabel* hintLabel_ = nullptr;             // Label3
    QFrame* bevel_ = nullptr;                 // Bevel5
    QLabel* caption_ = nullptr;               // Label4
    QProgressBar* progress_ = nullptr;        // ProgressBar1
    QGroupBox* kinds_ = nullptr;              // RadioGroup1
    QRadioButton* wordsOnly_ = nullptr;       // nurWoerterButton
    QRadioButton* phrasesOnly_ = nullptr;     // nurSaetzeButton
    QRadioButton* wordsAndPhrases_ = nullptr; // WoerterUndSaetzeButton
    QPushButton* build_ = nullptr;            // SortierteListenErstellenButton
    QPushButton* stop_ = nullptr;             // SortAbbrechenButton
};

} // namespace widgets
