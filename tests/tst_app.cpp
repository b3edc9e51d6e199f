#include "app/Placement.h"
#include "app/frmMain.h"
#include "app/frmSplash.h"
#include "app/main1.h"
#include "platform/MessageBoxes.h"
#include "platform/Twips.h"
#include "support/MainControls.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kApp = QStringLiteral("Lexamo");
const QString kSection = QStringLiteral("Settings");

QRect inTwips(const QWidget* w)
{
    const QRect r = w->geometry();
    return QRect(r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15);
}

} // namespace

class TestApp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init() { beginTest(env); }
    void cleanup();

    void startUpInAnEmptyFolder();
    void startUpKeepsAnOptionsFileWithContent_data();
    void startUpKeepsAnOptionsFileWithContent();
    void menusInOrder();
    void controlsFromTheLayoutTable_data();
    void controlsFromTheLayoutTable();
    void placementRoundTrip();
    void normalWindowKeepsItsOuterSizeOverRuns();
    void closingMinimizedWritesNothing();
    void exitThatMovedNothingWritesNothing();
    void unusablePlacementValues_data();
    void unusablePlacementValues();
    void settingsThatAreNoPlainFileNeverWait_data();
    void settingsThatAreNoPlainFileNeverWait();
    void exitUnloadsOtherWindowsNewestFirst();
    void boxesGoOverTheMainWindowWhenLexamoIsNotInFront();
    void splashTexts();
    void layoutFontsMapToInstalledFonts_data();
    void layoutFontsMapToInstalledFonts();

private:
    frmMain* start();
    // The normal placement the load step gives a main window, before it is shown maximized.
    QRect loadedPlacement()
    {
        frmMain w;
        w.Form_Load();
        return w.geometry();
    }
    void closeMain();
    QString stored(const char* key)
    {
        return env->settings.read(kApp, kSection, QString::fromLatin1(key), {});
    }
    void store(const char* key, const QString& value)
    {
        env->settings.write(kApp, kSection, QString::fromLatin1(key), value);
    }

    std::unique_ptr<TestEnvironment> env;
};

frmMain* TestApp::start()
{
    main1::Main();
    return main1::mainwindow;
}

void TestApp::closeMain()
{
    if (main1::mainwindow)
        main1::mainwindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestApp::cleanup()
{
    finishTest(env);
}

void TestApp::startUpInAnEmptyFolder()
{
    frmMain* w = start();
    QVERIFY(w->isVisible());
    QVERIFY(w->isMaximized());
    QCOMPARE(w->windowTitle(), QStringLiteral("Lexamo"));
    QCOMPARE(env->read(QStringLiteral("options")), QByteArray("\x31\x35\x0D\x0A\x31\x35\x0D\x0A"));
    QCOMPARE(on(w).Timer1->interval(), 1000);
    QVERIFY(on(w).Timer1->isActive());
    for (QWidget* control : w->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!control->isVisible(), qPrintable(control->objectName()));
    QVERIFY(!findAction(w, "mnuFileTestquit")->isEnabled());
    for (const char* name : {"mnuFileVer", "mnuFileExit", "mnuOptions", "mnuAdd", "mnuProgress",
                             "mnuImport", "mnuExport", "mnuHelpContents", "mnuHelpAbout"})
        QVERIFY2(findAction(w, name)->isEnabled(), name);
    for (QMenu* menu : {on(w).mnuFile, on(w).mnuTools, on(w).mnuHelp})
        QVERIFY(menu->menuAction()->isEnabled());
    QVERIFY(!on(w).txtreview->isEnabled());
    QVERIFY(on(w).cmdHelp->isEnabled());
    QVERIFY(!on(w).cmdendreview->isEnabled());
}

void TestApp::startUpKeepsAnOptionsFileWithContent_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("halves") << QByteArray("2.5\r\n3.5\r\n");
    QTest::newRow("Unix line ends") << QByteArray("20\n30\n");
}

void TestApp::startUpKeepsAnOptionsFileWithContent()
{
    QFETCH(QByteArray, file);
    env->write(QStringLiteral("options"), file);
    QVERIFY(start());
    QCOMPARE(env->read(QStringLiteral("options")), file);
}

void TestApp::menusInOrder()
{
    frmMain* w = start();
    QStringList seen;
    for (QAction* top : w->menuBar()->actions()) {
        seen << top->menu()->objectName() + QLatin1Char('=') + top->text();
        for (QAction* item : top->menu()->actions()) {
            seen << item->objectName() + QLatin1Char('=') +
                        (item->isSeparator() ? QStringLiteral("-") : item->text()) +
                        QLatin1Char(' ') + item->shortcut().toString();
        }
    }
    const QStringList expected{
        QStringLiteral("mnuFile=&File"),
        QStringLiteral("mnuFileVer=&Verbal Test Ctrl+V"),
        QStringLiteral("mnuFilePractice=&Practice Test Ctrl+P"),
        QStringLiteral("mnuFileTestquit=&Test Qiut Ctrl+T"),
        QStringLiteral("mnuFileBar1=- "),
        QStringLiteral("mnuFileExit=E&xit Ctrl+X"),
        QStringLiteral("mnuTools=&Tools"),
        QStringLiteral("mnuOptions=&Options Ctrl+O"),
        QStringLiteral("mnuAdd=&Add Ctrl+A"),
        QStringLiteral("mnuProgress=&Progress... Ctrl+R"),
        QStringLiteral("mnuImport=&Import Questions... "),
        QStringLiteral("mnuExport=&Export Questions... "),
        QStringLiteral("mnuHelp=&Help"),
        QStringLiteral("mnuHelpContents=&Contents "),
        QStringLiteral("mnuHelpBar1=- "),
        QStringLiteral("mnuHelpAbout=&About TestZEP... "),
    };
    QCOMPARE(seen, expected);
}

void TestApp::controlsFromTheLayoutTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("place"); // twips, to the pixel
    QTest::newRow("txtreview") << "txtreview"
                               << "" << QRect(240, 480, 9015, 5175);
    QTest::newRow("cmdnext") << "cmdnext"
                             << "&Next" << QRect(8160, 5520, 1215, 615);
    QTest::newRow("cmdanswer") << "cmdanswer"
                               << "&Answer Confirm" << QRect(6720, 5520, 1215, 615);
    QTest::newRow("lblsectionname") << "lblsectionname"
                                    << "Section Type" << QRect(3480, 0, 2175, 375);
    QTest::newRow("lblquestionhead") << "lblquestionhead"
                                     << "Question             No." << QRect(240, 600, 1095, 615);
    QTest::newRow("opte") << "opte"
                          << "e" << QRect(1320, 4320, 6375, 375);
    QTest::newRow("cmdquit") << "cmdquit"
                             << "&Test  Quit" << QRect(120, 5640, 1215, 495);
    QTest::newRow("cmdHelp") << "cmdHelp"
                             << "&Help" << QRect(1560, 5640, 1215, 495);
    QTest::newRow("cmdtime") << "cmdtime"
                             << "Time" << QRect(3000, 5640, 1215, 495);
    QTest::newRow("lbltime") << "lbltime"
                             << "" << QRect(6360, 0, 3015, 375);
    QTest::newRow("cmdendreview") << "cmdendreview"
                                  << "End Review" << QRect(4155, 5880, 1335, 495);
}

void TestApp::controlsFromTheLayoutTable()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, place);
    frmMain* w = start();
    auto* control = w->findChild<QWidget*>(name);
    QVERIFY(control);
    QRect shown = inTwips(control);
    // A choice reaches as far right as the window does; the design gives its least width.
    if (qobject_cast<QRadioButton*>(control) && shown.width() > place.width()) {
        QCOMPARE(shown.right(), inTwips(w->centralWidget()).width() - 1 - 120);
        shown.setWidth(place.width());
    }
    QCOMPARE(shown, place);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        QCOMPARE(button->text(), caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        QCOMPARE(label->text(), caption);
}

void TestApp::placementRoundTrip()
{
    QCOMPARE(loadedPlacement(), QRect(67, 67, 433, 433)); // 1000 and 6500 twips
    // Closed at once, before the window system has framed and maximized it, the window keeps
    // the placement it was given, run after run (its least size makes it larger than 433).
    for (int run = 1; run <= 2; ++run) {
        const QSize fitted = start()->size();
        closeMain();
        QCOMPARE(stored("MainLeft"), QStringLiteral("1005"));
        QCOMPARE(stored("MainWidth"), QString::number(fitted.width() * 15));
        QCOMPARE(stored("MainHeight"), QString::number(fitted.height() * 15));
    }
    frmMain* w = start();
    QVERIFY(w->isMaximized());
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_COMPARE(w->frameGeometry(), QGuiApplication::primaryScreen()->availableGeometry());
    const QRect maximized = w->frameGeometry();
    closeMain();
    QCOMPARE(stored("MainLeft"), QString::number(maximized.left() * 15));
    QCOMPARE(stored("MainTop"), QString::number(maximized.top() * 15));
    QCOMPARE(stored("MainWidth"), QString::number(maximized.width() * 15));
    QCOMPARE(stored("MainHeight"), QString::number(maximized.height() * 15));

    store("MainLeft", QStringLiteral("1500"));
    store("MainTop", QStringLiteral("3000"));
    store("MainWidth", QStringLiteral("4500"));
    store("MainHeight", QStringLiteral("6000"));
    QCOMPARE(loadedPlacement(), QRect(100, 200, 300, 400));
}

void TestApp::normalWindowKeepsItsOuterSizeOverRuns()
{
    // The stored size is the outer one, frame included. The window system draws the frame once
    // the window is on screen, so the window placed at load learns it then.
    store("MainLeft", QStringLiteral("1500"));
    store("MainTop", QStringLiteral("3000"));
    store("MainWidth", QStringLiteral("10500"));
    store("MainHeight", QStringLiteral("9000"));
    const QRect outer(100, 200, 700, 600);
    for (int run = 1; run <= 3; ++run) {
        // Shown in its normal state, as a window manager that does not maximize it shows it.
        {
            frmMain w;
            w.Form_Load();
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            if (w.frameGeometry() == w.geometry())
                QSKIP("windows have no frame on this display");
            QCOMPARE(w.frameGeometry(), outer);
            w.close();
        }
        QCOMPARE(stored("MainWidth"), QStringLiteral("10500"));
        QCOMPARE(stored("MainHeight"), QStringLiteral("9000"));
        QCOMPARE(stored("MainLeft"), QStringLiteral("1500"));
    }
    // Shown maximized and then restored to its normal state.
    frmMain* w = start();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->showNormal();
    QCOMPARE(w->frameGeometry(), outer);
}

void TestApp::closingMinimizedWritesNothing()
{
    store("MainLeft", QStringLiteral("1234"));
    frmMain* w = start();
    w->setWindowState(Qt::WindowMinimized);
    closeMain();
    QCOMPARE(stored("MainLeft"), QStringLiteral("1234"));
    QCOMPARE(stored("MainWidth"), QString());
}

// Settings that hold the values already are not written again: an exit that moved nothing
// takes no lock and replaces no file.
void TestApp::exitThatMovedNothingWritesNothing()
{
    const QString ini = env->path(QStringLiteral(".settings/Lexamo/Lexamo.ini"));
    const auto inode = [&ini] {
        struct stat info {};
        return ::stat(QFile::encodeName(ini).constData(), &info) == 0 ? qint64(info.st_ino) : -1;
    };
    const platform::SettingsStore::Values placement{{"MainLeft", "1995"}, {"MainTop", "300"}};
    env->settings.writeSection(kApp, kSection, placement);
    const qint64 first = inode();
    QVERIFY(first >= 0);
    env->settings.writeSection(kApp, kSection, placement);
    QCOMPARE(inode(), first);
    env->settings.writeSection(kApp, kSection, {{"MainLeft", "1995"}, {"MainTop", "315"}});
    QVERIFY(inode() != first);
    QCOMPARE(stored("MainTop"), QStringLiteral("315"));
}

void TestApp::unusablePlacementValues_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QRect>("normal");
    QTest::newRow("not a number") << "abc"
                                  << "wide" << QRect(67, 67, 433, 433);
    QTest::newRow("negative width") << "1500"
                                    << "-30" << QRect(100, 67, 433, 433);
    QTest::newRow("off every screen") << "-900000"
                                      << "4500" << QRect(0, 0, 300, 433);
}

void TestApp::unusablePlacementValues()
{
    QFETCH(QString, left);
    QFETCH(QString, width);
    QFETCH(QRect, normal);
    store("MainLeft", left);
    store("MainWidth", width);
    QCOMPARE(loadedPlacement(), normal);
}

void TestApp::settingsThatAreNoPlainFileNeverWait_data()
{
    QTest::addColumn<QString>("name"); // in the settings folder
    QTest::addColumn<bool>("fifo");    // else a folder
    QTest::addColumn<QString>("told");
    QTest::newRow("settings a pipe")
        << "Lexamo.ini" << true << "not read from \"%1/Lexamo.ini\": it is a pipe (FIFO)";
    QTest::newRow("lock a folder") << "Lexamo.ini.lock" << false
                                   << "not saved to \"%1/Lexamo.ini\": its lock file "
                                      "\"%1/Lexamo.ini.lock\": it is a folder";
    QTest::newRow("lock a pipe") << "Lexamo.ini.lock" << true
                                 << "not saved to \"%1/Lexamo.ini\": its lock file "
                                    "\"%1/Lexamo.ini.lock\": it is a pipe (FIFO)";
}

void TestApp::settingsThatAreNoPlainFileNeverWait()
{
    QFETCH(QString, name);
    QFETCH(bool, fifo);
    QFETCH(QString, told);
    const QString folder = env->path(QStringLiteral(".settings/Lexamo"));
    QVERIFY(QDir().mkpath(folder));
    const QString odd = folder + u'/' + name;
    QVERIFY(fifo ? mkfifo(QFile::encodeName(odd).constData(), 0600) == 0 : QDir().mkdir(odd));
    // What Lexamo says on standard error, kept in a file meanwhile.
    QTemporaryFile said;
    QVERIFY(said.open());
    const int stderrBefore = dup(STDERR_FILENO);
    dup2(said.handle(), STDERR_FILENO);
    const QRect normal = loadedPlacement();
    start();
    closeMain();
    dup2(stderrBefore, STDERR_FILENO);
    ::close(stderrBefore);
    if (name == QStringLiteral("Lexamo.ini"))
        QCOMPARE(normal, QRect(67, 67, 433, 433)); // the default placement
    QFile saidAgain(said.fileName());
    QVERIFY(saidAgain.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromLocal8Bit(saidAgain.readAll()).split(u'\n', Qt::SkipEmptyParts);
    // At most one line for reading and one for saving, and the reason among them.
    QVERIFY2(lines.size() <= 2, qPrintable(lines.join(u'\n')));
    for (const QString& line : lines)
        QVERIFY2(line.startsWith(QStringLiteral("lexamo: the settings are ")), qPrintable(line));
    QCOMPARE(lines.filter(told.arg(folder)).size(), 1);
    QCOMPARE(QFileInfo(odd).isDir(), !fifo); // left as it was
    QVERIFY(!QFileInfo(odd).isFile());
}

// A box raised while another program is in front (a test's time ran out) goes over the main
// window, not into the middle of the screen; a modal dialog open takes it over itself.
void TestApp::boxesGoOverTheMainWindowWhenLexamoIsNotInFront()
{
    frmMain* w = start();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(nullptr);
    QVERIFY(!QApplication::activeWindow());
    QCOMPARE(platform::boxOwner(), w);
}

void TestApp::exitUnloadsOtherWindowsNewestFirst()
{
    frmMain* w = start();
    QStringList closed;
    for (const char* name : {"older", "newer"}) {
        auto* other = new QWidget;
        other->setObjectName(QString::fromLatin1(name));
        other->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(other, &QObject::destroyed, other,
                         [&closed, name] { closed << QString::fromLatin1(name); });
        main1::trackWindow(other);
        other->show();
    }
    QVERIFY(trigger(w, "mnuFileExit"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(closed, QStringList({QStringLiteral("newer"), QStringLiteral("older")}));
    QVERIFY(!main1::mainwindow);
    QVERIFY(!stored("MainLeft").isEmpty());
}

void TestApp::splashTexts()
{
    frmSplash splash;
    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.0.0"));
    QCOMPARE(splash.lblProductName->text(), QStringLiteral("Lexamo"));
    QCOMPARE(splash.lblPlatform->text(), QStringLiteral("Linux"));
    QVERIFY(splash.lblWarning->text().startsWith(QStringLiteral("Warning: ")));
    QVERIFY(splash.lblWarning->text().contains(QStringLiteral("MIT")));
    QVERIFY(splash.windowFlags() & Qt::SplashScreen);
}

void TestApp::layoutFontsMapToInstalledFonts_data()
{
    QTest::addColumn<QString>("layoutFont");
    QTest::addColumn<QString>("installed");
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans";
    QTest::newRow("MS Sans Serif") << "MS Sans Serif"
                                   << "Liberation Sans";
    QTest::newRow("System") << "System"
                            << "Liberation Sans";
    QTest::newRow("Book Antiqua") << "Book Antiqua"
                                  << "P052";
}

void TestApp::layoutFontsMapToInstalledFonts()
{
    QFETCH(QString, layoutFont);
    QFETCH(QString, installed);
    // The family may carry a foundry in brackets, as "P052 [UKWN]".
    const QString family = QFontInfo(twips::font(layoutFont, 10)).family();
    QVERIFY2(family.startsWith(installed), qPrintable(family));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
