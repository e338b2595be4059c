#include "app/debug/DebugViewParts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace velmora::app
{

QTableWidget *makeDebugTable(QWidget *parent, int rows, int columns)
{
    auto *table = new QTableWidget(rows, columns, parent);
    table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    // Sizing to the contents at every change of a cell would measure every cell each time:
    // rows take the font's height, and the views fit the columns once they are filled.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(QFontMetrics(table->font()).height() + 4);
    table->setShowGrid(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    return table;
}

QTableWidgetItem *tableCell(QTableWidget *table, int row, int column, bool editable)
{
    QTableWidgetItem *cell = table->item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        table->setItem(row, column, cell);
    }
    const Qt::ItemFlags plain = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    cell->setFlags(editable ? plain | Qt::ItemIsEditable : plain);
    return cell;
}

void emphasize(QTableWidgetItem *cell, bool on)
{
    QFont font = cell->tableWidget()->font();
    font.setBold(on);
    cell->setFont(font);
    cell->setForeground(on ? QBrush(QColor(0xC0, 0x00, 0x00)) : QBrush());
}

QLabel *makeMessageLine(QWidget *parent)
{
    auto *line = new QLabel(parent);
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(true);
    line->setStyleSheet(QStringLiteral("color: #C00000"));
    line->hide();
    return line;
}

void showMessage(QLabel *line, const QString &text)
{
    line->setText(text);
    line->setVisible(!text.isEmpty());
}

void HexCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor); edit && OnCommit)
        OnCommit(index, edit->text());
}

} // namespace velmora::app
