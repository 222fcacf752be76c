#pragma once

#include <QListView>

#include <string>
#include <string_view>
#include <vector>

class EntryModel;
class Lines;
class QuestionIndex;

// A single-selection, unsorted list of 8-bit text entries. Long entries show elided; what
// the list holds is always the whole line.
class ListBox : public QListView
{
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent = nullptr);
    ~ListBox() override;

    int count() const;
    std::vector<std::string> items() const;
    void clear();
    void append(std::string_view entry);

    // The selected row, -1 when none. Qt's current row is not a selection: a focus-in sets
    // it without selecting anything.
    int selectedIndex() const;
    void setSelectedIndex(int row);

    // Brings the entries in step with the question index over lines, rewriting only the
    // rows of the index's last change when the list has followed every change before it.
    // Leaves no entry selected.
    void showIndex(const QuestionIndex &index, const Lines &lines);

protected:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private:
    EntryModel *m_model;
    // The index revision the rows show; -1 when they follow no index.
    int m_shownRevision = -1;
};
