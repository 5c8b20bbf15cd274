#pragma once
// The only way the program's logic touches the window's controls. Texts
// are GBK; indexes count from 0. Once the window has been closed, the
// operations leave the controls alone: what would give an index gives -1,
// a text the absent text, a count 0.

#include "text/text_value.h"

namespace vorlakin {

class MainWindow;

// The window the operations work on, set at start-up (null: none).
void SetOperatedWindow(MainWindow* window);

enum class TextControl { 快递单号, 快递 };

// 快递: appends an item; its index, or -1.
int AddComboItem(const Text& text);
// 快递: above the last index means the last, below -1 means -1; -1 selects
// nothing and leaves the box empty.
void SetComboSelection(int index);
// 快递: the selected item's name; 快递单号: the typed text. An empty text
// comes back absent.
Text GetControlText(TextControl control);
// 记录: a row whose first column holds the text, at `position` (left out or
// negative: after the last row); the new row's index, or -1.
int InsertListRow(const Text& itemText, int position = -1);
// 记录: sets one cell; a row or column that does not exist is ignored.
void SetListCell(int row, int column, const Text& text);
int GetListRowCount();
// 记录: removes every row; the columns and their widths stay.
void ClearList();
// 状态条1: shows the text in the given part; it has one part, 0.
void SetStatusText(int part, const Text& text);

}  // namespace vorlakin
