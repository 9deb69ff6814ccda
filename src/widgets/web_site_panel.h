#pragma once

#include <QFrame>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QListWidget;

namespace widgets {

class SiteListDelegate;

// The web-site panel of the search window: the search-text caption, the
// prompt, the topic box and the site list, whose rows carry a symbol for how
// the site takes the search text. The window fills it from the site file and reacts to its signals.
class WebSitePanel final : public QFrame {
    Q_OBJECT
public:
    explicit WebSitePanel(QWidget* parent);

    // The caption over the lists.
    void setCaption(const QString& text);
    QString caption() const;

    // Topics and sites are kept in case-insensitive order, an entry after
    // the equal ones before it.
    void setTopics(const QStringList& topics);
    void setSites(const QStringList& sites);
    int topicCount() const;
    int siteCount() const;
    int currentTopic() const; // -1: none
    QString currentTopicText() const;
    void setCurrentTopic(int index);
    int currentSite() const; // -1: none
    void setCurrentSite(int row);
    // The address of the selected site; empty when none is selected.
    QString selectedSite() const;

    // The lists and their labels take input only while there is a search
    // text; disabled lists wear the grey of a scroll bar.
    void setInputEnabled(bool enabled);
    // Selected rows are drawn in this colour.
    void setSelectionColour(const QColor& colour);
    void colourHintTexts(const QColor& colour);

    // The hint of the site list follows the selected site.
    void showHintOfSelectedSite();
    // A wheel turn in the column of the site list gives it the focus, so the
    // keys follow the wheel.
    void focusSitesForWheelAt(const QPoint& globalPosition);

Q_SIGNALS:
    void topicChosen();
    void siteClicked();
    void pointerMovedOverSites();
    // Before each row of the site list is drawn.
    void aboutToDrawSite();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void colourLists(bool enabled);

    QLabel* captionLabel_ = nullptr;
    QLabel* promptLabel_ = nullptr;
    QComboBox* topicBox_ = nullptr;
    QListWidget* siteList_ = nullptr;
    SiteListDelegate* delegate_ = nullptr;
};

} // namespace widgets
