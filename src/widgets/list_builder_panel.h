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

// The controls of the sorted-list builder in the search window: a rule, the
// caption, the progress bar, the three list kinds, "Sortierte Listen
// erstellen" and "Abbrechen / Schließen". They appear only once the settings
// dialog has been asked for them. The hint label above them is a hint text of
// the window whose colour the caption takes when a build starts.
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
    // The caption takes the font colour of the hint label.
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

    QLabel* hintLabel_ = nullptr;
    QFrame* bevel_ = nullptr;
    QLabel* caption_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QGroupBox* kinds_ = nullptr;
    QRadioButton* wordsOnly_ = nullptr;
    QRadioButton* phrasesOnly_ = nullptr;
    QRadioButton* wordsAndPhrases_ = nullptr;
    QPushButton* build_ = nullptr;
    QPushButton* stop_ = nullptr;
};

} // namespace widgets
