#include "support/FakeFileDialogs.h"

#include <QTest>

void FakeFileDialogs::answer(const QStringList& files, const QString& filter)
{
    script_.push_back({files, filter});
}

platform::ChosenFiles FakeFileDialogs::choose(const platform::FileDialog& dialog)
{
    shown.append(dialog);
    if (script_.empty()) {
        ++unexpected;
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog \"%1\"").arg(dialog.title)),
                     __FILE__, __LINE__);
        return {};
    }
    platform::ChosenFiles next = std::move(script_.front());
    script_.pop_front();
    if (next.filter.isEmpty())
        next.filter = dialog.filters.value(0);
    return next;
}
