// The windows in English: the language chosen for a run, the English captions, layouts that
// still fit, the same numbers in both languages, the language entries and the user guide.
#include "app/language.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTranslator>
#include <memory>

#include "app/layout_check.h"
#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "app/widgets/core_texts.h"
#include "app/widgets/settings_keys.h"
#include "app/windows/canopy_sweep_window.h"
#include "app/windows/help_windows.h"
#include "app/windows/leaf_sweep_window.h"
#include "app/windows/main_window.h"
#include "app/windows/main_window_rows.h"
#include "canopy/leaf_angles.h"
#include "multi/sweep_controls.h"
#include "plot/chart_background.h"
#include "spectral/soil_library.h"
#include "support/find_child.h"
#include "support/golden.h"
#include "support/work_dir.h"

namespace tulmera::app {

class LanguageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::ScopedWorkDir> dir_;
    QTranslator* english_ = nullptr;

    void UseEnglish(bool on)
    {
        if (on) {
            QVERIFY(english_->load(QStringLiteral(":/i18n/tulmera_en.qm")));
            QVERIFY(QCoreApplication::installTranslator(english_));
        } else {
            QCoreApplication::removeTranslator(english_);
        }
    }
    // The window a data row names: "main", "prospect" (the leaf sweep) or "sailh".
    static std::unique_ptr<QWidget> MakeWindow(const QString& window)
    {
        if (window == QLatin1String("prospect")) return std::make_unique<LeafSweepWindow>();
        if (window == QLatin1String("sailh")) {
            return std::make_unique<CanopySweepWindow>(leaf::kStartLeafParameters,
                                                       canopy::StartCanopyInputs());
        }
        return std::make_unique<MainWindow>();
    }
    template <typename T>
    static T* In(const QWidget& window, const QString& name)
    {
        return testing::FindChild<T>(&window, name);
    }
    // A control's caption: a label's or button's text, an action's text, a menu's title.
    static QString Caption(const QWidget& window, const QString& name)
    {
        if (auto* label = window.findChild<QLabel*>(name)) return label->text();
        if (auto* button = window.findChild<QAbstractButton*>(name)) return button->text();
        if (auto* menu = window.findChild<QMenu*>(name)) return menu->title();
        return In<QAction>(window, name)->text();
    }
    // What the main window shows and has written: the value boxes, both charts (their pixels
    // hashed), the files.
    static QString Numbers(const MainWindow& window)
    {
        QStringList parts;
        for (const char* name : {"txtProspect(%1)", "txtSailh(%1)"}) {
            for (int i = 0; i < 5; ++i) {
                if (auto* box = window.findChild<QLineEdit*>(QString::fromLatin1(name).arg(i))) {
                    parts << box->text();
                }
            }
        }
        for (const char* chart : {"pctProspect", "pctSailh"}) {
            const QImage image = In<widgets::ChartView>(window, QLatin1String(chart))->image();
            parts << QString::fromLatin1(
                QCryptographicHash::hash(QByteArrayView(image.constBits(), image.sizeInBytes()),
                                         QCryptographicHash::Sha256)
                    .toHex());
        }
        parts << QString::fromStdString(testing::FileBytes("VP.dat"))
              << QString::fromStdString(testing::FileBytes("VS.dat"));
        return parts.join(QLatin1Char('|'));
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);  // not the user's settings
        QCoreApplication::setOrganizationName(QStringLiteral("Tulmera"));
        english_ = new QTranslator(this);
    }
    void init()
    {
        dir_ = std::make_unique<testing::ScopedWorkDir>();
        QSettings().remove(QLatin1String(widgets::kLanguageKey));
    }
    void cleanup()
    {
        UseEnglish(false);
        dir_.reset();
    }

    // --lang wins for its run; else the choice remembered; else the system's locale.
    void theRunLanguageComesFromTheLineTheSettingOrTheSystem_data()
    {
        QTest::addColumn<std::optional<Language>>("commandLine");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Language>("expected");
        const std::optional<Language> none;
        QTest::newRow("es_ES system") << none << QString() << "es_ES" << Language::Spanish;
        QTest::newRow("es_AR system") << none << QString() << "es_AR" << Language::Spanish;
        QTest::newRow("en_GB system") << none << QString() << "en_GB" << Language::English;
        QTest::newRow("C system") << none << QString() << "C" << Language::English;
        QTest::newRow("de_DE system") << none << QString() << "de_DE" << Language::English;
        QTest::newRow("remembered en over es_ES") << none << "en"
                                                  << "es_ES" << Language::English;
        QTest::newRow("remembered es over C") << none << "es"
                                              << "C" << Language::Spanish;
        QTest::newRow("unknown remembered: system") << none << "fr"
                                                    << "es_MX" << Language::Spanish;
        QTest::newRow("--lang es over remembered en") << std::optional(Language::Spanish) << "en"
                                                      << "en_US" << Language::Spanish;
        QTest::newRow("--lang en over es_ES")
            << std::optional(Language::English) << QString() << "es_ES" << Language::English;
    }
    void theRunLanguageComesFromTheLineTheSettingOrTheSystem()
    {
        QFETCH(std::optional<Language>, commandLine);
        QFETCH(QString, remembered);
        QFETCH(QString, locale);
        QFETCH(Language, expected);
        QSettings settings;
        if (!remembered.isEmpty())
            settings.setValue(QLatin1String(widgets::kLanguageKey), remembered);
        QCOMPARE(RunLanguage(commandLine, settings, locale), expected);
    }

    // Started in English, the windows show English captions, and the lists' entries still
    // carry the Spanish keys the runs select by.
    void theWindowsStartedInEnglishShowEnglish_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("english");
        QTest::newRow("main: leaf caption") << "main"
                                            << "lblProspect(0)"
                                            << "Leaf internal structure (N):";
        QTest::newRow("main: canopy caption") << "main"
                                              << "lblSailh(3)"
                                              << "Leaf area index (LAI):";
        QTest::newRow("main: visibility") << "main"
                                          << "lblSailh(2)"
                                          << "Atmospheric visibility:";
        QTest::newRow("main: file menu") << "main"
                                         << "menu1"
                                         << "&File";
        QTest::newRow("main: exit") << "main"
                                    << "menu13"
                                    << "E&xit";
        QTest::newRow("main: background") << "main"
                                          << "menu211(1)"
                                          << "Grid";
        QTest::newRow("main: language") << "main"
                                        << "menu23"
                                        << "&Language";
        QTest::newRow("main: help") << "main"
                                    << "menu3"
                                    << "&Help";
        QTest::newRow("main: guide") << "main"
                                     << "menu31"
                                     << "User &guide";
        QTest::newRow("leaf sweep: option") << "prospect"
                                            << "btOption(1)"
                                            << "Chlorophyll a+b content (µg/cm²):";
        QTest::newRow("leaf sweep: run") << "prospect"
                                         << "btok"
                                         << "Run";
        QTest::newRow("leaf sweep: exit") << "prospect"
                                          << "Command2"
                                          << "Exit";
        QTest::newRow("canopy sweep: run") << "sailh"
                                           << "btok"
                                           << "Run";
        QTest::newRow("canopy sweep: export") << "sailh"
                                              << "cmdfich"
                                              << "Spreadsheet";
    }
    void theWindowsStartedInEnglishShowEnglish()
    {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QString, english);
        UseEnglish(true);
        const std::unique_ptr<QWidget> shown = MakeWindow(window);
        QCOMPARE(Caption(*shown, name), english);
    }
    void theListsShowEnglishAndKeepTheirKeys()
    {
        UseEnglish(true);
        MainWindow window;
        auto* soils = In<QComboBox>(window, QStringLiteral("cmbSailh(1)"));
        QCOMPARE(soils->itemText(0), QStringLiteral("S1: 61% sand 24% silt 15% clay"));
        QCOMPARE(soils->itemData(0).toString(), QString::fromUtf8(spectral::kSoilKeys[0].data()));
        auto* architectures = In<QComboBox>(window, QStringLiteral("cmbSailh(0)"));
        QCOMPARE(architectures->itemText(4), QStringLiteral("Spherical"));
        QCOMPARE(architectures->itemData(4).toString(), QStringLiteral("Esferico"));
        CanopySweepWindow sweep(leaf::kStartLeafParameters, canopy::StartCanopyInputs());
        QCOMPARE(sweep.windowTitle(), QStringLiteral("Multiple simulation: SAILH model"));
        QCOMPARE(In<QComboBox>(sweep, QStringLiteral("cmbParametro"))->itemText(0),
                 QStringLiteral("Leaf area index (LAI)"));
    }

    // Every text of the core's tables that a window shows has its English: a row added to a
    // table without its English would show Spanish in an English window.
    void everyTableTextOfTheCoreHasItsEnglish()
    {
        UseEnglish(true);
        std::vector<std::string_view> texts;
        for (const auto& row : multi::kParameterRows) texts.push_back(row.caption);
        for (const auto& row : multi::kModelParameterRows) texts.push_back(row.caption);
        for (const auto& row : kLeafRows) texts.push_back(row.caption);
        for (const auto& row : kCanopyRows) texts.push_back(row.caption);
        for (const auto caption : multi::kLimitCaptions) texts.push_back(caption);
        for (const auto caption : plot::kBackgroundCaptions) texts.push_back(caption);
        for (const auto name : canopy::kLeafArchitectureNames) texts.push_back(name);
        for (const auto key : spectral::kSoilKeys) texts.push_back(key);
        for (const std::string_view text : texts) {
            const QString spanish = QString::fromUtf8(text.data(), qsizetype(text.size()));
            QVERIFY2(widgets::CoreText(text) != spanish, qPrintable(spanish));
        }
    }

    // In English the main and sweep windows still fit a 1280 x 720 screen with no control
    // squeezed or cut off: the longer English captions fit.
    void theEnglishWindowsFitWithoutClipping_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main") << "main";
        QTest::newRow("leaf sweep") << "prospect";
        QTest::newRow("canopy sweep") << "sailh";
    }
    void theEnglishWindowsFitWithoutClipping()
    {
        QFETCH(QString, window);
        UseEnglish(true);
        const std::unique_ptr<QWidget> shown = MakeWindow(window);
        const QSize minimum = shown->minimumSizeHint();
        QVERIFY2(minimum.width() <= 1280 && minimum.height() <= 720,
                 qPrintable(QStringLiteral("%1 x %2").arg(minimum.width()).arg(minimum.height())));
        shown->show();
        shown->resize(1280, 720);
        QCoreApplication::processEvents();
        QCOMPARE(testing::FirstClippedChild(*shown), QString());
    }

    // The language changes nothing of the numbers: a window in English shows the same value
    // boxes and charts and writes the same files as one in Spanish, before and after a change.
    void bothLanguagesShowAndWriteTheSameNumbers()
    {
        const auto run = [this](bool english) {
            UseEnglish(english);
            MainWindow window;
            auto* lai = In<QLineEdit>(window, QStringLiteral("txtSailh(0)"));
            lai->setText(QStringLiteral("3.25"));
            emit lai->editingFinished();
            In<QScrollBar>(window, QStringLiteral("hsbProspect(1)"))->setValue(4000);
            const QString numbers = Numbers(window);
            UseEnglish(false);
            return numbers;
        };
        const QString spanish = run(false);
        QVERIFY(spanish.contains(QStringLiteral("3.25")));
        QCOMPARE(run(true), spanish);
    }

    // The files the main window writes speak its language: the CSV's list texts and the
    // charts' file names; in Spanish exactly as always.
    void theMainWindowsFilesSpeakItsLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("architecture");
        QTest::addColumn<QString>("soil");
        QTest::addColumn<QStringList>("charts");
        QTest::newRow("Spanish") << false << "# leaf_architecture = Planofilo"
                                 << "# soil = S1:61% arena 24% limo 15% arcilla"
                                 << QStringList{"c-hoja.png", "c-cubierta.png"};
        QTest::newRow("English") << true << "# leaf_architecture = Planophile"
                                 << "# soil = S1: 61% sand 24% silt 15% clay"
                                 << QStringList{"c-leaf.png", "c-canopy.png"};
    }
    void theMainWindowsFilesSpeakItsLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QStringList, charts);
        UseEnglish(english);
        MainWindow window;
        QVERIFY(window.SaveSpectraCsv(QStringLiteral("s.csv")));
        const QStringList lines = QString::fromStdString(testing::FileBytes("s.csv")).split('\n');
        QFETCH(QString, architecture);
        QFETCH(QString, soil);
        QVERIFY2(lines.contains(architecture), qPrintable(lines.mid(0, 20).join('\n')));
        QVERIFY2(lines.contains(soil), qPrintable(lines.mid(0, 20).join('\n')));
        QVERIFY(window.SaveChartImages(QStringLiteral("c.png"), {}));
        QStringList written = QDir().entryList({QStringLiteral("c-*")}, QDir::Files);
        written.sort();
        charts.sort();
        QCOMPARE(written, charts);
    }

    // "Configuracion › Idioma" remembers the choice for the next start and says so; the open
    // window keeps its language, its values and its charts.
    void choosingALanguageIsRememberedAndKeepsTheValues()
    {
        UseEnglish(true);
        MainWindow window;
        window.show();
        QVERIFY(In<QAction>(window, QStringLiteral("menu23(en)"))->isChecked());
        auto* lai = In<QLineEdit>(window, QStringLiteral("txtSailh(0)"));
        lai->setText(QStringLiteral("0.1"));
        emit lai->editingFinished();
        const QString before = Numbers(window);

        In<QAction>(window, QStringLiteral("menu23(es)"))->trigger();
        QCOMPARE(QSettings().value(QLatin1String(widgets::kLanguageKey)).toString(),
                 QStringLiteral("es"));
        auto* box = In<QMessageBox>(window, QStringLiteral("msgIdioma"));
        QCOMPARE(box->text(),
                 QStringLiteral("The language will change the next time Tulmera is opened."));
        QVERIFY(!box->isModal());
        QCOMPARE(Numbers(window), before);
        QCOMPARE(Caption(window, QStringLiteral("menu1")), QStringLiteral("&File"));

        // The next start, here a new window made with the remembered language, is Spanish.
        const QSettings settings;
        UseEnglish(RunLanguage(std::nullopt, settings, QStringLiteral("en_US"))
                   == Language::English);
        MainWindow next;
        QCOMPARE(Caption(next, QStringLiteral("menu1")), QStringLiteral("&Archivo"));
        QVERIFY(In<QAction>(next, QStringLiteral("menu23(es)"))->isChecked());
    }

    // Every parameter control carries a tip naming its bar's actual ends, in the box's unit.
    void everyParameterControlHasATipWithItsBarsEnds()
    {
        UseEnglish(true);
        MainWindow window;
        const auto check = [&](const QString& bar, const QString& box, int divisor) {
            auto* scroll = In<QScrollBar>(window, bar);
            const QString ends = QStringLiteral("Bar: %1 to %2")
                                     .arg(widgets::ValueText(double(scroll->minimum()) / divisor),
                                          widgets::ValueText(double(scroll->maximum()) / divisor));
            QVERIFY2(scroll->toolTip().contains(ends), qPrintable(bar + scroll->toolTip()));
            QCOMPARE(In<QLineEdit>(window, box)->toolTip(), scroll->toolTip());
        };
        for (int i = 0; i < 4; ++i) {
            check(QStringLiteral("hsbProspect(%1)").arg(i),
                  QStringLiteral("txtProspect(%1)").arg(i), kLeafRows[std::size_t(i)].divisor);
        }
        for (int i = 0; i < 5; ++i) {
            check(QStringLiteral("hsbSailh(%1)").arg(i), QStringLiteral("txtSailh(%1)").arg(i),
                  kCanopyRows[std::size_t(i)].divisor);
        }
        for (const char* name : {"cmbSailh(0)", "cmbSailh(1)", "tipocielo(0)", "tipocielo(1)"}) {
            QVERIFY2(!In<QWidget>(window, QLatin1String(name))->toolTip().isEmpty(), name);
        }
    }

    // The guide opens in the window's language, and every link and picture of every page, in
    // both languages, leads to an embedded file (and to an anchor that page has).
    void theGuideOpensInTheWindowsLanguage()
    {
        UseEnglish(true);
        MainWindow window;
        In<QAction>(window, QStringLiteral("menu31"))->trigger();
        auto* guide = In<QTextBrowser>(window, QStringLiteral("txtGuia"));
        QCOMPARE(guide->source(), GuideWindow::StartPage(Language::English));
        QVERIFY(!guide->toPlainText().isEmpty());
    }
    // The lesson pictures shrink to the guide's width, keeping their aspect, and grow back
    // to their own size (never beyond) when the window widens.
    void theGuidesPicturesFitItsWidth()
    {
        GuideWindow guide(Language::Spanish);
        guide.resize(420, 500);
        guide.show();
        guide.browser()->setSource(QUrl(QStringLiteral("qrc:/guide/es/lecciones.html")));
        QCoreApplication::processEvents();
        const auto widths = [&] {
            std::vector<std::pair<double, double>> found;  // width, height
            for (QTextBlock b = guide.browser()->document()->begin(); b.isValid(); b = b.next()) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
                    if (f.isValid()) found.emplace_back(f.width(), f.height());
                }
            }
            return found;
        };
        const int room = guide.browser()->viewport()->width();
        QVERIFY(!widths().empty());
        for (const auto& [width, height] : widths()) {
            QVERIFY2(width > 0 && width <= room, qPrintable(QString::number(width)));
            QVERIFY(height > 0);
        }
        guide.resize(3000, 900);
        QCoreApplication::processEvents();
        for (const auto& [width, height] : widths()) QVERIFY(width > room);
    }
    void theGuidesLinksAndPicturesResolve()
    {
        const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
        int pages = 0;
        for (const char* language : {"es", "en"}) {
            QDirIterator it(QStringLiteral(":/guide/") + QLatin1String(language),
                            {QStringLiteral("*.html")});
            while (it.hasNext()) {
                const QString page = it.next();
                ++pages;
                QFile file(page);
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QString html = QString::fromUtf8(file.readAll());
                for (const auto& match : reference.globalMatch(html)) {
                    const QString target = match.captured(1);
                    if (target.startsWith(QLatin1String("http"))) continue;  // another site
                    const QUrl url = QUrl(QStringLiteral("qrc") + page).resolved(QUrl(target));
                    const QString path = QLatin1Char(':') + url.path();
                    QVERIFY2(QFile::exists(path), qPrintable(page + QStringLiteral(": ") + target));
                    if (!url.fragment().isEmpty()) {
                        QFile linked(path);
                        QVERIFY(linked.open(QIODevice::ReadOnly));
                        QVERIFY2(QString::fromUtf8(linked.readAll())
                                     .contains(QStringLiteral("id=\"%1\"").arg(url.fragment())),
                                 qPrintable(page + QStringLiteral(": ") + target));
                    }
                }
            }
            QVERIFY(QFile::exists(
                QStringLiteral(":/guide/%1/index.html").arg(QLatin1String(language))));
        }
        QVERIFY(pages >= 2);
    }
};

}  // namespace tulmera::app

QTEST_MAIN(tulmera::app::LanguageTest)
#include "language_test.moc"
