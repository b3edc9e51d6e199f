#include "about/frmAbout.h"

#include "about/SysInfo.h"
#include "platform/AppInfo.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"
#include "platform/Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kAntiqua = QStringLiteral("Book Antiqua");
const QString kSansSerif = QStringLiteral("MS Sans Serif");

QString description()
{
    return QStringLiteral("This software is for those student who are appearing for ZEP test. "
                          "This software consists of only verbal test at present. "
                          "Send requests and faults to %1.")
        .arg(appinfo::contactAddress());
}

// A horizontal line from (left, top) to (right, top) in twips, so many pixels thick.
QWidget* ruleLine(QWidget* parent, const char* name, int left, int top, int right, int thickness,
                  const QColor& color)
{
    auto* line = new QWidget(parent);
    line->setObjectName(QString::fromLatin1(name));
    const QPoint start(twips::toPixels(left), twips::toPixels(top));
    line->setGeometry(QRect(start, QSize(twips::toPixels(right) - start.x() + 1, thickness)));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    return line;
}

} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Lexamo"));
    setFixedSize(twips::rect(0, 0, kClientWidth, kClientHeight).size());
    setFont(twips::font(kAntiqua, 9.75, twips::Bold | twips::Italic));
    setModal(true);
    buildButtons();
    buildIcon();
    buildLabels();
    buildRule();
    cmdOk->setFocus();
    Form_Load();
}

void frmAbout::buildButtons()
{
    const QFont font = twips::font(kSansSerif, 8.25);
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    forms::place(cmdOk, "cmdOk", 4245, 2625, 1260, 345, font);
    cmdOk->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    forms::place(cmdSysInfo, "cmdSysInfo", 4260, 3075, 1245, 345, font);
    // Enter presses OK wherever the focus is, as it did before the tool was tried.
    cmdSysInfo->setAutoDefault(false);
    setTabOrder(cmdOk, cmdSysInfo);
    connect(cmdOk, &QPushButton::clicked, this, &frmAbout::cmdOk_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::buildIcon()
{
    picIcon = new QLabel(this);
    forms::place(picIcon, "picIcon", 240, 240, 540, 540, font());
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setPixmap(forms::programIcon().pixmap(QSize(32, 32), devicePixelRatio()));
    picIcon->setAccessibleName(QStringLiteral("Lexamo icon"));
}

void frmAbout::buildLabels()
{
    struct Row {
        QLabel** label;
        const char* name;
        int left, top, width, height;
        QFont font;
    };
    const Row rows[] = {
        {&lblDisclaimer, "lblDisclaimer", 255, 2625, 3870, 585, twips::font(kAntiqua, 9.75)},
        {&lblVersion, "lblVersion", 1080, 720, 3885, 225, twips::font(kAntiqua, 9.75)},
        {&lblTitle, "lblTitle", 1080, 120, 3885, 480,
         twips::font(kAntiqua, 20.25, twips::Bold | twips::Italic)},
        {&lblDescription, "lblDescription", 1050, 1080, 3885, 1290, twips::font(kAntiqua, 9.75)},
    };
    for (const Row& row : rows) {
        *row.label = new QLabel(this);
        forms::place(*row.label, row.name, row.left, row.top, row.width, row.height, row.font);
        (*row.label)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        (*row.label)->setWordWrap(true);
    }
    colourTexts();
    lblDisclaimer->setText(appinfo::licenceNotice());
    lblDescription->setText(description());
}

void frmAbout::colourTexts()
{
    // Black text on a light window; on a dark one black would not be read, so the palette's own.
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    const QColor ink = dark ? palette().color(QPalette::Text) : QColor(Qt::black);
    for (QLabel* label : {lblDisclaimer, lblVersion, lblTitle, lblDescription}) {
        QPalette own = label->palette();
        own.setColor(QPalette::WindowText, ink);
        label->setPalette(own);
    }
}

void frmAbout::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange && lblDescription)
        colourTexts();
    QDialog::changeEvent(event);
}

void frmAbout::buildRule()
{
    Line1_1 = ruleLine(this, "Line1_1", 225, 2430, 5450, 1, QColor(128, 128, 128));
    Line1_0 = ruleLine(this, "Line1_0", 240, 2445, 5450, 2, Qt::white);
}

void frmAbout::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version ") + appinfo::versionText());
    lblTitle->setText(appinfo::title());
}

void frmAbout::cmdOk_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    const platform::Services& os = platform::services();
    if (!sysinfo::startSysInfo(*os.registry, *os.programs))
        platform::msgBox(QStringLiteral("System Information Is Unavailable At This Time"));
}

bool frmAbout::GetKeyValue(platform::RegistryKey KeyRoot, const QString& KeyName,
                           const QString& SubKeyRef, QString& KeyVal)
{
    return sysinfo::getKeyValue(*platform::services().registry, KeyRoot, KeyName.toLocal8Bit(),
                                SubKeyRef.toLocal8Bit(), KeyVal);
}

void frmAbout::keyPressEvent(QKeyEvent* event)
{
    // OK is also the cancel button: Esc presses it, as Enter does.
    if (event->matches(QKeySequence::Cancel)) {
        cmdOk->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
