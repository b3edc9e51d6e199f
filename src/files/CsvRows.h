#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Reads CSV text row by row: fields split at commas, rows ended by LF or CR LF outside quotes, a
// quoted field running over line ends, a doubled quote standing for one. Every row knows the
// line it began on, so that a problem can be pointed at.
class CsvRows {
public:
    struct Row {
        int line = 0;
        QStringList fields;
    };
    struct Problem {
        int line = 0;
        QString what;
    };

    explicit CsvRows(QStringView text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    // The next row; false, with the problem, when a quote is left open or text follows a closing
    // quote. After text that follows a closing quote the reader goes on at the next line; a quote
    // left open takes the rest of the text with it.
    bool next(Row* row, Problem* problem);

private:
    bool readField(QString* field, Problem* problem);
    void readPlainField(QString* field);
    bool afterClosingQuote(Problem* problem);
    void skipLine();

    QStringView text_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

// The text of a field as a CSV row holds it: quoted, each quote doubled, when it holds a comma,
// a quote or a line end.
QString csvField(const QString& text);
