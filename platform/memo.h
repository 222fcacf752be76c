#pragma once

#include "document/faqfile.h"
#include "document/lines.h"
#include "document/questionindex.h"

#include <QPlainTextEdit>

#include <string>

// The word-wrapping text area. Wrapping is only how it shows the text: every line operation
// works on hard lines, and a line reads whole.
//
// The change event, changed(), is raised once by every operation or edit that changes the
// text, synchronously inside it, and by nothing else: not by a no-op, a clear, a save or a
// load of an equal text. The modified flag is ours, not the document's, because undoing
// back to a saved state still counts as a change.
class Memo : public QPlainTextEdit, public Lines
{
    Q_OBJECT

public:
    // capacity: the most bytes the text may hold.
    explicit Memo(QWidget *parent = nullptr, std::size_t capacity = MemoCapacity);

    int count() const override;
    std::string line(int i) const override;
    void insert(int i, std::string_view s) override;
    void remove(int i) override;
    std::optional<int> findSeparator(int k) const override { return m_index.separatorLine(k); }

    // The whole text, CR LF between lines.
    std::string text() const;
    // Empties the text without a change event and clears the modified flag.
    void clear();
    // Replaces the text with a file's; throws EFOpenError or EInvalidOperation.
    void load(const std::string &fileName);
    // Throws EFCreateError or EWriteError.
    void save(const std::string &fileName) const;

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // The question index of the text, kept in step with every change.
    const QuestionIndex &questionIndex() const { return m_index; }

Q_SIGNALS:
    void changed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    void onContentsChange(int position, int charsRemoved, int charsAdded);
    // Whether replacing the selection by text keeps the text within capacity.
    bool fits(const QString &text) const;
    std::size_t byteSize() const;
    void replaceSilently(const QString &text);

    const std::size_t m_capacity;
    QuestionIndex m_index;
    int m_blockCount = 1;
    bool m_modified = false;
    bool m_silent = false;
    bool m_composing = false;
};
