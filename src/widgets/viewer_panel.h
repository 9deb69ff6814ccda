#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace widgets {

// The right-hand panel PanelRechts of the search window, the place of the
// document viewer: the caption Label8, the find bar TntEdit1 with its clear
// button Button2, "Suchen" (WeiterSuche) and the bookmark button
// LesezeichenBtn, the viewer itself (Viewer), the mirror box ViewerMemo that
// lies over it with its size, and the page-offset line Label2.
class ViewerPanel final : public QFrame {
    Q_OBJECT
public:
    explicit ViewerPanel(QWidget* parent);

    // The caption over the viewer (Label8).
    void setCaption(const QString& text);
    QString caption() const;
    // Label8 and Label2 emptied.
    void clearCaptions();
    // Label2 appears only once the viewer reports where its page starts.
    void hidePageOffset();
    void clearPageOffset();

    QString findText() const;
    void clearFindText();
    void setFindButtonEnabled(bool enabled);
    // The find bar TntEdit1 and "Suchen" together (a list build locks both).
    void setFindControlsEnabled(bool enabled);

    // The viewer and its mirror box show nothing any more.
    void resetViewer();
    // The point size of the viewer's text (Viewer and ViewerMemo alike).
    void setFontSize(int points);
    int fontSize() const;
    // Whether the mirror box shows its hint at the mouse cursor (setting
    // Kurzhinweis_imViewer_anzeigen).
    void setHintShownAtCursor(bool shown) { hintShownAtCursor_ = shown; }
    bool hintShownAtCursor() const { return hintShownAtCursor_; }
    void setMirrorHint(const QString& text);
    bool mirrorHasText() const;
    void setMirrorText(const QString& text);
    void focusMirror();
    void focusViewer();
    // Keeps the mirror box exactly over the viewer.
    void placeMirrorBox();

    void colourHintTexts(const QColor& colour);

Q_SIGNALS:
    void findTextChanged();
    void clearFindClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* caption_ = nullptr;         // Label8
    QLineEdit* findBar_ = nullptr;      // TntEdit1
    QPushButton* findButton_ = nullptr; // WeiterSuche
    QPlainTextEdit* viewer_ = nullptr;  // Viewer
    QPlainTextEdit* mirror_ = nullptr;  // ViewerMemo
    QLabel* pageOffset_ = nullptr;      // Label2
    bool hintShownAtCursor_ = true;
};

} // namespace widgets
