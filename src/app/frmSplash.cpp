#include "app/frmSplash.h"

#include "platform/AppInfo.h"
#include "platform/Forms.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

// A label that takes the width of its text; a right-aligned one keeps its right edge.
void sizeToText(QLabel* label)
{
    const QRect designed = label->geometry();
    label->adjustSize();
    if (label->alignment() & Qt::AlignRight)
        label->move(designed.right() - label->width() + 1, designed.top());
}

} // namespace

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(twips::rect(0, 0, 7455, 4710).size());
    const QString antiqua = QStringLiteral("Book Antiqua");

    fraMainFrame = new QFrame(this);
    forms::place(fraMainFrame, "fraMainFrame", 45, -15, 7380, 4590, font());
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setFrameShadow(QFrame::Sunken);

    struct Row {
        QLabel** label;
        const char* name;
        const char* designText;
        int left, top, width, height;
        QFont font;
        Qt::Alignment alignment;
    };
    const Row rows[] = {
        {&lblProductName, "lblProductName", "Verbal - ZEP", 1560, 1200, 3825, 780,
         twips::font(antiqua, 32.25, twips::Bold | twips::Italic), Qt::AlignLeft},
        {&lblPlatform, "lblPlatform", "Windows only", 4875, 2400, 2130, 390,
         twips::font(antiqua, 15.75, twips::Bold), Qt::AlignRight},
        {&lblVersion, "lblVersion", "Version 1.0", 5790, 2880, 1215, 315,
         twips::font(antiqua, 12, twips::Bold), Qt::AlignRight},
        {&lblWarning, "lblWarning", "", 300, 3720, 6855, 195, twips::font(antiqua, 9),
         Qt::AlignLeft},
    };
    for (const Row& row : rows) {
        *row.label = new QLabel(QString::fromLatin1(row.designText), fraMainFrame);
        // The splash's texts are plain Latin letters, which its fonts hold: no other font need
        // be looked for to fill in characters, a search that costs the start a few milliseconds.
        QFont font = row.font;
        font.setStyleStrategy(QFont::NoFontMerging);
        forms::place(*row.label, row.name, row.left, row.top, row.width, row.height, font);
        (*row.label)->setAlignment(row.alignment | Qt::AlignVCenter);
    }
    lblPlatform->setText(appinfo::platformName());
    lblWarning->setText(appinfo::licenceNotice());
    lblWarning->setWordWrap(false);

    Form_Load();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void frmSplash::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version ") + appinfo::versionText());
    lblProductName->setText(appinfo::title());
    for (QLabel* label : {lblProductName, lblPlatform, lblVersion})
        sizeToText(label);
}
