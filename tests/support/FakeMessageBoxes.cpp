#include "support/FakeMessageBoxes.h"

#include <QTest>

void FakeMessageBoxes::answer(platform::Answer answer, std::function<void()> whileOpen)
{
    script_.push_back({answer, std::move(whileOpen)});
}

platform::Answer FakeMessageBoxes::show(const platform::MessageBox& box)
{
    shown.append(box);
    if (script_.empty()) {
        ++unexpected;
        QTest::qFail(
            qPrintable(
                QStringLiteral("unexpected message box \"%1\": %2").arg(box.title, box.text)),
            __FILE__, __LINE__);
        return box.buttons == platform::Buttons::Ok ? platform::Answer::Ok
                                                    : platform::Answer::Cancel;
    }
    Scripted next = std::move(script_.front());
    script_.pop_front();
    if (next.whileOpen)
        next.whileOpen();
    return next.answer;
}
