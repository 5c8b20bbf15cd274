#include "ui/control_operations.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>

#include <algorithm>

#include "ui/gbk_strings.h"
#include "ui/main_window.h"

namespace vorlakin {
namespace {

QPointer<MainWindow> gWindow;

// The window while it is open.
MainWindow* Window() { return gWindow != nullptr && !gWindow->IsClosed() ? gWindow.data() : nullptr; }

}  // namespace

void SetOperatedWindow(MainWindow* window) { gWindow = window; }

int AddComboItem(const Text& text) {
  MainWindow* window = Window();
  if (window == nullptr) {
    return -1;
  }
  window->快递->addItem(ToQString(text));
  return window->快递->count() - 1;
}

void SetComboSelection(int index) {
  if (MainWindow* window = Window()) {
    window->快递->setCurrentIndex(std::clamp(index, -1, window->快递->count() - 1));
  }
}

Text GetControlText(TextControl control) {
  MainWindow* window = Window();
  if (window == nullptr) {
    return Text();
  }
  return ToGbkText(control == TextControl::快递 ? window->快递->currentText() : window->快递单号->text());
}

int InsertListRow(const Text& itemText, int position) {
  MainWindow* window = Window();
  if (window == nullptr) {
    return -1;
  }
  QTableWidget* list = window->记录;
  const int row = position < 0 ? list->rowCount() : std::min(position, list->rowCount());
  list->insertRow(row);
  list->setItem(row, 0, new QTableWidgetItem(ToQString(itemText)));
  list->setItem(row, 1, new QTableWidgetItem());
  return row;
}

void SetListCell(int row, int column, const Text& text) {
  MainWindow* window = Window();
  if (window == nullptr || row < 0 || row >= window->记录->rowCount() || column < 0 ||
      column >= window->记录->columnCount()) {
    return;
  }
  window->记录->item(row, column)->setText(ToQString(text));
}

int GetListRowCount() {
  MainWindow* window = Window();
  return window != nullptr ? window->记录->rowCount() : 0;
}

void ClearList() {
  if (MainWindow* window = Window()) {
    window->记录->setRowCount(0);
  }
}

void SetStatusText(int part, const Text& text) {
  MainWindow* window = Window();
  if (window != nullptr && part == 0) {
    window->statusPart->setText(ToQString(text));
  }
}

}  // namespace vorlakin
