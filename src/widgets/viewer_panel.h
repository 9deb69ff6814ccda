#pragma once

#include <QFrame>
#include <QString>
#include <QStringView>

class QLabel;
class QLineEdit;
class QPushButton;

namespace widgets {

class DocumentView;
class MirrorBox;

// The right-hand panel PanelRechts of the search window, the place of the
// document viewer: the caption Label8 with the page-offset line Label2
// right of it, the find bar TntEdit1 with its clear button Button2, "Suchen"
// (WeiterSuche) and the bookmark button LesezeichenBtn, the paged viewer
// (Viewer), and the mirror box ViewerMemo that lies over it. The window
// drives the viewer and the mirror box through view() and mirror().
class ViewerPanel final : public QFrame {
    Q_OBJECT
public:
    explicit ViewerPanel(QWidget* parent);

    DocumentView* view() const { return view_; }
    MirrorBox* mirror() const { return mirror_; }

    // The caption over the viewer (Label8).
    void setCaption(const QString& text);
    QString caption() const;
    // Label8 and Label2 emptied.
    void clearCaptions();
    // Label2 appears only once the viewer reports where its page starts.
    void hidePageOffset();
    void showPageOffset(const QString& text);
    void clearPageOffset();
    QString pageOffsetText() const;
    // Where Label2 begins, in the panel's coordinates, and how wide a text
    // is in its font: the caption is cut to fit the panel's width.
    int pageOffsetLeft();
    int pageOffsetTextWidth(QStringView text) const;

    QString findText() const;
    void setFindText(const QString& text);
    void clearFindText();
    // The caret at the end of the find bar, nothing selected.
    void focusFindBarAtEnd();
    void setFindButtonEnabled(bool enabled);
    // The find bar TntEdit1 and "Suchen" together (a list build locks both).
    void setFindControlsEnabled(bool enabled);
    bool findButtonEnabled() const;
    void setFindButtonCaption(const QString& caption);
    void setBookmarkButtonShown(bool shown);

    // The viewer and its mirror box show nothing any more.
    void resetViewer();
    // The point size of the viewer's text (Viewer and ViewerMemo alike).
    void setFontSize(int points);
    int fontSize() const;
    // Whether the mirror box shows its hint at the mouse cursor (setting
    // Kurzhinweis_imViewer_anzeigen).
    void setHintShownAtCursor(bool shown);
    bool hintShownAtCursor() const;
    void setMirrorHint(const QString& text);
    bool mirrorHasText() const;
    void setMirrorText(const QString& text);
    void focusMirror();
    void focusViewer();
    // Keeps the mirror box over the viewer: as high as the viewer, as wide
    // while the viewer shows no scroll bar, else 20 pixels narrower, so that
    // the scroll bar stays usable.
    void placeMirrorBox();

    void colourHintTexts(const QColor& colour);

Q_SIGNALS:
    void findTextChanged();
    void clearFindClicked();
    void findClicked();
    // Return or Enter in the find bar.
    void findEnterPressed();
    void bookmarkClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* caption_ = nullptr;         // Label8
    QLabel* pageOffset_ = nullptr;      // Label2
    QLineEdit* findBar_ = nullptr;      // TntEdit1
    QPushButton* findButton_ = nullptr; // WeiterSuche
    QPushButton* bookmark_ = nullptr;   // LesezeichenBtn
    DocumentView* view_ = nullptr;      // Viewer
    MirrorBox* mirror_ = nullptr;       // ViewerMemo
};

} // namespace widgets
