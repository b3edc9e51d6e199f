#pragma once

#include "platform/FileDialogs.h"

#include <QList>
#include <deque>

// File dialogs for tests: records every dialog and answers from a script. A dialog with no
// answer queued fails the running test (a real one would wait for a user who is not there).
class FakeFileDialogs final : public platform::FileDialogs {
public:
    // Queues what the user chooses in the next dialog: the files (none to cancel it), with the
    // filter in force; a filter not given is the dialog's first.
    void answer(const QStringList& files, const QString& filter = {});

    platform::ChosenFiles choose(const platform::FileDialog& dialog) override;

    QList<platform::FileDialog> shown;
    qsizetype unanswered() const { return static_cast<qsizetype>(script_.size()); }
    // Dialogs that came with no answer queued.
    int unexpected = 0;

private:
    std::deque<platform::ChosenFiles> script_;
};
