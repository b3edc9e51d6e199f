#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "app/main1.h"
#include "platform/AppInfo.h"
#include "platform/Twips.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

using platform::kHkeyLocalMachine;
using platform::kRegBinary;
using platform::kRegDword;
using platform::kRegExpandSz;
using platform::kRegSz;

const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

QRect inTwips(const QWidget* w)
{
    const QRect r = w->geometry();
    return QRect(r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15);
}

// Puts PATH back as it was when the test is over.
struct PathGuard {
    QByteArray saved = qgetenv("PATH");
    ~PathGuard() { qputenv("PATH", saved); }
};

void writeFile(const QString& path, QFileDevice::Permissions permissions)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write("#!/bin/sh\n") > 0);
    QVERIFY(file.setPermissions(permissions));
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init() { beginTest(env); }
    void cleanup();

    void getKeyValue_data();
    void getKeyValue();
    void startSysInfo_data();
    void startSysInfo();
    void closesAfterAFailedStart_data();
    void closesAfterAFailedStart();
    void openedFromTheHelpMenu();
    void controlsFromTheLayoutTable_data();
    void controlsFromTheLayoutTable();
    void textsFitTheirLabels();
    void textsReadableOnEveryWindow_data();
    void textsReadableOnEveryWindow();
    void systemRegistryFindsAToolOnPath_data();
    void systemRegistryFindsAToolOnPath();

private:
    std::unique_ptr<TestEnvironment> env;
};

void TestAbout::cleanup()
{
    finishTest(env);
}

void TestAbout::getKeyValue_data()
{
    QTest::addColumn<QByteArray>("storedAs"); // value name; empty: the key does not exist
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("keyVal"); // it held "earlier" before

    const QByteArray path("C:\\Tools\\info.exe");
    const QString text = QString::fromLatin1(path);
    QTest::newRow("text with its NUL")
        << QByteArray("PATH") << kRegSz << path + '\0' << true << text;
    QTest::newRow("text without its NUL") << QByteArray("PATH") << kRegSz << path << true << text;
    QTest::newRow("only one NUL dropped")
        << QByteArray("PATH") << kRegSz << QByteArray("abc\0\0", 5) << true
        << QString::fromLatin1("abc\0", 4);
    QTest::newRow("expandable text keeps the earlier")
        << QByteArray("PATH") << kRegExpandSz << QByteArray("%SystemRoot%\\x.exe\0", 19) << true
        << "earlier";
    QTest::newRow("binary keeps the earlier")
        << QByteArray("PATH") << kRegBinary << QByteArray("\x01\x02", 2) << true << "earlier";
    QTest::newRow("number") << QByteArray("PATH") << kRegDword << QByteArray("\xCD\xAB\0\0", 4)
                            << true << "&hABCD";
    QTest::newRow("number, all bits") << QByteArray("PATH") << kRegDword
                                      << QByteArray("\xFF\xFF\xFF\xFF", 4) << true << "&hFFFFFFFF";
    QTest::newRow("size 0") << QByteArray("PATH") << kRegSz << QByteArray() << false << "";
    QTest::newRow("1024 bytes") << QByteArray("PATH") << kRegSz << QByteArray(1024, 'x') << true
                                << QString(1024, QLatin1Char('x'));
    QTest::newRow("1025 bytes") << QByteArray("PATH") << kRegSz << QByteArray(1025, 'x') << false
                                << "";
    QTest::newRow("no such value") << QByteArray("OTHER") << kRegSz << path << false << "";
    QTest::newRow("no such key") << QByteArray() << kRegSz << path << false << "";
}

void TestAbout::getKeyValue()
{
    QFETCH(QByteArray, storedAs);
    QFETCH(quint32, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, result);
    QFETCH(QString, keyVal);
    if (!storedAs.isEmpty())
        env->registry.setValue(kHkeyLocalMachine, sysinfo::kToolKey, storedAs, {type, data});

    QString value = QStringLiteral("earlier");
    QCOMPARE(
        sysinfo::getKeyValue(env->registry, kHkeyLocalMachine, sysinfo::kToolKey, "PATH", value),
        result);
    QCOMPARE(value, keyVal);
    QCOMPARE(env->registry.openKeys(), 0);
    QCOMPARE(env->registry.accessMasks, QList<quint32>{0x2003F});

    // The form's own method reads the same, through the installed registry.
    frmAbout about;
    value = QStringLiteral("earlier");
    QCOMPARE(about.GetKeyValue(kHkeyLocalMachine, QString::fromLatin1(sysinfo::kToolKey),
                               QStringLiteral("PATH"), value),
             result);
    QCOMPARE(value, keyVal);
    QCOMPARE(env->registry.openKeys(), 0);
}

void TestAbout::startSysInfo_data()
{
    QTest::addColumn<quint32>("toolType");
    QTest::addColumn<QByteArray>("toolPath"); // null: no such value
    QTest::addColumn<bool>("folderKnown");
    QTest::addColumn<QString>("fileThere"); // "file", "folder" or nothing at folder\MSINFO32.EXE
    QTest::addColumn<bool>("startFails");
    QTest::addColumn<QStringList>("started"); // "FILE": folder + "\MSINFO32.EXE"
    QTest::addColumn<int>("keysOpened");

    const QByteArray none;
    const QStringList nothing;
    QTest::newRow("tool path") << kRegSz << QByteArray("/opt/info/tool\0", 15) << true << "file"
                               << false << QStringList{"/opt/info/tool"} << 1;
    QTest::newRow("folder with the file")
        << kRegSz << none << true << "file" << false << QStringList{"FILE"} << 2;
    QTest::newRow("folder without the file")
        << kRegSz << none << true << "" << false << nothing << 2;
    QTest::newRow("folder with a folder of that name")
        << kRegSz << none << true << "folder" << false << nothing << 2;
    QTest::newRow("neither") << kRegSz << none << false << "" << false << nothing << 2;
    QTest::newRow("tool path of a missing file")
        << kRegSz << QByteArray("/nowhere/tool") << true << "file" << true
        << QStringList{"/nowhere/tool"} << 1;
    QTest::newRow("tool path of size 0")
        << kRegSz << QByteArray("") << true << "file" << false << nothing << 1;
    QTest::newRow("tool path as expandable text")
        << kRegExpandSz << QByteArray("%ProgramFiles%\\info.exe\0", 24) << true << "file" << false
        << QStringList{""} << 1;
}

void TestAbout::startSysInfo()
{
    QFETCH(quint32, toolType);
    QFETCH(QByteArray, toolPath);
    QFETCH(bool, folderKnown);
    QFETCH(QString, fileThere);
    QFETCH(bool, startFails);
    QFETCH(QStringList, started);
    QFETCH(int, keysOpened);
    // Where the folder value points, the file's name is joined with a backslash, so on this
    // system the "file in the folder" is a file beside it whose name holds the backslash.
    const QString folder = env->path(QStringLiteral("tools"));
    const QString file = folder + QStringLiteral("\\MSINFO32.EXE");
    if (fileThere == QLatin1String("file"))
        env->write(QStringLiteral("tools\\MSINFO32.EXE"), "MZ");
    if (fileThere == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(file));
    if (!toolPath.isNull())
        env->registry.setValue(kHkeyLocalMachine, sysinfo::kToolKey, "PATH", {toolType, toolPath});
    if (folderKnown)
        env->registry.setValue(kHkeyLocalMachine, sysinfo::kFolderKey, "MSINFO",
                               {kRegSz, folder.toLocal8Bit() + '\0'});
    env->programs.failing = startFails;
    started.replaceInStrings(QStringLiteral("FILE"), file);
    const bool fails = started.isEmpty() || startFails || started.first().isEmpty();
    if (fails)
        env->boxes.answer(platform::Answer::Ok);

    frmAbout about;
    about.show();
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);

    QCOMPARE(env->programs.started, started);
    const QList<QByteArray> keys{sysinfo::kToolKey, sysinfo::kFolderKey};
    QCOMPARE(env->registry.opened, keys.first(keysOpened));
    QCOMPARE(env->registry.openKeys(), 0);
    const platform::MessageBox failure{kUnavailable, QStringLiteral("Lexamo"),
                                       platform::Buttons::Ok, platform::Icon::None,
                                       platform::Answer::Ok};
    QCOMPARE(env->boxes.shown, fails ? QList{failure} : QList<platform::MessageBox>{});
    QVERIFY(about.isVisible());
}

void TestAbout::closesAfterAFailedStart_data()
{
    QTest::addColumn<int>("key"); // 0: a click on OK
    QTest::newRow("OK") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TestAbout::closesAfterAFailedStart()
{
    QFETCH(int, key);
    env->boxes.answer(platform::Answer::Ok);
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QCOMPARE(env->boxes.shown.size(), 1);
    QVERIFY(about.isVisible());

    if (key == 0)
        QTest::mouseClick(about.cmdOk, Qt::LeftButton);
    else
        QTest::keyClick(about.focusWidget(), Qt::Key(key));
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted)); // Esc too presses OK
    QCOMPARE(env->programs.started, QStringList());
}

void TestAbout::openedFromTheHelpMenu()
{
    main1::Main();
    frmMain* w = main1::mainwindow;
    QVERIFY(QTest::qWaitForWindowActive(w)); // and maximized, for the box to centre over
    struct Seen {
        bool aboutBox = false;
        QString caption, title, version, description, disclaimer;
        Qt::WindowModality modality = Qt::NonModal;
        bool ownedByMain = false, active = false, focusOnOk = false, centred = false;
        bool fixedDialog = false;
    } seen;
    QTimer::singleShot(0, w, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* about = qobject_cast<frmAbout*>(modal);
        if (!about) {
            if (modal)
                modal->close();
            return;
        }
        seen.aboutBox = true;
        // A window manager activates a new window; the offscreen platform leaves that to us.
        about->activateWindow();
        seen.active = QTest::qWaitFor([about] { return about->isActiveWindow(); });
        seen.caption = about->windowTitle();
        seen.title = about->lblTitle->text();
        seen.version = about->lblVersion->text();
        seen.description = about->lblDescription->text();
        seen.disclaimer = about->lblDisclaimer->text();
        seen.modality = about->windowModality();
        seen.ownedByMain = about->parentWidget() == w;
        seen.focusOnOk = QApplication::focusWidget() == about->cmdOk;
        seen.centred =
            (about->frameGeometry().center() - w->frameGeometry().center()).manhattanLength() <= 2;
        const Qt::WindowFlags flags = about->windowFlags();
        seen.fixedDialog =
            (flags & Qt::WindowType_Mask) == Qt::Dialog && !(flags & Qt::WindowMinMaxButtonsHint) &&
            about->minimumSize() == about->maximumSize() && about->size() == QSize(377, 242);
        QTest::keyClick(about->cmdOk, Qt::Key_Return);
    });
    QVERIFY(trigger(w, "mnuHelpAbout"));

    QVERIFY(seen.aboutBox);
    QVERIFY(seen.active);
    QCOMPARE(seen.caption, QStringLiteral("About Lexamo"));
    QCOMPARE(seen.title, QStringLiteral("Lexamo"));
    QCOMPARE(seen.version, QStringLiteral("Version 1.0.0"));
    QVERIFY(seen.description.startsWith(
        QStringLiteral("This software is for those student who are appearing for ZEP test. "
                       "This software consists of only verbal test at present. ")));
    QVERIFY(seen.description.contains(appinfo::contactAddress()));
    QVERIFY(seen.disclaimer.startsWith(QStringLiteral("Warning: ")));
    QCOMPARE(seen.disclaimer, appinfo::licenceNotice());
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    QVERIFY(seen.ownedByMain);
    QVERIFY(seen.focusOnOk);
    QVERIFY(seen.centred);
    QVERIFY(seen.fixedDialog);
    QVERIFY(w->findChildren<frmAbout*>().isEmpty()); // unloaded once closed
}

void TestAbout::controlsFromTheLayoutTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("place"); // twips, to the pixel
    // clang-format off
    QTest::newRow("cmdOk") << "cmdOk" << "OK" << QRect(4245, 2625, 1260, 345);
    QTest::newRow("cmdSysInfo") << "cmdSysInfo" << "&System Info..." << QRect(4260, 3075, 1245, 345);
    QTest::newRow("picIcon") << "picIcon" << "" << QRect(240, 240, 540, 540);
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << "" << QRect(255, 2625, 3870, 585);
    QTest::newRow("lblVersion") << "lblVersion" << "" << QRect(1080, 720, 3885, 225);
    QTest::newRow("lblTitle") << "lblTitle" << "" << QRect(1080, 120, 3885, 480);
    QTest::newRow("lblDescription") << "lblDescription" << "" << QRect(1050, 1080, 3885, 1290);
    // From (225, 2430) and (240, 2445) to 5450, 1 and 2 pixels thick.
    QTest::newRow("Line1_1") << "Line1_1" << "" << QRect(225, 2430, 5235, 15);
    QTest::newRow("Line1_0") << "Line1_0" << "" << QRect(240, 2445, 5220, 30);
    // clang-format on
}

void TestAbout::controlsFromTheLayoutTable()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, place);
    frmAbout about;
    auto* control = about.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(inTwips(control), place);
    if (auto* button = qobject_cast<QPushButton*>(control))
        QCOMPARE(button->text(), caption);
    if (control == about.cmdOk)
        QCOMPARE(about.cmdOk->nextInFocusChain(), about.cmdSysInfo);
    if (control == about.picIcon)
        QVERIFY(!about.picIcon->pixmap().isNull());
}

void TestAbout::textsFitTheirLabels()
{
    frmAbout about;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue; // the icon
        // A label has room for the lines whose glyphs end inside it, and always for one.
        const QFontMetrics metrics(label->font());
        const int room = qMax(1, (label->height() + metrics.leading() + 1) / metrics.lineSpacing());
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, label->contentsRect().width(), 10000),
                                 Qt::TextWordWrap | label->alignment(), label->text());
        const int lines =
            qRound(double(needed.height() + metrics.leading()) / metrics.lineSpacing());
        QVERIFY2(lines <= room, qPrintable(QStringLiteral("%1 needs %2 lines, has room for %3")
                                               .arg(label->objectName())
                                               .arg(lines)
                                               .arg(room)));
    }
}

void TestAbout::textsReadableOnEveryWindow_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<bool>("application"); // the palette of the whole program, else the box's
    QTest::addColumn<QColor>("expected");
    const QColor dark(0x2b, 0x2b, 0x2b);
    const QColor light(0xf4, 0xf4, 0xf4);
    const QColor pale(0xe8, 0xe8, 0xe8);
    const QColor grey(0x40, 0x40, 0x40);
    QTest::newRow("light window") << light << grey << false << QColor(Qt::black);
    QTest::newRow("dark window") << dark << pale << false << pale;
    QTest::newRow("dark program") << dark << pale << true << pale;
}

void TestAbout::textsReadableOnEveryWindow()
{
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QFETCH(bool, application);
    QFETCH(QColor, expected);
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    const QPalette before = QApplication::palette();
    if (application)
        QApplication::setPalette(palette);
    {
        frmAbout about;
        if (!application)
            about.setPalette(palette);
        for (const QLabel* label :
             {about.lblDescription, about.lblTitle, about.lblVersion, about.lblDisclaimer})
            QCOMPARE(label->palette().color(label->foregroundRole()), expected);
    }
    QApplication::setPalette(before);
}

void TestAbout::systemRegistryFindsAToolOnPath_data()
{
    QTest::addColumn<QStringList>("executables");
    QTest::addColumn<QStringList>("otherFiles"); // not executable
    QTest::addColumn<QString>("found");
    QTest::newRow("hardinfo") << QStringList{"hardinfo"} << QStringList() << "hardinfo";
    QTest::newRow("preferred first")
        << QStringList{"kinfocenter", "hardinfo"} << QStringList() << "hardinfo";
    QTest::newRow("not executable") << QStringList() << QStringList{"hardinfo"} << "";
    QTest::newRow("none") << QStringList() << QStringList() << "";
}

void TestAbout::systemRegistryFindsAToolOnPath()
{
#ifdef Q_OS_WIN
    QSKIP("The system registry is the machine's own here");
#endif
    QFETCH(QStringList, executables);
    QFETCH(QStringList, otherFiles);
    QFETCH(QString, found);
    PathGuard guard;
    const QString bin = env->path(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const auto runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther;
    for (const QString& name : executables)
        writeFile(bin + QLatin1Char('/') + name, runnable);
    for (const QString& name : otherFiles)
        writeFile(bin + QLatin1Char('/') + name, QFile::ReadOwner | QFile::WriteOwner);
    qputenv("PATH", bin.toLocal8Bit());
    const QString path = found.isEmpty() ? QString() : bin + QLatin1Char('/') + found;

    platform::SystemRegistry registry;
    QString value = QStringLiteral("earlier");
    QCOMPARE(sysinfo::getKeyValue(registry, kHkeyLocalMachine, sysinfo::kToolKey, "PATH", value),
             !found.isEmpty());
    QCOMPARE(value, path);
    QVERIFY(!sysinfo::getKeyValue(registry, kHkeyLocalMachine, sysinfo::kFolderKey,
                                  sysinfo::kFolderValue, value));
    QCOMPARE(sysinfo::startSysInfo(registry, env->programs), !found.isEmpty());
    QCOMPARE(env->programs.started, found.isEmpty() ? QStringList() : QStringList{path});

    if (found.isEmpty())
        return;
    // A buffer too small is told the size the path needs, with its NUL.
    platform::RegistryKey key = 0;
    QCOMPARE(registry.openKey(kHkeyLocalMachine, sysinfo::kToolKey, 0, sysinfo::kKeyAccess, &key),
             platform::kErrorSuccess);
    unsigned char small[4] = {};
    quint32 size = sizeof small;
    quint32 type = 0;
    QCOMPARE(registry.queryValue(key, "PATH", &type, small, &size), platform::kErrorMoreData);
    QCOMPARE(size, quint32(path.toLocal8Bit().size() + 1));
    registry.closeKey(key);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
