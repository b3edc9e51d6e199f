#include "files/CsvRows.h"

bool CsvRows::next(Row* row, Problem* problem)
{
    row->line = line_;
    row->fields.clear();
    for (;;) {
        QString field;
        if (!readField(&field, problem)) {
            skipLine();
            return false;
        }
        row->fields.append(field);
        if (atEnd())
            return true;
        if (text_.at(pos_++) == u'\n') {
            ++line_;
            return true;
        }
    }
}

bool CsvRows::readField(QString* field, Problem* problem)
{
    if (atEnd() || text_.at(pos_) != u'"') {
        readPlainField(field);
        return true;
    }
    const int openedOn = line_;
    // The closing quote is the first one not doubled; the field is then copied once.
    const qsizetype start = pos_ + 1;
    qsizetype doubled = 0;
    qsizetype quote = start;
    for (;;) {
        quote = text_.indexOf(u'"', quote);
        if (quote < 0 || quote + 1 >= text_.size() || text_.at(quote + 1) != u'"')
            break;
        ++doubled;
        quote += 2;
    }
    if (quote < 0) {
        line_ += int(text_.mid(pos_).count(u'\n'));
        pos_ = text_.size();
        *problem = {openedOn,
                    QStringLiteral("a quoted field is never closed (unterminated quote)")};
        return false;
    }
    const QStringView quoted = text_.mid(start, quote - start);
    line_ += int(quoted.count(u'\n'));
    if (doubled == 0) {
        *field = quoted.toString();
    } else {
        field->reserve(quoted.size() - doubled);
        for (qsizetype from = 0; from < quoted.size();) {
            const qsizetype at = quoted.indexOf(u'"', from);
            const qsizetype end = at < 0 ? quoted.size() : at + 1; // one of the pair is kept
            field->append(quoted.mid(from, end - from));
            from = at < 0 ? end : end + 1;
        }
    }
    pos_ = quote + 1;
    return afterClosingQuote(problem);
}

void CsvRows::readPlainField(QString* field)
{
    const qsizetype start = pos_;
    while (pos_ < text_.size() && text_.at(pos_) != u',' && text_.at(pos_) != u'\n')
        ++pos_;
    qsizetype end = pos_;
    if (end > start && text_.at(end - 1) == u'\r' && (atEnd() || text_.at(pos_) == u'\n'))
        --end;
    *field = text_.mid(start, end - start).toString();
}

bool CsvRows::afterClosingQuote(Problem* problem)
{
    if (pos_ < text_.size() && text_.at(pos_) == u'\r')
        ++pos_;
    if (atEnd() || text_.at(pos_) == u',' || text_.at(pos_) == u'\n')
        return true;
    *problem = {line_, QStringLiteral("text follows the closing quote of a field")};
    return false;
}

void CsvRows::skipLine()
{
    while (pos_ < text_.size() && text_.at(pos_) != u'\n')
        ++pos_;
    if (pos_ < text_.size()) {
        ++pos_;
        ++line_;
    }
}

QString csvField(const QString& text)
{
    const bool plain = !text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
                       !text.contains(u'\r');
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}
