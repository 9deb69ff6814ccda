#include "widgets/window_colours.h"

#include "platform/settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>

class WindowColoursTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void storedColoursFallBack_data() {
        QTest::addColumn<QString>("farbe");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QColor>("background"); // invalid: the palette's highlight
        QTest::addColumn<QColor>("hintText");
        QTest::addColumn<quint32>("value");
        QTest::newRow("named") << QStringLiteral("clNavy") << QStringLiteral("$0000FFFF")
                               << QColor(0, 0, 128) << QColor(255, 255, 0) << 0x00800000u;
        QTest::newRow("stored as BGR")
            << QStringLiteral("$00102030") << QStringLiteral("clBlack") << QColor(0x30, 0x20, 0x10)
            << QColor(0, 0, 0) << 0x00102030u;
        QTest::newRow("missing") << QString() << QString() << QColor() << QColor(Qt::white)
                                 << 0x8000000Du;
        QTest::newRow("edited into nonsense")
            << QStringLiteral("Unsinn") << QStringLiteral("?") << QColor(0, 128, 128)
            << QColor(Qt::white) << 0x00808000u;
    }
    void storedColoursFallBack() {
        QFETCH(QString, farbe);
        QFETCH(QString, hint);
        QFETCH(QColor, background);
        QFETCH(QColor, hintText);
        QFETCH(quint32, value);
        platform::MemorySettingsStore store;
        if (!farbe.isEmpty())
            store.write(QStringLiteral("Farbe"), farbe);
        if (!hint.isEmpty())
            store.write(QStringLiteral("HinweistextFarbe"), hint);
        QPalette palette;
        palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
        const widgets::WindowColours colours = widgets::storedWindowColours(store, palette);
        QCOMPARE(colours.background, background.isValid() ? background : QColor(1, 2, 3));
        QCOMPARE(colours.hintText, hintText);
        QCOMPARE(colours.backgroundValue, value);
    }

    void darkenedColoursTruncate() {
        QCOMPARE(widgets::darkenedBySevenPercent(QColor(0, 128, 255)), QColor(0, 120, 238));
        QCOMPARE(widgets::darkenedToNinetyPercent(QColor(0, 128, 255)), QColor(0, 115, 229));
    }

    void plainColourSettingIgnoresSystemColours() {
        platform::MemorySettingsStore store;
        store.write(QStringLiteral("Farbe"), QStringLiteral("clHighlight"));
        QCOMPARE(widgets::plainColourSetting(store, QStringLiteral("Farbe"), Qt::red),
                 QColor(Qt::red));
        store.write(QStringLiteral("Farbe"), QStringLiteral("clTeal"));
        QCOMPARE(widgets::plainColourSetting(store, QStringLiteral("Farbe"), Qt::red),
                 QColor(0, 128, 128));
    }

    // White hint text on a check box: its mark stays dark in the white box,
    // and disabled it turns grey like any disabled control.
    void hintTextLeavesMarksAndDisabledGreyAlone() {
        QCheckBox box(QStringLiteral("Kurzhinweis"));
        const QPalette before = box.palette();
        widgets::setTextColour(&box, Qt::white);
        const QPalette after = box.palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            QCOMPARE(after.color(group, QPalette::WindowText), QColor(Qt::white));
            QCOMPARE(after.color(group, QPalette::ButtonText), QColor(Qt::white));
            QCOMPARE(after.color(group, QPalette::Text), before.color(group, QPalette::Text));
        }
        QCOMPARE(after.color(QPalette::Disabled, QPalette::WindowText),
                 before.color(QPalette::Disabled, QPalette::WindowText));
        QVERIFY(after.color(QPalette::Disabled, QPalette::WindowText) != QColor(Qt::white));
    }
};

QTEST_MAIN(WindowColoursTest)
#include "window_colours_test.moc"
