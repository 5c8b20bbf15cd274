#pragma once
// The program's one window: a framed strip with the tracking-number box,
// the courier box and the query button, a framed result list, and a status
// bar. Controls keep the names the rest of the program knows them by.

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableWidget;

namespace vorlakin {

class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  // The client area the layout is drawn for.
  static constexpr int kClientWidth = 460;
  static constexpr int kClientHeight = 297;
  // The outer size the window is centred by until the frame is known.
  static constexpr int kOuterWidth = 466;
  static constexpr int kOuterHeight = 325;

  MainWindow();

  // Whether the window has been closed: from then on, the control
  // operations leave the controls alone.
  bool IsClosed() const { return closed_; }

  QStatusBar* 状态条1;
  QTableWidget* 记录;
  QGroupBox* 分组框2;
  QPushButton* 按钮1;
  QComboBox* 快递;
  QLabel* 标签2;
  QLineEdit* 快递单号;
  QLabel* 标签1;
  QGroupBox* 分组框1;
  QLabel* statusPart;  // the status bar's one part

 signals:
  void NumberBoxGotFocus();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool HandleKey(QKeyEvent* event);

  bool closed_ = false;
};

// The caption: the program's name and edition, and how to reach us.
QString MainWindowCaption();

}  // namespace vorlakin
