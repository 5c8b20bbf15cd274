#include "ui/main_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <algorithm>
#include <initializer_list>

#include "ui/application_icon.h"

namespace vorlakin {
namespace {

// The courier list's items, one pixel taller than the style's own.
class TallerItemDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rheight() += 1;
    return size;
  }
};

// Selected text looks unselected while the control does not have the focus.
void HideSelectionWhenInactive(QWidget* control) {
  QPalette palette = control->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Inactive, QPalette::Base));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Inactive, QPalette::Text));
  control->setPalette(palette);
}

// The height a drop-down list may open to, its own box included.
constexpr int kComboListHeight = 160;

}  // namespace

QString MainWindowCaption() { return QStringLiteral("Vorlakin-免费版  意见与联系：vorlakin@example.com"); }

MainWindow::MainWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(MainWindowCaption());
  setWindowIcon(ApplicationIcon());
  setFixedSize(kClientWidth, kClientHeight);  // no resizing, no maximising

  // The frames first, so that the controls have their parents; the
  // stacking and Tab orders below follow the window's control list.
  分组框2 = new QGroupBox(QStringLiteral("记录"), this);
  分组框2->setGeometry(1, 51, 458, 231);
  分组框1 = new QGroupBox(QStringLiteral("快递信息"), this);
  分组框1->setGeometry(1, 1, 458, 50);

  状态条1 = new QStatusBar(this);
  状态条1->setGeometry(0, 277, 460, 20);
  状态条1->setSizeGripEnabled(false);
  statusPart = new QLabel(状态条1);
  statusPart->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  状态条1->addWidget(statusPart, 1);

  记录 = new QTableWidget(0, 2, 分组框2);
  记录->setGeometry(5, 14, 448, 212);
  记录->setHorizontalHeaderLabels({QStringLiteral("时间"), QStringLiteral("地点和跟踪进度")});
  QHeaderView* header = 记录->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->resizeSection(0, 135);
  header->resizeSection(1, 309);
  记录->verticalHeader()->hide();
  记录->setShowGrid(true);
  记录->setSortingEnabled(false);
  记录->setSelectionBehavior(QAbstractItemView::SelectRows);
  记录->setSelectionMode(QAbstractItemView::SingleSelection);
  记录->setEditTriggers(QAbstractItemView::NoEditTriggers);
  记录->setTabKeyNavigation(false);  // or Tab would never leave the list
  记录->setWordWrap(false);
  记录->setFocusPolicy(Qt::StrongFocus);
  HideSelectionWhenInactive(记录);

  按钮1 = new QPushButton(QStringLiteral("查询"), 分组框1);
  按钮1->setGeometry(381, 14, 66, 27);
  按钮1->setAutoDefault(false);
  按钮1->setDefault(false);
  按钮1->setFocusPolicy(Qt::StrongFocus);

  快递 = new QComboBox(分组框1);
  快递->setGeometry(253, 18, 121, 20);
  快递->setEditable(false);
  快递->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));  // a list under the box
  快递->setItemDelegate(new TallerItemDelegate(快递));
  快递->setMaxVisibleItems(std::max(1, (kComboListHeight - 20) / (fontMetrics().height() + 3)));
  快递->setFocusPolicy(Qt::StrongFocus);

  标签2 = new QLabel(QStringLiteral("快递"), 分组框1);
  标签2->setGeometry(226, 16, 33, 24);

  快递单号 = new QLineEdit(分组框1);
  快递单号->setGeometry(59, 18, 159, 20);
  快递单号->setFocusPolicy(Qt::StrongFocus);
  HideSelectionWhenInactive(快递单号);

  标签1 = new QLabel(QStringLiteral("快递单号"), 分组框1);
  标签1->setGeometry(8, 18, 54, 21);

  // Earlier controls of a parent lie above later ones.
  for (QWidget* control : std::initializer_list<QWidget*>{标签1, 快递单号, 标签2, 快递, 按钮1}) {
    control->raise();
  }
  for (QWidget* control : std::initializer_list<QWidget*>{分组框1, 分组框2, 状态条1}) {
    control->raise();
  }

  setTabOrder(快递单号, 快递);
  setTabOrder(快递, 按钮1);
  setTabOrder(按钮1, 记录);

  // Every key press aimed at a control passes the window's rules first.
  for (QWidget* control : std::initializer_list<QWidget*>{快递单号, 快递, 按钮1, 记录}) {
    control->installEventFilter(this);
  }
}

bool MainWindow::HandleKey(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      close();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;  // Enter does nothing anywhere in this window
    default:
      return false;
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) {
    return true;
  }
  if (watched == 快递单号 && event->type() == QEvent::FocusIn) {
    emit NumberBoxGotFocus();
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event)) {
    QWidget::keyPressEvent(event);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  closed_ = true;  // never refused
  event->accept();
}

}  // namespace vorlakin
