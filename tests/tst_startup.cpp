// Lexamo's start before the windows: the command line, the display check, the user's own
// folder and the program's icon.
#include "app/CommandLine.h"
#include "app/Launch.h"
#include "app/UserFolder.h"
#include "platform/Forms.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using startup::Action;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Points XDG_DATA_HOME somewhere while it lives.
class DataHome {
public:
    explicit DataHome(const QString& path) : before_(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", path.toLocal8Bit());
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", before_); }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

private:
    QByteArray before_;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Lexamo")); }
    void init();

    void parseArguments_data();
    void parseArguments();
    void helpAndVersionFollowTheUsualForm();
    void missingDisplay_data();
    void missingDisplay();
    void unreachableDisplayNamesIt();

    void locationFollowsXdgDataHome();
    void sampleFoldersLieBesideTheProgram();
    void prepareCopiesOnlyWhatIsMissing();
    void prepareReportsWhatFails_data();
    void prepareReportsWhatFails();
    void failedCopyLeavesNoFileBehind();
    void enterUserFolderFromTheBuild();
    void enterUserFolderTellsWhyItCannot();

    void programIconIsDrawn();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString samples;
    QString folder;
};

void TestStartup::init()
{
    dir = std::make_unique<QTemporaryDir>();
    samples = dir->filePath(QStringLiteral("samples"));
    folder = dir->filePath(QStringLiteral("home/Lexamo"));
    QVERIFY(QDir().mkpath(samples));
    for (const QString& name : userfolder::sampleFiles())
        writeFile(samples + QLatin1Char('/') + name, "sample " + name.toUtf8());
}

void TestStartup::parseArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("userFolder");
    QTest::addColumn<bool>("platformGiven");
    QTest::addColumn<QString>("problem");

    const QString hint = QStringLiteral("; try \"lexamo --help\"");
    QTest::newRow("none") << QStringList{} << Action::Run << false << false << "";
    QTest::newRow("user folder") << QStringList{"--user-folder"} << Action::Run << true << false
                                 << "";
    QTest::newRow("help") << QStringList{"--help"} << Action::Help << false << false << "";
    QTest::newRow("-h") << QStringList{"-h"} << Action::Help << false << false << "";
    QTest::newRow("version") << QStringList{"--version"} << Action::Version << false << false << "";
    QTest::newRow("first wins") << QStringList{"--version", "--help"} << Action::Version << false
                                << false << "";
    QTest::newRow("Qt's options pass")
        << QStringList{"-platform", "offscreen", "--style", "fusion", "-reverse", "--user-folder"}
        << Action::Run << true << true << "";
    QTest::newRow("platform's value is not an option")
        << QStringList{"-platform", "--help"} << Action::Run << false << true << "";
    QTest::newRow("unknown option")
        << QStringList{"--user-folder", "--colour"} << Action::WrongUsage << true << false
        << "lexamo: unknown option \"--colour\"" + hint;
    QTest::newRow("unknown before help")
        << QStringList{"-x", "--help"} << Action::WrongUsage << false << false
        << "lexamo: unknown option \"-x\"" + hint;
    QTest::newRow("option with a value attached")
        << QStringList{"--user-folder=/tmp"} << Action::WrongUsage << false << false
        << "lexamo: unknown option \"--user-folder=/tmp\"" + hint;
    QTest::newRow("a file") << QStringList{"verbal.zep"} << Action::WrongUsage << false << false
                            << "lexamo: unexpected argument \"verbal.zep\"" + hint;
    QTest::newRow("a lone dash") << QStringList{"-"} << Action::WrongUsage << false << false
                                 << "lexamo: unknown option \"-\"" + hint;
    QTest::newRow("Qt's option without its value")
        << QStringList{"-style"} << Action::WrongUsage << false << false
        << "lexamo: option \"-style\" needs a value" + hint;
}

void TestStartup::parseArguments()
{
    QFETCH(QStringList, arguments);
    const startup::Request request = startup::parseArguments(arguments);
    QTEST(request.action, "action");
    QTEST(request.userFolder, "userFolder");
    QTEST(request.platformGiven, "platformGiven");
    QTEST(request.problem, "problem");
    QVERIFY(!request.problem.contains(QLatin1Char('\n')));
}

void TestStartup::helpAndVersionFollowTheUsualForm()
{
    const QString help = startup::helpText();
    QVERIFY(help.startsWith(QLatin1String("Usage: lexamo [OPTION]...\n")));
    for (const char* option : {"--user-folder", "--help", "--version"})
        QVERIFY2(help.contains(QLatin1String(option)), option);
    QVERIFY(help.contains(QLatin1String("Report bugs to: lexamo@example.org")));
    QVERIFY(help.endsWith(QLatin1Char('\n')));
    const QStringList version = startup::versionText().split(QLatin1Char('\n'));
    QCOMPARE(version.first(), QStringLiteral("lexamo 1.0.0"));
    QVERIFY(
        version.contains(QStringLiteral("License MIT: <https://opensource.org/licenses/MIT>.")));
}

void TestStartup::missingDisplay_data()
{
    QTest::addColumn<bool>("platformGiven");
    QTest::addColumn<QByteArray>("qpaPlatform");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<bool>("missing");

    QTest::newRow("nothing") << false << QByteArray() << QByteArray() << QByteArray() << true;
    QTest::newRow("X11") << false << QByteArray() << QByteArray(":0") << QByteArray() << false;
    QTest::newRow("Wayland") << false << QByteArray() << QByteArray() << QByteArray("wayland-0")
                             << false;
    QTest::newRow("QT_QPA_PLATFORM")
        << false << QByteArray("offscreen") << QByteArray() << QByteArray() << false;
    QTest::newRow("-platform") << true << QByteArray() << QByteArray() << QByteArray() << false;
}

void TestStartup::missingDisplay()
{
    QFETCH(bool, platformGiven);
    QFETCH(QByteArray, qpaPlatform);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(bool, missing);
    const QString line =
        startup::missingDisplayMessage(platformGiven, qpaPlatform, display, wayland);
    QCOMPARE(!line.isEmpty(), missing);
    if (missing) {
        QVERIFY(line.startsWith(QLatin1String("lexamo: no display")));
        QVERIFY(line.contains(QLatin1String("xvfb-run")));
        QVERIFY(!line.contains(QLatin1Char('\n')));
    }
}

void TestStartup::unreachableDisplayNamesIt()
{
    const QString line = startup::unreachableDisplayMessage(":97", "");
    QVERIFY2(line.startsWith(QLatin1String("lexamo: cannot open the display (DISPLAY=:97)")),
             qPrintable(line));
    QVERIFY(line.contains(QLatin1String("xvfb-run")));
}

void TestStartup::locationFollowsXdgDataHome()
{
    QString withXdg, withoutXdg;
    {
        DataHome home(dir->filePath(QStringLiteral("data")));
        withXdg = userfolder::location();
        qunsetenv("XDG_DATA_HOME");
        withoutXdg = userfolder::location();
    }
    QCOMPARE(withXdg, dir->filePath(QStringLiteral("data/Lexamo")));
    QCOMPARE(withoutXdg, QDir::homePath() + QStringLiteral("/.local/share/Lexamo"));
}

void TestStartup::sampleFoldersLieBesideTheProgram()
{
    QCOMPARE(userfolder::sampleFolders(QStringLiteral("/opt/x/bin")),
             (QStringList{"/opt/x/share/lexamo", "/opt/x/sample"}));
}

void TestStartup::prepareCopiesOnlyWhatIsMissing()
{
    const QString empty = dir->filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(empty));
    // A first start makes the folder and fills it, from the first folder that holds each file.
    QCOMPARE(userfolder::prepare(folder, {empty, samples}).error(), QString());
    for (const QString& name : userfolder::sampleFiles())
        QCOMPARE(readFile(folder + QLatin1Char('/') + name), "sample " + name.toUtf8());
    QVERIFY(QFileInfo(folder + QStringLiteral("/verbal.zep")).isWritable());

    // A later start keeps what the user changed, even an empty bank, and brings back only what
    // is gone.
    writeFile(folder + QStringLiteral("/verbal.zep"), QByteArray());
    QVERIFY(QFile::remove(folder + QStringLiteral("/hlp.txt")));
    writeFile(samples + QStringLiteral("/Readme.txt"), "newer sample");
    // The sample notes come only with the sample bank, never to a bank of the user's.
    QVERIFY(QFile::remove(folder + QStringLiteral("/verbal.notes.csv")));
    QCOMPARE(userfolder::prepare(folder, {samples}).error(), QString());
    QCOMPARE(readFile(folder + QStringLiteral("/verbal.zep")), QByteArray());
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/verbal.notes.csv")));
    QCOMPARE(readFile(folder + QStringLiteral("/hlp.txt")), QByteArray("sample hlp.txt"));
    QCOMPARE(readFile(folder + QStringLiteral("/Readme.txt")), QByteArray("sample Readme.txt"));

    // With every file there, the sample folder is not needed at all.
    QCOMPARE(userfolder::prepare(folder, {}).error(), QString());
}

void TestStartup::prepareReportsWhatFails_data()
{
    QTest::addColumn<QString>("blocker"); // a file put in the way, relative to the temporary dir
    QTest::addColumn<bool>("samplesGone");
    QTest::addColumn<QString>("problem");

    QTest::newRow("folder is a file") << "home/Lexamo" << false << "it is not a folder";
    QTest::newRow("parent is a file") << "home" << false << "cannot create its folder";
    QTest::newRow("no sample files") << "" << true << "cannot find its sample file verbal.zep";
}

void TestStartup::prepareReportsWhatFails()
{
    QFETCH(QString, blocker);
    QFETCH(bool, samplesGone);
    QFETCH(QString, problem);
    if (!blocker.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(dir->filePath(blocker)).path()));
        writeFile(dir->filePath(blocker), "in the way");
    }
    if (samplesGone)
        QVERIFY(QDir(samples).removeRecursively());
    const QString message = userfolder::prepare(folder, {samples}).error();
    QVERIFY2(message.contains(problem), qPrintable(message));
    if (samplesGone)
        QVERIFY(message.contains(samples));
}

void TestStartup::failedCopyLeavesNoFileBehind()
{
    writeFile(samples + QStringLiteral("/verbal.zep"), QByteArray(100000, 'x'));
    QString message;
    {
        FileSizeLimit limit(4096);
        message = userfolder::prepare(folder, {samples}).error();
    }
    QVERIFY2(message.startsWith(QLatin1String("Lexamo cannot copy")), qPrintable(message));
    QVERIFY(message.contains(folder + QStringLiteral("/verbal.zep")));
    // Nothing half-copied stays to be taken for the user's bank at the next start.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(userfolder::prepare(folder, {samples}).error(), QString());
    QCOMPARE(QFileInfo(folder + QStringLiteral("/verbal.zep")).size(), 100000);
}

void TestStartup::enterUserFolderFromTheBuild()
{
    // The test program lies in the build like lexamo, so the build's sample folder serves.
    TestEnvironment env;
    DataHome home(env.path(QStringLiteral("data")));
    QVERIFY(startup::enterUserFolder());
    QCOMPARE(QDir::currentPath(), env.path(QStringLiteral("data/Lexamo")));
    QCOMPARE(QFileInfo(QStringLiteral("verbal.zep")).size(), 600 * 576);
    QVERIFY(QFileInfo(QStringLiteral("verbal.notes.csv")).size() > 0);
    QVERIFY(QFileInfo::exists(QStringLiteral("hlp.txt")));
    QVERIFY(QFileInfo::exists(QStringLiteral("Readme.txt")));
    QVERIFY(env.boxes.shown.isEmpty());
}

void TestStartup::enterUserFolderTellsWhyItCannot()
{
    TestEnvironment env;
    env.write(QStringLiteral("data"), "a file where the data folder belongs");
    DataHome home(env.path(QStringLiteral("data")));
    env.boxes.answer(platform::Answer::Ok);
    QVERIFY(!startup::enterUserFolder());
    QCOMPARE(env.boxes.shown.size(), 1);
    QCOMPARE(env.boxes.shown[0].text, QStringLiteral("Lexamo cannot create its folder %1.")
                                          .arg(env.path(QStringLiteral("data/Lexamo"))));
    QCOMPARE(env.boxes.shown[0].icon, platform::Icon::Exclamation);
    QCOMPARE(QDir::currentPath(), env.dir.path());
}

void TestStartup::programIconIsDrawn()
{
    // The icon is an SVG picture: without Qt's SVG plugin it would come out empty.
    const QIcon icon = forms::programIcon();
    QVERIFY(!icon.isNull());
    for (const int size : {16, 32, 48, 256}) {
        const QPixmap pixmap = icon.pixmap(size);
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.size(), QSize(size, size));
        // The middle of the book is painted, the corners are clear.
        const QImage image = pixmap.toImage();
        QVERIFY(qAlpha(image.pixel(size / 2, size / 2)) > 0);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
