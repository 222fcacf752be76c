#include "listbox.h"

#include "codepage.h"
#include "document/questionindex.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>

class EntryModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_entries.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
            return {};
        return decodeLine(m_entries[std::size_t(index.row())]);
    }

    const std::vector<std::string> &entries() const { return m_entries; }

    void reset(std::vector<std::string> entries)
    {
        beginResetModel();
        m_entries = std::move(entries);
        endResetModel();
    }

    // Rows [first, first + removed) become the given rows.
    void replace(int first, int removed, std::vector<std::string> rows)
    {
        const int added = int(rows.size());
        const int kept = std::min(removed, added);
        for (int i = 0; i < kept; ++i)
            m_entries[std::size_t(first + i)] = std::move(rows[std::size_t(i)]);
        if (kept > 0)
            Q_EMIT dataChanged(index(first), index(first + kept - 1), {Qt::DisplayRole});
        const auto at = m_entries.begin() + first + kept;
        if (removed > kept) {
            beginRemoveRows({}, first + kept, first + removed - 1);
            m_entries.erase(at, at + (removed - kept));
            endRemoveRows();
        } else if (added > kept) {
            beginInsertRows({}, first + kept, first + added - 1);
            m_entries.insert(at, std::make_move_iterator(rows.begin() + kept),
                             std::make_move_iterator(rows.end()));
            endInsertRows();
        }
    }

private:
    std::vector<std::string> m_entries;
};

ListBox::ListBox(QWidget *parent) : QListView(parent), m_model(new EntryModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Without uniform sizes every reset measures every row.
    setUniformItemSizes(true);
}

ListBox::~ListBox() = default;

int ListBox::count() const
{
    return m_model->rowCount();
}

std::vector<std::string> ListBox::items() const
{
    return m_model->entries();
}

void ListBox::clear()
{
    m_model->reset({});
    m_shownRevision = -1;
}

void ListBox::append(std::string_view entry)
{
    m_model->replace(count(), 0, {std::string(entry)});
    m_shownRevision = -1;
}

int ListBox::selectedIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListBox::setSelectedIndex(int row)
{
    if (row < 0 || row >= count()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex index = m_model->index(row);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void ListBox::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                          const QList<int> &roles)
{
    // QListView lays every row out again after any change of data, which costs a pass over
    // all rows per keystroke in a heading. With uniform sizes, taken from the last row, a
    // change above the last row moves nothing: repainting the changed rows is enough.
    if (uniformItemSizes() && bottomRight.row() < m_model->rowCount() - 1) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    QListView::dataChanged(topLeft, bottomRight, roles);
}

void ListBox::showIndex(const QuestionIndex &index, const Lines &lines)
{
    const EntryChange change = index.lastChange();
    const bool followsIndex = m_shownRevision >= 0 && m_shownRevision + 1 == index.revision();
    if (followsIndex) {
        std::vector<std::string> rows;
        rows.reserve(std::size_t(change.added));
        for (int k = change.first; k < change.first + change.added; ++k)
            rows.push_back(index.entry(lines, k));
        m_model->replace(change.first, change.removed, std::move(rows));
    } else {
        std::vector<std::string> rows;
        rows.reserve(std::size_t(index.entryCount()));
        for (int k = 0; k < index.entryCount(); ++k)
            rows.push_back(index.entry(lines, k));
        m_model->reset(std::move(rows));
    }
    m_shownRevision = index.revision();
    selectionModel()->clear();
}
