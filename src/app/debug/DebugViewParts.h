// What the debugger's views are built of: compact tables in a fixed-pitch font, a message
// line, and in-place editing of hexadecimal cells that reports the text typed instead of
// changing the cell.
#pragma once

#include <QStyledItemDelegate>

#include <functional>

class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace velmora::app
{

// A table of rows x columns empty cells without headers or grid, which edits nothing by
// itself; its owner calls resizeColumnsToContents() once the cells are filled.
QTableWidget *makeDebugTable(QWidget *parent, int rows, int columns);
// The cell's item, made on first use; editable or not.
QTableWidgetItem *tableCell(QTableWidget *table, int row, int column, bool editable = false);
// Shows a cell in bold red (a changed value, the current place) or plainly.
void emphasize(QTableWidgetItem *cell, bool on);

// A line for a view's messages, hidden while it has none.
QLabel *makeMessageLine(QWidget *parent);
void showMessage(QLabel *line, const QString &text);

// Opens a line edit on an editable cell; what the student commits goes to OnCommit, and the
// cell keeps the text the view gave it (the view's owner decides what changes).
class HexCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    std::function<void(const QModelIndex &cell, const QString &typed)> OnCommit;

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

} // namespace velmora::app
