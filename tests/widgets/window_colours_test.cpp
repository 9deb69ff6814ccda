#include "support/platform_doubles.h"
#include "widgets/window_colours.h"

#include "platform/colour_text.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
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
        testsupport::MemorySettingsStore store;
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
        testsupport::MemorySettingsStore store;
        store.write(QStringLiteral("Farbe"), QStringLiteral("clHighlight"));
        QCOMPARE(widgets::plainColourSetting(store, QStringLiteral("Farbe"), Qt::red),
                 QColor(Qt::red));
        store.write(QStringLiteral("Farbe"), QStringLiteral("clTeal"));
        QCOMPARE(widgets::plainColourSetting(store, QStringLiteral("Farbe"), Qt::red),
                 QColor(0, 128, 128));
    }

    // White hint text on a check box: its mark stays dark in the white box.
    // Disabled, it is dimmed towards the background, not left white.
    void hintTextLeavesMarksAlone() {
        QWidget window;
        widgets::setBackgroundColour(&window, QColor(0, 128, 128));
        auto* box = new QCheckBox(QStringLiteral("Kurzhinweis"), &window);
        const QPalette before = box->palette();
        widgets::setTextColour(box, Qt::white);
        const QPalette after = box->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            QCOMPARE(after.color(group, QPalette::WindowText), QColor(Qt::white));
            QCOMPARE(after.color(group, QPalette::ButtonText), QColor(Qt::white));
            QCOMPARE(after.color(group, QPalette::Text), before.color(group, QPalette::Text));
        }
        QVERIFY(after.color(QPalette::Disabled, QPalette::WindowText) != QColor(Qt::white));
    }

    // The wanted colour stays where it reads; where it does not, black or
    // white takes its place, whichever suits the background.
    void wantedTextColourStaysWhereReadable_data() {
        QTest::addColumn<QColor>("wanted");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("shown");
        const QColor teal(0, 128, 128);
        QTest::newRow("white on teal (4.8 : 1)") << QColor(Qt::white) << teal << QColor(Qt::white);
        QTest::newRow("yellow on teal (4.4 : 1)")
            << QColor(255, 255, 0) << teal << QColor(Qt::white);
        QTest::newRow("yellow on navy")
            << QColor(255, 255, 0) << QColor(0, 0, 128) << QColor(255, 255, 0);
        QTest::newRow("black on navy")
            << QColor(Qt::black) << QColor(0, 0, 128) << QColor(Qt::white);
        QTest::newRow("white on silver")
            << QColor(Qt::white) << QColor(192, 192, 192) << QColor(Qt::black);
        QTest::newRow("white on white")
            << QColor(Qt::white) << QColor(Qt::white) << QColor(Qt::black);
    }
    void wantedTextColourStaysWhereReadable() {
        QFETCH(QColor, wanted);
        QFETCH(QColor, background);
        QFETCH(QColor, shown);
        QCOMPARE(widgets::readableTextColour(wanted, background), shown);
    }

    void contrastFollowsTheWcagFormula() {
        QCOMPARE(widgets::contrastRatio(Qt::black, Qt::white), 21.0);
        QCOMPARE(widgets::contrastRatio(Qt::white, Qt::white), 1.0);
        // #777777 on white: WCAG's own example of a colour just below 4.5.
        QVERIFY(qAbs(widgets::contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) - 4.48) < 0.01);
    }

    // Disabled buttons, fields and labels of the whole program, whatever
    // the style made of them (the platform's light grey on a light face).
    void disabledTextOfThePaletteReads() {
        QPalette faint = QApplication::palette();
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            faint.setColor(QPalette::Disabled, role, QColor(0xEE, 0xEE, 0xEE));
        const QPalette readable = widgets::withReadableDisabledText(faint);
        const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
            {QPalette::WindowText, QPalette::Window},
            {QPalette::ButtonText, QPalette::Button},
            {QPalette::Text, QPalette::Base}};
        for (const auto& [text, background] : pairs) {
            const QColor back = readable.color(QPalette::Disabled, background);
            const double disabled =
                widgets::contrastRatio(readable.color(QPalette::Disabled, text), back);
            QVERIFY2(disabled >= 3.0, qPrintable(QString::number(disabled)));
            QVERIFY(disabled * 1.3 <=
                    widgets::contrastRatio(readable.color(QPalette::Active, text), back));
        }
    }

    // Every background a user may choose, named or not, and the hint colours
    // they may pick: the text reads at 4.5 : 1, disabled text at 3 : 1 and
    // visibly fainter than enabled text, both for the hint texts and for the
    // plain labels that take the background's own text colour.
    void textReadsOnEveryBackground_data() {
        QTest::addColumn<QString>("background");
        const QStringList table = {
            "clBlack",        "clMaroon",      "clGreen",         "clOlive",
            "clNavy",         "clPurple",      "clTeal",          "clGray",
            "clSilver",       "clRed",         "clLime",          "clYellow",
            "clBlue",         "clFuchsia",     "clAqua",          "clWhite",
            "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
            "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
            "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
            "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
            "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
            "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
            "clInfoBk"};
        QCOMPARE(table.size(), 41);
        for (const QString& name : table)
            QTest::newRow(qPrintable(name)) << name;
        // Colours picked in the chooser: near black, pale yellow, the grey
        // just below 4.5 : 1 with white, a mid blue, the logo's grey.
        for (const char* picked : {"$001E1E1E", "$00E0FFFF", "$00777777", "$00996633", "$00BBBBBB",
                                   "$00FF8000", "$000080FF"})
            QTest::newRow(picked) << QString::fromLatin1(picked);
    }
    void textReadsOnEveryBackground() {
        QFETCH(QString, background);
        const std::optional<quint32> value = platform::colourFromText(background);
        QVERIFY(value);
        const QColor back = widgets::colourFromValue(*value, QApplication::palette());
        const QList<QColor> hintColours = {Qt::white, Qt::black,           QColor(255, 255, 0),
                                           back,      QColor(0, 128, 128), QColor(255, 128, 0)};
        const auto check = [&](const QColor& enabled, const QColor& disabled, const char* what) {
            const double readable = widgets::contrastRatio(enabled, back);
            const double faint = widgets::contrastRatio(disabled, back);
            QVERIFY2(readable >= 4.5, qPrintable(QStringLiteral("%1 %2: %3")
                                                     .arg(QLatin1String(what), enabled.name())
                                                     .arg(readable)));
            QVERIFY2(faint >= 3.0, qPrintable(QStringLiteral("%1 disabled %2: %3")
                                                  .arg(QLatin1String(what), disabled.name())
                                                  .arg(faint)));
            QVERIFY2(readable / faint >= 1.3, qPrintable(QStringLiteral("%1: %2 against %3")
                                                             .arg(QLatin1String(what))
                                                             .arg(readable)
                                                             .arg(faint)));
        };

        QWidget window;
        widgets::setBackgroundColour(&window, back);
        auto* plain = new QLabel(QStringLiteral("Schriftgröße Text-Viewer"), &window);
        check(plain->palette().color(QPalette::Active, QPalette::WindowText),
              plain->palette().color(QPalette::Disabled, QPalette::WindowText), "plain label");
        for (const QColor& hint : hintColours) {
            auto* box = new QCheckBox(QStringLiteral("Kurzhinweis"), &window);
            widgets::setTextColour(box, hint);
            const QPalette palette = box->palette();
            for (auto role : {QPalette::WindowText, QPalette::ButtonText})
                check(palette.color(QPalette::Active, role),
                      palette.color(QPalette::Disabled, role),
                      qPrintable(QStringLiteral("hint ") + hint.name()));
        }
    }
};

QTEST_MAIN(WindowColoursTest)
#include "window_colours_test.moc"
