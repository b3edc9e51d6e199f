#include "app/frmMain.h"
#include "app/main1.h"
#include "options/LimitedLineEdit.h"
#include "options/frmOptions.h"
#include "platform/Twips.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

const QString kOptions = QStringLiteral("options");

bool pasteFromContextMenu(QWidget* box)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return false;
    QAction* paste = nullptr;
    for (QAction* item : menu->actions()) {
        if (item->text().startsWith(QStringLiteral("&Paste")))
            paste = item;
    }
    menu->close();
    if (paste)
        paste->trigger();
    return paste;
}

QRect inTwips(const QWidget* w)
{
    const QRect r = w->geometry();
    return QRect(r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15);
}

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init() { beginTest(env); }
    void cleanup();

    void windowAndControls();
    void focusStartsInTimeAndTabsInTableOrder();
    void invalidEntriesWarnAndWriteNothing_data();
    void invalidEntriesWarnAndWriteNothing();
    void validEntriesAreWrittenAsTyped_data();
    void validEntriesAreWrittenAsTyped();
    void longLineIsShownWholeAndWrittenBack();
    void typingAndPastingStopAtTheLimit_data();
    void typingAndPastingStopAtTheLimit();
    void insertionIntoALongLineIsRefused();
    void reopeningRefillsTheBoxes();
    void linesOfAnyEndingFillTheBoxes_data();
    void linesOfAnyEndingFillTheBoxes();
    void cancellingWritesNothing_data();
    void cancellingWritesNothing();
    void enterPressesNothing();
    void failedSaveKeepsTheDialogOpen_data();
    void failedSaveKeepsTheDialogOpen();

private:
    // Starts Lexamo on an options file holding these bytes and opens the dialog from the menu.
    frmOptions* open(const QByteArray& file = "15\r\n15\r\n");
    void enter(QLineEdit* box, const QString& text);

    std::unique_ptr<TestEnvironment> env;
};

void TestOptionsDialog::cleanup()
{
    finishTest(env);
}

frmOptions* TestOptionsDialog::open(const QByteArray& file)
{
    env->write(kOptions, file);
    if (!main1::mainwindow)
        main1::Main();
    if (!trigger(main1::mainwindow, "mnuOptions"))
        return nullptr;
    frmOptions* dialog = main1::mainwindow->options;
    if (dialog && !QTest::qWaitForWindowActive(dialog))
        return nullptr;
    return dialog;
}

void TestOptionsDialog::enter(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

void TestOptionsDialog::windowAndControls()
{
    frmOptions* dialog = open("20\r\n30\r\n");
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Options"));
    QCOMPARE(dialog->size(), QSize(214, 163));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    const Qt::WindowFlags flags = dialog->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    // Owned by the main window, which the window system keeps beneath it.
    QCOMPARE(dialog->windowHandle()->transientParent(), main1::mainwindow->windowHandle());

    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("20"));
    QCOMPARE(dialog->txtTime->text(), QStringLiteral("30"));
    QCOMPARE(dialog->lblTesttime->text(), QStringLiteral("Test Time (minutes)"));
    QCOMPARE(dialog->lblques_no->text(), QStringLiteral("No of Questions "));
    QCOMPARE(dialog->cmdOk->text(), QStringLiteral("&Ok"));
    QCOMPARE(dialog->cmdCancel->text(), QStringLiteral("&Cancel"));
    // The questions box stands above the time box, though it comes later in tab order.
    QCOMPARE(inTwips(dialog->txtQnum), QRect(2040, 240, 615, 405));
    QCOMPARE(inTwips(dialog->txtTime), QRect(2040, 840, 615, 405));
    QCOMPARE(dialog->txtTime->font().pointSizeF(), 12.0);
    QCOMPARE(dialog->lblques_no->font().pointSizeF(), 9.75);
    QCOMPARE(dialog->cmdOk->font().pointSizeF(), 8.25);
    for (const QPushButton* button : {dialog->cmdOk, dialog->cmdCancel})
        QVERIFY(!button->isDefault() && !button->autoDefault());
}

void TestOptionsDialog::focusStartsInTimeAndTabsInTableOrder()
{
    frmOptions* dialog = open();
    QVERIFY(dialog);
    QList<QWidget*> seen{QApplication::focusWidget()};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << QApplication::focusWidget();
    }
    const QList<QWidget*> expected{dialog->txtTime, dialog->cmdOk, dialog->cmdCancel,
                                   dialog->txtQnum, dialog->txtTime};
    QCOMPARE(seen, expected);
}

void TestOptionsDialog::invalidEntriesWarnAndWriteNothing_data()
{
    QTest::addColumn<QString>("questions");
    QTest::addColumn<QString>("minutes");
    QTest::newRow("zero questions") << "0"
                                    << "15";
    QTest::newRow("no questions") << ""
                                  << "15";
    QTest::newRow("minus sign only") << "-"
                                     << "15";
    QTest::newRow("negative questions") << "-5"
                                        << "15";
    QTest::newRow("zero minutes") << "20"
                                  << "0";
    QTest::newRow("minutes not a number") << "20"
                                          << "ab";
}

void TestOptionsDialog::invalidEntriesWarnAndWriteNothing()
{
    QFETCH(QString, questions);
    QFETCH(QString, minutes);
    const QByteArray before("1\r\n2\r\nthird line\r\n");
    frmOptions* dialog = open(before);
    QVERIFY(dialog);
    enter(dialog->txtQnum, questions);
    enter(dialog->txtTime, minutes);
    env->boxes.answer(platform::Answer::Ok);
    QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);

    const platform::MessageBox warning{
        QStringLiteral("You have entered invalid value(s) in either No.of Questions or in Time "
                       "box! Please enter valid values. All values greater than zero are valid."),
        QStringLiteral("Warning. Invalid Entry"), platform::Buttons::Ok, platform::Icon::None,
        platform::Answer::Ok};
    QCOMPARE(env->boxes.shown, QList<platform::MessageBox>{warning});
    QCOMPARE(env->read(kOptions), before);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->txtQnum->text(), questions);
    QCOMPARE(dialog->txtTime->text(), minutes);
}

void TestOptionsDialog::validEntriesAreWrittenAsTyped_data()
{
    QTest::addColumn<QString>("questions");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("whole numbers") << "20"
                                   << "30" << QByteArray("20\r\n30\r\n");
    QTest::newRow("a half") << "0.5"
                            << "15" << QByteArray("0.5\r\n15\r\n");
    QTest::newRow("exponent") << "1e2"
                              << "5" << QByteArray("1e2\r\n5\r\n");
    QTest::newRow("text after the number") << "7x"
                                           << " 9" << QByteArray("7x\r\n 9\r\n");
}

void TestOptionsDialog::validEntriesAreWrittenAsTyped()
{
    QFETCH(QString, questions);
    QFETCH(QString, minutes);
    QFETCH(QByteArray, file);
    frmOptions* dialog = open();
    QVERIFY(dialog);
    enter(dialog->txtQnum, questions);
    enter(dialog->txtTime, minutes);
    QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(env->read(kOptions), file);
    QVERIFY(!main1::mainwindow->options);
    // The next opening shows the lines as they were typed.
    dialog = open(file);
    QVERIFY(dialog);
    QCOMPARE(dialog->txtQnum->text(), questions);
}

void TestOptionsDialog::longLineIsShownWholeAndWrittenBack()
{
    frmOptions* dialog = open("1000\r\n15\r\n");
    QVERIFY(dialog);
    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("1000"));
    dialog->txtQnum->end(false);
    QTest::keyClicks(dialog->txtQnum, QStringLiteral("5"));
    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("1000"));
    env->write(kOptions, "1000\r\n15");
    QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    QCOMPARE(env->read(kOptions), QByteArray("1000\r\n15\r\n"));
}

void TestOptionsDialog::typingAndPastingStopAtTheLimit_data()
{
    QTest::addColumn<bool>("questionsBox");
    // 0 typing, 1 Ctrl+V, 2 the context menu's paste item, 3 a middle click (the X11 selection)
    QTest::addColumn<int>("how");
    QTest::addColumn<QString>("expected");
    QTest::newRow("typing minutes") << false << 0 << "12";
    QTest::newRow("typing questions") << true << 0 << "123";
    QTest::newRow("Ctrl+V into minutes") << false << 1 << "12";
    QTest::newRow("context menu into questions") << true << 2 << "123";
    QTest::newRow("middle click into minutes") << false << 3 << "12";
    QTest::newRow("middle click into questions") << true << 3 << "123";
}

void TestOptionsDialog::typingAndPastingStopAtTheLimit()
{
    QFETCH(bool, questionsBox);
    QFETCH(int, how);
    QFETCH(QString, expected);
    frmOptions* dialog = open("\r\n\r\n");
    QVERIFY(dialog);
    LimitedLineEdit* box = questionsBox ? dialog->txtQnum : dialog->txtTime;
    QApplication::clipboard()->setText(QStringLiteral("12345"));
    if (how == 0)
        QTest::keyClicks(box, QStringLiteral("12345"));
    else if (how == 1)
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    else if (how == 2)
        QVERIFY(pasteFromContextMenu(box));
    else if (QApplication::clipboard()->supportsSelection()) {
        QApplication::clipboard()->setText(QStringLiteral("12345"), QClipboard::Selection);
        QTest::mouseClick(box, Qt::MiddleButton);
    } else
        box->insert(QStringLiteral("12345")); // what a middle click does where there is a selection
    QCOMPARE(box->text(), expected);
    // Replacing a selection is typing within the limit.
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("9"));
    QCOMPARE(box->text(), QStringLiteral("9"));
}

void TestOptionsDialog::insertionIntoALongLineIsRefused()
{
    frmOptions* dialog = open("1000\r\n15\r\n");
    QVERIFY(dialog);
    dialog->txtQnum->setCursorPosition(1);
    dialog->txtQnum->insert(QStringLiteral("5"));
    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("1000"));
    // Taking characters away is always allowed, also above the limit.
    dialog->txtQnum->setSelection(0, 1);
    dialog->txtQnum->insert(QString());
    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("000"));
    dialog->txtTime->selectAll();
    dialog->txtTime->insert(QStringLiteral("789"));
    QCOMPARE(dialog->txtTime->text(), QStringLiteral("78"));
}

void TestOptionsDialog::reopeningRefillsTheBoxes()
{
    frmOptions* dialog = open("20\r\n30\r\n");
    QVERIFY(dialog);
    enter(dialog->txtQnum, QStringLiteral("5"));
    enter(dialog->txtTime, QStringLiteral("6"));
    QVERIFY(trigger(main1::mainwindow, "mnuOptions"));
    QCOMPARE(main1::mainwindow->options.data(), dialog);
    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("20"));
    QCOMPARE(dialog->txtTime->text(), QStringLiteral("30"));
}

void TestOptionsDialog::linesOfAnyEndingFillTheBoxes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("CR LF") << QByteArray("20\r\n30\r\n");
    QTest::newRow("LF") << QByteArray("20\n30\n");
    QTest::newRow("CR") << QByteArray("20\r30\r");
}

void TestOptionsDialog::linesOfAnyEndingFillTheBoxes()
{
    QFETCH(QByteArray, file);
    frmOptions* dialog = open(file);
    QVERIFY(dialog);
    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("20"));
    QCOMPARE(dialog->txtTime->text(), QStringLiteral("30"));
    // OK writes the lines back as Lexamo always writes them.
    QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    QCOMPARE(env->read(kOptions), QByteArray("20\r\n30\r\n"));
}

void TestOptionsDialog::cancellingWritesNothing_data()
{
    QTest::addColumn<int>("how"); // 0 Esc, 1 the Cancel button, 2 the close box
    QTest::newRow("Esc") << 0;
    QTest::newRow("Cancel") << 1;
    QTest::newRow("close box") << 2;
}

void TestOptionsDialog::cancellingWritesNothing()
{
    QFETCH(int, how);
    frmOptions* dialog = open("20\r\n30\r\n");
    QVERIFY(dialog);
    enter(dialog->txtQnum, QStringLiteral("44"));
    if (how == 0)
        QTest::keyClick(dialog->txtQnum, Qt::Key_Escape);
    else if (how == 1)
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
    else
        dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!main1::mainwindow->options);
    QCOMPARE(env->read(kOptions), QByteArray("20\r\n30\r\n"));
}

void TestOptionsDialog::enterPressesNothing()
{
    frmOptions* dialog = open("20\r\n30\r\n");
    QVERIFY(dialog);
    enter(dialog->txtQnum, QStringLiteral("44"));
    for (QWidget* focus :
         {static_cast<QWidget*>(dialog->txtQnum), static_cast<QWidget*>(dialog->txtTime),
          static_cast<QWidget*>(dialog->cmdOk)}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter);
    }
    QVERIFY(dialog->isVisible());
    QCOMPARE(env->read(kOptions), QByteArray("20\r\n30\r\n"));
}

void TestOptionsDialog::failedSaveKeepsTheDialogOpen_data()
{
    QTest::addColumn<bool>("link");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder in its place") << false << "";
    // The save would put a plain file in the pipe's place, through the link.
    QTest::newRow("a link to a pipe")
        << true << "it is a pipe (FIFO), not a regular file, so nothing is written to it.";
}

void TestOptionsDialog::failedSaveKeepsTheDialogOpen()
{
    QFETCH(bool, link);
    QFETCH(QString, reason);
    frmOptions* dialog = open();
    QVERIFY(dialog);
    QVERIFY(QFile::remove(env->path(kOptions)));
    const QString fifo = env->path(QStringLiteral("fifo"));
    if (link) {
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(QFile::link(fifo, env->path(kOptions)));
    } else {
        QVERIFY(QDir(env->dir.path()).mkdir(kOptions));
    }
    env->boxes.answer(platform::Answer::Ok);
    QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    QCOMPARE(env->boxes.shown.size(), 1);
    const QString text = env->boxes.shown[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("Cannot write \"options\": ")) && text.endsWith(reason),
             qPrintable(text));
    if (link)
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    QCOMPARE(env->boxes.shown[0].icon, platform::Icon::Exclamation);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->txtQnum->text(), QStringLiteral("15"));
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
