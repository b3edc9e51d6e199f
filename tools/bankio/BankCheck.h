#pragma once

#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"

#include <QList>
#include <QStringList>

// What "lexamo-bank check" finds wrong in a bank.
namespace bankcheck {

// One line per problem, by record number: an answer other than "a" to "e", an empty question
// or choice (as Lexamo shows it: up to a zero character, spaces trimmed), a question that
// stands twice, records past the last one Lexamo can reach, and a trailing piece shorter than
// a record. Empty when the bank is sound.
QStringList findings(const QList<QuestionRecord>& records, qint64 trailingBytes,
                     qint64 recordsPast = 0);

// One line per note that does not belong to the record of its number: one written for another
// question than the record holds now (stale), and one of a record the bank does not have.
QStringList noteFindings(const QList<QuestionRecord>& records, qint64 recordCount,
                         const BankNotes& notes);

} // namespace bankcheck
