#pragma once

#include <QByteArray>
#include <QString>

// What the benchmarks of Lexamo's windows share. The program bench_qt_main links runs them on
// the offscreen platform (unless QT_QPA_PLATFORM says otherwise) in a fresh temporary folder.
namespace benchsupport {

void writeFile(const QString& name, const QByteArray& bytes);
// Writes "verbal.zep" in the current folder with the largest number of records a bank can
// hold; record n asks question n and answers "abcde"[n % 5].
void writeFullBank();
// Writes the notes of that bank: every record has a kind and an explanation of the most
// characters one holds, over several lines, with commas and quotes.
void writeFullNotes();

} // namespace benchsupport
