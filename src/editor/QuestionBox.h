#pragma once

#include <QPlainTextEdit>

// The editor's multi-line question box. It holds at most as many characters, typed or pasted,
// as the bank's question field, counting each line break as the two characters (CR LF) the
// bank stores for it. Text set by the program is not limited.
class QuestionBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit QuestionBox(int storedLimit, QWidget* parent = nullptr);

    // The text with line feeds for line breaks, exactly as typed (no character is replaced).
    QString text() const;
    // The number of characters the text takes in the bank.
    static qsizetype storedLength(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Stored characters that may still be inserted in place of the selection.
    qsizetype room() const;

    int storedLimit_;
};
