#include "memo.h"

#include "codepage.h"
#include "document/exceptions.h"
#include "guard.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// One character is one byte, except the paragraph separator, which is saved as CR LF.
std::size_t bytesOf(const QString &text)
{
    return std::size_t(text.size() + text.count(QChar::ParagraphSeparator)
                       + text.count(QChar(u'\n')));
}

} // namespace

Memo::Memo(QWidget *parent, std::size_t capacity) : QPlainTextEdit(parent), m_capacity(capacity)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int charsRemoved, int charsAdded) noexcept {
                runGuarded([&] { onContentsChange(position, charsRemoved, charsAdded); });
            });
}

int Memo::count() const
{
    const QTextDocument *doc = document();
    const bool emptyLast = doc->lastBlock().length() <= 1;
    return doc->blockCount() - (emptyLast ? 1 : 0);
}

std::string Memo::line(int i) const
{
    if (i < 0 || i >= count())
        return {};
    return encodeLine(document()->findBlockByNumber(i).text());
}

void Memo::insert(int i, std::string_view s)
{
    QTextDocument *doc = document();
    const int blocks = doc->blockCount();
    if (i < 0 || i > blocks)
        return;
    QTextCursor cursor(doc);
    if (i < blocks) {
        cursor.setPosition(doc->findBlockByNumber(i).position());
        cursor.beginEditBlock();
        cursor.insertText(decodeLine(s));
        cursor.insertBlock();
        cursor.endEditBlock();
    } else {
        // Past the last line only when it is not empty: the new line goes at the end.
        if (doc->lastBlock().length() <= 1)
            return;
        cursor.movePosition(QTextCursor::End);
        cursor.beginEditBlock();
        cursor.insertBlock();
        cursor.insertText(decodeLine(s));
        cursor.endEditBlock();
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

void Memo::remove(int i)
{
    QTextDocument *doc = document();
    if (i < 0 || i >= doc->blockCount())
        return;
    const QTextBlock block = doc->findBlockByNumber(i);
    QTextCursor cursor(doc);
    cursor.setPosition(block.position());
    if (block.next().isValid()) {
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else {
        // The last line loses its characters only; the break in front of it stays.
        if (block.length() <= 1)
            return;
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
    setTextCursor(cursor);
    ensureCursorVisible();
}

std::string Memo::text() const
{
    // The raw text keeps a no-break space as it is, unlike toPlainText().
    return encodeText(document()->toRawText());
}

std::size_t Memo::byteSize() const
{
    // Each paragraph separator counts once in characterCount() but is two bytes on disk.
    const QTextDocument *doc = document();
    return std::size_t(doc->characterCount() - 1) + std::size_t(doc->blockCount() - 1);
}

void Memo::replaceSilently(const QString &text)
{
    m_silent = true;
    setPlainText(text);
    m_silent = false;
    m_blockCount = document()->blockCount();
}

void Memo::clear()
{
    replaceSilently(QString());
    m_index.rebuild(std::string_view());
    m_modified = false;
}

void Memo::load(const std::string &fileName)
{
    std::string bytes = readFaqFile(fileName, m_capacity);
    // A file with a NUL never equals the text, which holds none, so it always loads.
    if (bytes.size() == byteSize() && bytes == text())
        return;
    bytes.resize(beforeFirstNul(bytes).size());
    if (bytes.size() > m_capacity)
        throw EInvalidOperation("Text exceeds memo capacity");
    replaceSilently(decodeText(bytes));
    m_index.rebuild(bytes);
    m_modified = false;
    Q_EMIT changed();
}

void Memo::save(const std::string &fileName) const
{
    saveFaqFile(fileName, text());
}

void Memo::onContentsChange(int position, int charsRemoved, int charsAdded)
{
    Q_UNUSED(charsRemoved);
    if (m_silent || m_composing)
        return;
    const QTextDocument *doc = document();
    const int blocks = doc->blockCount();
    const int first = doc->findBlock(position).blockNumber();
    QTextBlock lastTouched = doc->findBlock(position + charsAdded);
    if (!lastTouched.isValid())
        lastTouched = doc->lastBlock();
    const int added = lastTouched.blockNumber() - first + 1;
    const int removed = added - (blocks - m_blockCount);
    m_blockCount = blocks;
    m_index.update(*this, first, removed, added);
    m_modified = true;
    Q_EMIT changed();
}

bool Memo::fits(const QString &text) const
{
    const std::size_t replaced = bytesOf(textCursor().selectedText());
    return byteSize() - replaced + bytesOf(text) <= m_capacity;
}

void Memo::keyPressEvent(QKeyEvent *event)
{
    // Shift+Enter would insert a soft line separator, which the file format cannot hold:
    // every line break typed is a hard one.
    if (event->matches(QKeySequence::InsertParagraphSeparator)
        || event->matches(QKeySequence::InsertLineSeparator)) {
        if (fits(QStringLiteral("\n"))) {
            QTextCursor cursor = textCursor();
            cursor.insertBlock();
            setTextCursor(cursor);
            ensureCursorVisible();
        }
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && (typed.front().isPrint() || typed.front() == u'\t');
    if (!inserts) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const QString insertable = toInsertable(typed);
    if (!fits(insertable))
        return;
    if (insertable == typed) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(event->type(), event->key(), event->modifiers(), insertable,
                       event->isAutoRepeat(), ushort(event->count()));
    QPlainTextEdit::keyPressEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}

void Memo::inputMethodEvent(QInputMethodEvent *event)
{
    const QString committed = event->commitString();
    // Qt reports a composition in progress as a change of the document, though the text
    // stays as it is until the composition is committed.
    if (committed.isEmpty() && event->replacementLength() == 0 && !textCursor().hasSelection()) {
        m_composing = true;
        QPlainTextEdit::inputMethodEvent(event);
        m_composing = false;
        return;
    }
    const QString insertable = toInsertable(committed);
    if (insertable == committed && fits(insertable)) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent replaced(event->preeditString(), event->attributes());
    replaced.setCommitString(fits(insertable) ? insertable : QString(),
                             event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&replaced);
}

void Memo::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    const QString insertable = toInsertable(source->text());
    if (insertable.isEmpty() || !fits(insertable))
        return;
    QTextCursor cursor = textCursor();
    cursor.insertText(insertable);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *Memo::createMimeDataFromSelection() const
{
    // Qt's own copy turns a no-break space into a space; the byte must survive a copy.
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, u'\n');
    auto *mime = new QMimeData;
    mime->setText(selected);
    return mime;
}
