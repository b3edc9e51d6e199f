#include "options/frmOptions.h"

#include "bank/Cp1252.h"
#include "options/LimitedLineEdit.h"
#include "options/NumberRules.h"
#include "options/OptionsFile.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QPushButton>

const QString frmOptions::kInvalidEntryText = QStringLiteral(
    "You have entered invalid value(s) in either No.of Questions or in Time box! Please enter "
    "valid values. All values greater than zero are valid.");
const QString frmOptions::kInvalidEntryTitle = QStringLiteral("Warning. Invalid Entry");

namespace {

bool aboveZero(const QString& text)
{
    return numberrules::convert(cp1252::encode(text)) > 0;
}

QPushButton* plainButton(const QString& caption, QWidget* parent)
{
    // Enter presses no button of this dialog.
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frmOptions::frmOptions(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFont(twips::font(QStringLiteral("MS Sans Serif"), 8.25));
    setFixedSize(twips::rect(0, 0, kClientWidth, kClientHeight).size());
    setSizeGripEnabled(false);
    buildControls();
    connect(cmdOk, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    txtTime->setFocus();
    Form_Load();
}

void frmOptions::buildControls()
{
    const QFont label = twips::font(QStringLiteral("Book Antiqua"), 9.75);
    const QFont box = twips::font(QStringLiteral("Book Antiqua"), 12);
    // Made in tab order, so the focus chain follows the table.
    lblTesttime = new QLabel(QStringLiteral("Test Time (minutes)"), this);
    forms::place(lblTesttime, "lblTesttime", 480, 840, 1212, 492, label);
    lblTesttime->setWordWrap(true);
    txtTime = new LimitedLineEdit(2, this);
    forms::place(txtTime, "txtTime", 2040, 840, 615, 408, box);
    cmdOk = plainButton(QStringLiteral("&Ok"), this);
    forms::place(cmdOk, "cmdOk", 180, 1800, 1215, 375, font());
    cmdCancel = plainButton(QStringLiteral("&Cancel"), this);
    forms::place(cmdCancel, "cmdCancel", 1740, 1800, 1215, 375, font());
    txtQnum = new LimitedLineEdit(3, this);
    forms::place(txtQnum, "txtQnum", 2040, 240, 615, 408, box);
    lblques_no = new QLabel(QStringLiteral("No of Questions "), this);
    forms::place(lblques_no, "lblques_no", 480, 300, 1452, 252, label);

    setTabOrder(txtTime, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, txtQnum);
    txtTime->setText(QStringLiteral("15"));
    txtQnum->setText(QStringLiteral("15"));
    txtTime->setAccessibleName(QStringLiteral("Test time in minutes"));
    txtQnum->setAccessibleName(QStringLiteral("Number of questions"));
}

void frmOptions::Form_Load()
{
    const optionsfile::Lines lines = optionsfile::loadLines();
    txtQnum->setText(lines.questions);
    txtTime->setText(lines.minutes);
}

void frmOptions::cmdOk_Click()
{
    // The texts are saved as typed, not as the numbers they read as, and only when both read as
    // numbers above 0; the dialog closes once they are saved.
    const optionsfile::Lines lines{txtQnum->text(), txtTime->text()};
    if (aboveZero(lines.questions) && aboveZero(lines.minutes)) {
        const Result<void> saved = optionsfile::saveLines(lines);
        if (saved.ok())
            accept();
        else
            platform::msgBox(saved.error(), platform::Buttons::Ok, platform::Icon::Exclamation);
        return;
    }
    // Otherwise a warning, and the boxes stay as the user left them to be mended.
    platform::msgBox(kInvalidEntryText, platform::Buttons::Ok, platform::Icon::None,
                     kInvalidEntryTitle);
}

void frmOptions::cmdCancel_Click()
{
    reject();
}
