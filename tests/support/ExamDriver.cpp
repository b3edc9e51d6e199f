#include "support/ExamDriver.h"
#include "support/MainControls.h"

#include "app/frmMain.h"
#include "app/main1.h"
#include "bank/BankFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::MessageBox;

namespace examdriver {

const MessageBox kReady{QStringLiteral("Are you ready to start the verbal test"),
                        QStringLiteral("Verbal Test start..."), Buttons::YesNo, Icon::None,
                        Answer::Yes};
const MessageBox kComplete{
    QStringLiteral("You have finished your Test. Press OK to see your scores"),
    QStringLiteral("Test Complete")};
const MessageBox kTimeOver{
    QStringLiteral("Time alloted for the test is over. Press OK to see your Result"),
    QStringLiteral("Time Over")};
const MessageBox kReview{
    QStringLiteral(
        "Do you want to review the Test you have taken now. You cannot review it latter."),
    QStringLiteral("Review"), Buttons::YesNo, Icon::None, Answer::Yes};
const MessageBox kQuit{QStringLiteral("Are you sure you want to qiut the test inbetween."),
                       QStringLiteral("Warning"), Buttons::OkCancel};
const MessageBox kNoChoice{QStringLiteral("Chose any option before clicking next button"),
                           QStringLiteral("Warning..."), Buttons::Ok, Icon::Exclamation};

const QStringList kTestScreen =
    QStringLiteral("lblquestionhead lblsectionname lblquestion opta optb optc optd opte cmdanswer "
                   "cmdnext cmdquit cmdHelp cmdtime lbltime")
        .split(u' ');
const QStringList kIdleItems = QStringLiteral("mnuAdd mnuExport mnuFilePractice mnuFileVer "
                                              "mnuHelp mnuHelpAbout mnuHelpContents mnuImport "
                                              "mnuOptions mnuProgress mnuTools")
                                   .split(u' ');
const QStringList kTestItems{QStringLiteral("mnuFileTestquit")};

MessageBox scoreBox(int score, int total)
{
    return {QStringLiteral("You have answered %1 out of %2 correctly").arg(score).arg(total),
            QStringLiteral("TEST SCORE")};
}

QStringList described(const QList<MessageBox>& boxes)
{
    QStringList lines;
    for (const MessageBox& b : boxes)
        lines << QStringLiteral("%1 | %2 | buttons %3 icon %4 default %5")
                     .arg(b.title, b.text)
                     .arg(int(b.buttons))
                     .arg(int(b.icon))
                     .arg(int(b.defaultButton));
    return lines;
}

void writeBank(const QByteArray& answers)
{
    BankFile bank;
    QVERIFY(bank.open().ok());
    for (int n = 1; n <= answers.size(); ++n) {
        QuestionRecord record;
        record.setQuestion(QStringLiteral("Question %1").arg(n));
        for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
            record.setChoice(i, QStringLiteral("%1-%2").arg(n).arg(QChar(u'a' + i)));
        record.setAnswer(QString(QChar(answers.at(n - 1))));
        QVERIFY(bank.write(n, record).ok());
    }
}

float drawing(int k, int r)
{
    return (float(k) - 0.5f) / float(r);
}

frmMain* startMain()
{
    main1::Main();
    on(main1::mainwindow).Timer1->stop();
    return main1::mainwindow;
}

void click(QAbstractButton* button)
{
    QVERIFY2(button->isVisible() && button->isEnabled(), qPrintable(button->objectName()));
    QTest::mouseClick(button, Qt::LeftButton);
}

void answer(QRadioButton* option)
{
    auto* w = qobject_cast<frmMain*>(option->window());
    click(option);
    click(on(w).cmdnext);
    QVERIFY(!on(w).cmdnext->isEnabled());
    QVERIFY(on(w).cmdanswer->isEnabled());
    click(on(w).cmdanswer);
}

void tick(frmMain* w, int times)
{
    for (int i = 0; i < times; ++i)
        w->Timer1_Timer();
}

QStringList visibleControls(frmMain* w)
{
    QStringList names;
    for (const QString& name : kTestScreen + QStringList{"txtreview", "cmdendreview"}) {
        if (w->findChild<QWidget*>(name)->isVisible())
            names << name;
    }
    return names;
}

QStringList enabledItems(frmMain* w)
{
    QStringList names;
    for (QAction* item : w->findChildren<QAction*>()) {
        if (item->isEnabled() && !item->isSeparator() && !item->objectName().isEmpty() &&
            item != on(w).mnuFileExit)
            names << item->objectName();
    }
    for (QMenu* menu : {on(w).mnuTools, on(w).mnuHelp}) {
        if (menu->menuAction()->isEnabled())
            names << menu->objectName();
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace examdriver
