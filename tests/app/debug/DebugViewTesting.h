// What the debugger views' tests share: a machine state to take snapshots of, and the
// student's ways into a table (reading cells, double-clicking, typing into a cell's editor).
#pragma once

#include "app/debug/DebugSnapshot.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora::testing
{

class DebugViewTest : public ::testing::Test
{
protected:
    app::DebugSnapshot snapshot(machine::CpuModel model = machine::CpuModel::i80186) const
    {
        return {&now, &before, &memory, &info, loadSegment, model};
    }

    machine::Memory memory;
    machine::Registers now;
    machine::Registers before;
    debugger::DebugInfo info;
    std::uint16_t loadSegment = 0x1000;
};

inline QString textAt(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

inline bool emphasized(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item && item->font().bold();
}

inline QRect cellRect(QTableWidget *table, int row, int column)
{
    return table->visualRect(table->model()->index(row, column));
}

// A press and release, then the double-click: a view takes a double-click only on the item
// the press before it was on.
inline void doubleClick(QTableWidget *table, int row, int column)
{
    const QPoint at = cellRect(table, row, column).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
}

// The in-place editor open in the table, if any.
inline QLineEdit *openEditor(QTableWidget *table)
{
    return table->viewport()->findChild<QLineEdit *>();
}

// Types text into the open editor and presses Enter, which commits once events are processed.
inline void typeAndEnter(QLineEdit *editor, const QString &text)
{
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed editor
}

// Double-clicks the cell and types text into the editor that opens; false when none opens.
inline bool editCell(QTableWidget *table, int row, int column, const QString &text)
{
    doubleClick(table, row, column);
    QLineEdit *editor = openEditor(table);
    if (!editor)
        return false;
    typeAndEnter(editor, text);
    return true;
}

} // namespace velmora::testing
