#pragma once

#include <QPlainTextEdit>

// The editor's multi-line text boxes: the question and the explanation. Each holds at most so
// much text, typed or pasted, measured as the file it goes to counts it. Text set by the program
// is not limited.
class LimitedTextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    // How much room a text takes where it is kept.
    using Measure = qsizetype (*)(const QString& text);

    LimitedTextBox(int limit, Measure measure, QWidget* parent = nullptr);

    // The text with line feeds for line breaks, exactly as typed (no character is replaced).
    QString text() const;
    // The bank's question field: each line break takes the two characters (CR LF) stored for it.
    static qsizetype storedLength(const QString& text);
    // The notes file: characters as a reader counts them, a pair of surrogates as one.
    static qsizetype characters(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Room that may still be filled in place of the selection.
    qsizetype room() const;
    // The longest start of text that fits into room, never ending within a surrogate pair.
    QString fitting(const QString& text, qsizetype room) const;

    int limit_;
    Measure measure_;
};
