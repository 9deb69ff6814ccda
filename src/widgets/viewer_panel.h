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

// The right-hand panel of the search window, the place of the document
// viewer: the caption with the page-offset line right of it, the find bar
// with its clear button, "Suchen" and the bookmark button, the paged viewer,
// and the mirror box that lies over it. The window drives the viewer and the
// mirror box through view() and mirror().
class ViewerPanel final : public QFrame {
    Q_OBJECT
public:
    explicit ViewerPanel(QWidget* parent);

    DocumentView* view() const { return view_; }
    MirrorBox* mirror() const { return mirror_; }

    // The caption over the viewer.
    void setCaption(const QString& text);
    QString caption() const;
    // The caption and the page-offset line emptied.
    void clearCaptions();
    // The page-offset line appears only once the viewer reports where its page starts.
    void hidePageOffset();
    void showPageOffset(const QString& text);
    void clearPageOffset();
    QString pageOffsetText() const;
    // Where the page-offset line begins, in the panel's coordinates, and how wide a text
    // is in its font: the caption is cut to fit the panel's width.
    int pageOffsetLeft();
    int pageOffsetTextWidth(QStringView text) const;

    QString findText() const;
    void setFindText(const QString& text);
    void clearFindText();
    // The caret at the end of the find bar, nothing selected.
    void focusFindBarAtEnd();
    void setFindButtonEnabled(bool enabled);
    // The find bar and "Suchen" together (a list build locks both).
    void setFindControlsEnabled(bool enabled);
    bool findButtonEnabled() const;
    void setFindButtonCaption(const QString& caption);
    void setBookmarkButtonShown(bool shown);

    // The viewer and its mirror box show nothing any more.
    void resetViewer();
    // The point size of the viewer's text (viewer and mirror box alike).
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
    QLabel* caption_ = nullptr;
    QLabel* pageOffset_ = nullptr;
    QLineEdit* findBar_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QPushButton* bookmark_ = nullptr;
    DocumentView* view_ = nullptr;
    MirrorBox* mirror_ = nullptr;
};

} // namespace widgets
