#include "app/frmMain.h"

#include "about/frmAbout.h"
#include "app/ChoiceButton.h"
#include "app/Placement.h"
#include "app/WrappingLabel.h"
#include "app/main1.h"
#include "editor/frmverques.h"
#include "exam/vertest.h"
#include "options/OptionsFile.h"
#include "options/frmOptions.h"
#include "platform/AppInfo.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/Twips.h"
#include "progress/frmProgress.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {

const QString kAntiqua = QStringLiteral("Book Antiqua");
const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kArial = QStringLiteral("Arial");
const QString kSystem = QStringLiteral("System");

QToolButton* pictureButton(QWidget* parent, const QString& caption, const QIcon& icon)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setIcon(icon);
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {})
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    return item;
}

// Qt still fires the shortcuts of a disabled menu's items, so the items follow their menu.
void setMenuEnabled(QMenu* menu, bool enabled)
{
    // A disabled menu gives up its access key while it is disabled: the menu bar keeps Alt+T and
    // Alt+H for its titles even then, and a press would only move the focus between the menu and
    // the test's button of the same letter. The title reads the same either way.
    QAction* title = menu->menuAction();
    if (!title->property("caption").isValid())
        title->setProperty("caption", title->text());
    const QString caption = title->property("caption").toString();
    title->setText(enabled ? caption : QString(caption).remove(u'&'));
    title->setEnabled(enabled);
    for (QAction* item : menu->actions())
        item->setEnabled(enabled);
}

// What each view shows and which menu items it leaves enabled. "Question" is the question, its
// choices and the test's five buttons; "Headings" the section and question headings and the
// time; "Text" the text box and the button that leaves it, with that button's caption.
struct ViewRow {
    vertest::View view;
    bool question;
    bool headings;
    bool text;
    const char* leaveCaption;
    bool verbalTest;
    bool testQuit;
    bool tools;
    bool help;
    bool contents;
};

using vertest::View;
// clang-format off
constexpr ViewRow kViews[] = {
//   View                 Question Headings Text   Leave caption        Verbal Test Qiut  Tools  Help   Contents
    {View::Idle,          false,   false,   false, nullptr,             true,  false, true,  true,  true},
    {View::Question,      true,    true,    false, nullptr,             false, true,  false, false, false},
    {View::TestHelp,      false,   true,    true,  "&GoBack To Test",   false, true,  false, false, false},
    {View::EndedTestHelp, false,   false,   true,  "&GoBack To Test",   true,  false, true,  true,  true},
    {View::ContentsHelp,  false,   false,   true,  "&End Help",         false, false, true,  true,  false},
    {View::Review,        false,   false,   true,  "&End Review",       false, false, true,  true,  false},
};
// clang-format on

QAction* separator(QMenu* menu, const char* name)
{
    QAction* bar = menu->addSeparator();
    bar->setObjectName(QString::fromLatin1(name));
    return bar;
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appinfo::title());
    setWindowIcon(forms::programIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    buildControls();
    buildMenus();
    connectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(twips::rect(0, 0, kClientWidth, kClientHeight).size());
    setCentralWidget(client);

    txtreview = new QPlainTextEdit(client);
    txtreview->setReadOnly(true);
    txtreview->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtreview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtreview->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtreview->setAccessibleName(QStringLiteral("Review and help text"));
    QPalette light = txtreview->palette();
    // A light 3-D grey, a shade darker than the window.
    light.setColor(QPalette::Base, light.color(QPalette::Window).darker(106));
    txtreview->setPalette(light);
    cmdnext = pictureButton(client, QStringLiteral("&Next"), QIcon());
    forms::showArrow(cmdnext, true);
    cmdanswer = pictureButton(client, QStringLiteral("&Answer Confirm"), forms::confirmIcon());
    lblsectionname = new QLabel(QStringLiteral("Section Type"), client);
    lblquestionhead = new QLabel(QStringLiteral("Question             No."), client);
    lblquestionhead->setWordWrap(true); // "Question" above "No." and the number
    lblquestionhead->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblquestion = new WrappingLabel(client);
    lblquestion->setWordWrap(true);
    lblquestion->setTextFormat(Qt::PlainText); // bank texts are never markup
    lblquestion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    opta = new ChoiceButton(QStringLiteral("a"), client);
    optb = new ChoiceButton(QStringLiteral("b"), client);
    optc = new ChoiceButton(QStringLiteral("c"), client);
    optd = new ChoiceButton(QStringLiteral("d"), client);
    opte = new ChoiceButton(QStringLiteral("e"), client);
    cmdquit = new QPushButton(QStringLiteral("&Test  Quit"), client);
    cmdHelp = new QPushButton(QStringLiteral("&Help"), client);
    cmdtime = new QPushButton(QStringLiteral("Time"), client);
    lbltime = new QLabel(client);
    cmdendreview = new QPushButton(QStringLiteral("End Review"), client);

    const QFont sans = twips::font(kSansSerif, 8.25);
    const QFont antiqua = twips::font(kAntiqua, 9.75);
    // The layout table: name, place in twips, font; the list is also the tab order.
    forms::layOut({
        {cmdnext, "cmdnext", 8160, 5520, 1215, 615, sans},
        {cmdanswer, "cmdanswer", 6720, 5520, 1215, 615, sans},
        {lblsectionname, "lblsectionname", 3480, 0, 2172, 372,
         twips::font(kAntiqua, 12, twips::Bold | twips::Underline)},
        {lblquestionhead, "lblquestionhead", 240, 600, 1095, 615,
         twips::font(kAntiqua, 9.75, twips::Bold)},
        {lblquestion, "lblquestion", 1440, 600, 6135, 1215,
         twips::font(kSystem, 9.75, twips::Bold)},
        {opta, "opta", 1320, 2400, 6375, 375, antiqua},
        {optb, "optb", 1320, 2880, 6375, 375, antiqua},
        {optc, "optc", 1320, 3360, 6375, 375, antiqua},
        {optd, "optd", 1320, 3840, 6375, 375, antiqua},
        {opte, "opte", 1320, 4320, 6375, 375, antiqua},
        {cmdquit, "cmdquit", 120, 5640, 1215, 495, sans},
        {cmdHelp, "cmdHelp", 1560, 5640, 1212, 492, sans},
        {cmdtime, "cmdtime", 3000, 5640, 1215, 495, sans},
        {lbltime, "lbltime", 6360, 0, 3012, 372, twips::font(kArial, 10.5, twips::Bold)},
        {cmdendreview, "cmdendreview", 4148, 5880, kEndReviewWidth, 495, twips::font(kArial, 10.5)},
        {txtreview, "txtreview", 240, 480, 9012, 5172, txtreview->font()}, // see giveReviewItsFont
    });
    for (QWidget* control : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->hide();
    // The text box lies over the question area; it must cover the labels under it.
    txtreview->raise();
    for (QWidget* off : {static_cast<QWidget*>(txtreview), static_cast<QWidget*>(cmdnext),
                         static_cast<QWidget*>(cmdanswer), static_cast<QWidget*>(cmdquit),
                         static_cast<QWidget*>(cmdtime), static_cast<QWidget*>(cmdendreview)})
        off->setEnabled(false);

    // The question and the choices reach as far right as the window does, and are never
    // narrower than the layout table made them.
    for (QWidget* row : questionRows())
        row->setMinimumWidth(row->width());
    client->installEventFilter(this);

    choices = new QButtonGroup(this);
    choices->setObjectName(QStringLiteral("choices"));
    for (QRadioButton* option : {opta, optb, optc, optd, opte})
        choices->addButton(option);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer1->start();
}

void frmMain::buildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileVer = menuItem(mnuFile, "mnuFileVer", QStringLiteral("&Verbal Test"),
                          QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuFilePractice = menuItem(mnuFile, "mnuFilePractice", QStringLiteral("&Practice Test"),
                               QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileTestquit = menuItem(mnuFile, "mnuFileTestquit", QStringLiteral("&Test Qiut"),
                               QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuFileBar1 = separator(mnuFile, "mnuFileBar1");
    mnuFileExit = menuItem(mnuFile, "mnuFileExit", QStringLiteral("E&xit"),
                           QKeySequence(Qt::CTRL | Qt::Key_X));

    mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    mnuOptions = menuItem(mnuTools, "mnuOptions", QStringLiteral("&Options"),
                          QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuAdd =
        menuItem(mnuTools, "mnuAdd", QStringLiteral("&Add"), QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuProgress = menuItem(mnuTools, "mnuProgress", QStringLiteral("&Progress..."),
                           QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuImport = menuItem(mnuTools, "mnuImport", QStringLiteral("&Import Questions..."));
    mnuExport = menuItem(mnuTools, "mnuExport", QStringLiteral("&Export Questions..."));

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpContents = menuItem(mnuHelp, "mnuHelpContents", QStringLiteral("&Contents"));
    mnuHelpBar1 = separator(mnuHelp, "mnuHelpBar1");
    mnuHelpAbout = menuItem(mnuHelp, "mnuHelpAbout", QStringLiteral("&About TestZEP..."));
}

void frmMain::connectHandlers()
{
    connect(mnuFileVer, &QAction::triggered, this, &frmMain::mnuFileVer_Click);
    connect(mnuFilePractice, &QAction::triggered, this, &frmMain::mnuFilePractice_Click);
    connect(mnuFileTestquit, &QAction::triggered, this, &frmMain::mnuFileTestquit_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(mnuOptions, &QAction::triggered, this, &frmMain::mnuOptions_Click);
    connect(mnuAdd, &QAction::triggered, this, &frmMain::mnuAdd_Click);
    connect(mnuProgress, &QAction::triggered, this, &frmMain::mnuProgress_Click);
    connect(mnuImport, &QAction::triggered, this, &frmMain::mnuImport_Click);
    connect(mnuExport, &QAction::triggered, this, &frmMain::mnuExport_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(cmdnext, &QAbstractButton::clicked, this, &frmMain::cmdnext_Click);
    connect(cmdanswer, &QAbstractButton::clicked, this, &frmMain::cmdanswer_Click);
    connect(cmdquit, &QAbstractButton::clicked, this, &frmMain::cmdquit_Click);
    connect(cmdHelp, &QAbstractButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdtime, &QAbstractButton::clicked, this, &frmMain::cmdtime_Click);
    connect(cmdendreview, &QAbstractButton::clicked, this, &frmMain::cmdendreview_Click);
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        fitQuestionArea();
    return QMainWindow::eventFilter(watched, event);
}

QList<QWidget*> frmMain::questionRows() const
{
    return {lblquestion, opta, optb, optc, optd, opte};
}

void frmMain::fitQuestionArea()
{
    // Each keeps its left edge and height; the right edge keeps the margin of the window's left
    // edge.
    const int right = centralWidget()->width() - twips::toPixels(kRightMargin);
    for (QWidget* row : questionRows())
        row->resize(std::max(row->minimumWidth(), right - row->x()), row->height());
}

void frmMain::Form_Load()
{
    Timer1->setInterval(1000);
    // The options in force until a test begins; showtime starts false.
    const optionsfile::Values values = optionsfile::ensureAndRead();
    test_ = std::make_unique<vertest::State>(values.numques, values.testmins);
    mnuFileTestquit->setEnabled(false);
    readPlacement();
}

void frmMain::setView(vertest::View view)
{
    view_ = view;
    const ViewRow& row = *std::find_if(std::begin(kViews), std::end(kViews),
                                       [view](const ViewRow& r) { return r.view == view; });
    for (QWidget* control :
         {static_cast<QWidget*>(lblquestion), static_cast<QWidget*>(opta),
          static_cast<QWidget*>(optb), static_cast<QWidget*>(optc), static_cast<QWidget*>(optd),
          static_cast<QWidget*>(opte), static_cast<QWidget*>(cmdanswer),
          static_cast<QWidget*>(cmdnext), static_cast<QWidget*>(cmdquit),
          static_cast<QWidget*>(cmdHelp), static_cast<QWidget*>(cmdtime)})
        control->setVisible(row.question);
    for (QWidget* control : {lblquestionhead, lblsectionname, lbltime})
        control->setVisible(row.headings);
    if (row.text)
        giveReviewItsFont();
    for (QWidget* control :
         {static_cast<QWidget*>(txtreview), static_cast<QWidget*>(cmdendreview)}) {
        control->setEnabled(row.text);
        control->setVisible(row.text);
    }
    if (row.leaveCaption)
        cmdendreview->setText(QString::fromLatin1(row.leaveCaption));
    // A Practice Test can begin exactly when a Verbal Test can.
    mnuFileVer->setEnabled(row.verbalTest);
    mnuFilePractice->setEnabled(row.verbalTest);
    if (progress)
        progress->setPractiseAllowed(row.verbalTest);
    mnuFileTestquit->setEnabled(row.testQuit);
    setMenuEnabled(mnuTools, row.tools);
    setMenuEnabled(mnuHelp, row.help);
    mnuHelpContents->setEnabled(row.help && row.contents);
}

void frmMain::setEndViewWide(bool wide)
{
    setEndReviewWidth(wide ? kTestHelpEndWidth : kEndReviewWidth);
}

void frmMain::setLogProblem(const QString& problem)
{
    // A status line below the window, made the first time there is something to say, so that
    // a window whose tests are all logged keeps its whole height.
    auto* bar = findChild<QStatusBar*>(QStringLiteral("stbLog"));
    if (problem.isEmpty()) {
        if (bar)
            bar->hide();
        return;
    }
    if (!bar) {
        bar = new QStatusBar(this);
        bar->setObjectName(QStringLiteral("stbLog"));
        setStatusBar(bar);
    }
    bar->showMessage(problem);
    bar->setToolTip(problem);
    bar->show();
}

void frmMain::setSection(const QString& name)
{
    lblsectionname->setText(name);
}

void frmMain::showQuestion(const QString& heading, const QString& question,
                           const QStringList& choiceTexts)
{
    lblquestionhead->setText(heading);
    lblquestion->setText(question);
    const QList<QRadioButton*> all = choiceButtons();
    for (int i = 0; i < all.size(); ++i)
        all[i]->setText(choiceTexts.value(i));
    forms::clearGroup(choices);
}

int frmMain::selectedChoice() const
{
    const QList<QRadioButton*> all = choiceButtons();
    for (int i = 0; i < all.size(); ++i) {
        if (all[i]->isChecked())
            return i;
    }
    return -1;
}

QList<QRadioButton*> frmMain::choiceButtons() const
{
    return {opta, optb, optc, optd, opte};
}

void frmMain::enableTestButtons()
{
    cmdquit->setEnabled(true);
    cmdtime->setEnabled(true);
    cmdnext->setEnabled(true);
    cmdanswer->setEnabled(false);
}

void frmMain::giveReviewItsFont()
{
    if (reviewHasItsFont_)
        return;
    txtreview->setFont(twips::font(kArial, 10.5, twips::Bold));
    reviewHasItsFont_ = true;
}

void frmMain::setText(const QString& text)
{
    giveReviewItsFont();
    if (text.isEmpty())
        txtreview->clear();
    else
        txtreview->setPlainText(text);
}

void frmMain::readPlacement()
{
    platform::SettingsStore& store = *platform::services().settings;
    const auto value = [&](const placement::Key& key) {
        const QString text =
            store.read(appinfo::title(), QString::fromLatin1(placement::kSection),
                       QString::fromLatin1(key.name), QString::number(key.defaultTwips));
        return twips::toPixels(static_cast<int>(std::lround(placement::twipsValue(text, key))));
    };
    const QRect stored(value(placement::kLeft), value(placement::kTop), value(placement::kWidth),
                       value(placement::kHeight));
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    normalOuter_ =
        primary ? placement::keptOnScreen(stored, screens, primary->availableGeometry()) : stored;
    fitNormalPlacement();
}

QMargins frmMain::frame() const
{
    const QWindow* handle = windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void frmMain::fitNormalPlacement()
{
    fittedFrame_ = frame();
    // move() places the frame's corner; resize() sets the size within the frame.
    move(normalOuter_.topLeft());
    resize(normalOuter_.size().shrunkBy(fittedFrame_).expandedTo(QSize(1, 1)));
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Its layout has given it its least size by now. Only the first showing counts: a window
    // restored from the task bar shows again at the size the window system gave it.
    if (!shownSize_.isValid())
        shownSize_ = size();
}

void frmMain::refitToFrame()
{
    if (normalOuter_.isValid() && windowState() == Qt::WindowNoState && frame() != fittedFrame_)
        fitNormalPlacement();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        refitToFrame();
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    // A window manager frames a window shown in its normal state after it has been shown.
    refitToFrame();
}

void frmMain::savePlacement()
{
    platform::SettingsStore& store = *platform::services().settings;
    // A window closed before the window system framed it or brought it to its maximized size
    // still has the size it was shown with: it is saved as it was placed. Its late frame around
    // that size would grow the stored placement by the frame at every such run.
    const bool unsettled = frame() != fittedFrame_ && size() == shownSize_;
    const QRect outer = unsettled ? QRect(normalOuter_.topLeft(), shownSize_.grownBy(fittedFrame_))
                                  : frameGeometry();
    const std::pair<placement::Key, int> values[] = {{placement::kLeft, outer.left()},
                                                     {placement::kTop, outer.top()},
                                                     {placement::kWidth, outer.width()},
                                                     {placement::kHeight, outer.height()}};
    platform::SettingsStore::Values texts;
    for (const auto& [key, pixels] : values)
        texts.append({QString::fromLatin1(key.name),
                      placement::storedText(static_cast<float>(twips::fromPixels(pixels)))});
    store.writeSection(appinfo::title(), QString::fromLatin1(placement::kSection), texts);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    main1::unloadOtherWindows();
    if (!isMinimized())
        savePlacement();
}

void frmMain::setEndReviewWidth(int widthTwips)
{
    cmdendreview->resize(twips::toPixels(widthTwips), cmdendreview->height());
}

void frmMain::mnuFileExit_Click()
{
    close();
}

template <typename Form, typename... Args>
void frmMain::openModeless(QPointer<Form>& form, Args&... args)
{
    if (!form) {
        // Owned by the main window, which the window system then keeps beneath it: a click on
        // the main window, or a test that ends in it, never hides it.
        form = new Form(args..., this);
        form->setAttribute(Qt::WA_DeleteOnClose);
        main1::trackWindow(form);
    }
    form->show();
    form->raise();
    form->activateWindow();
    form->Form_Load();
}

void frmMain::mnuOptions_Click()
{
    openModeless(options);
}

void frmMain::mnuAdd_Click()
{
    openModeless(editor, editorState);
}

void frmMain::mnuProgress_Click()
{
    const bool fresh = !progress;
    openModeless(progress);
    if (fresh)
        connect(progress, &frmProgress::practiseKindAsked, this, &frmMain::practiseKind);
    progress->setPractiseAllowed(mnuFilePractice->isEnabled());
}

void frmMain::testLogged()
{
    if (progress)
        progress->reload();
}

void frmMain::mnuHelpAbout_Click()
{
    // Held by a guard: should this window go while the box is open, the box goes with it.
    QPointer<frmAbout> about = new frmAbout(this);
    about->exec();
    delete about;
}
