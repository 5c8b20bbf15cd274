// The window, start-up, keys, focus and control operations, with real
// widgets under Qt Test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "query/courier_catalogue.h"
#include "support/text_printing.h"
#include "text/code_page.h"
#include "text/fatal_error.h"
#include "ui/control_operations.h"
#include "ui/gbk_strings.h"
#include "ui/main_window.h"
#include "ui/startup.h"
#include "web/pending_messages.h"

namespace vorlakin {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallUiHooks();
    LoadMainWindow();
    window = TheMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }
  void TearDown() override {
    window->close();
    QApplication::processEvents();
    SetOperatedWindow(nullptr);
    delete window;
  }

  QWidget* Focused() const { return QApplication::focusWidget(); }

  void FillList(int rows) {
    for (int i = 0; i < rows; ++i) {
      const int row = InsertListRow(T("2026-12-01 08:00"));
      SetListCell(row, 1, Gbk("已签收"));
    }
  }

  MainWindow* window = nullptr;
};

TEST_F(WindowTest, StartsWithTheCouriersFilledAndTheFocusInTheNumberBox) {
  EXPECT_EQ(window->size(), QSize(460, 297));
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Vorlakin-免费版")));
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(window->minimumSize(), window->maximumSize());  // not resizable
  ASSERT_EQ(window->快递->count(), 79);
  const auto& order = CouriersInComboOrder();
  for (int i = 0; i < 79; ++i) {
    EXPECT_EQ(window->快递->itemText(i), ToQString(Text::Present(order[static_cast<std::size_t>(i)]->displayName)));
  }
  EXPECT_EQ(window->快递->currentText(), QStringLiteral("圆通快递"));
  EXPECT_EQ(window->快递->itemText(78), QStringLiteral("远成物流"));
  EXPECT_EQ(Focused(), window->快递单号);
  EXPECT_EQ(GetListRowCount(), 0);
  EXPECT_TRUE(window->statusPart->text().isEmpty());
  EXPECT_TRUE(window->快递单号->text().isEmpty());
}

TEST_F(WindowTest, ControlsSitWhereTheLayoutPutsThem) {
  struct Place {
    QWidget* control;
    QWidget* parent;
    QRect geometry;
    QString text;
  };
  const Place places[] = {
      {window->状态条1, window, {0, 277, 460, 20}, {}},
      {window->记录, window->分组框2, {5, 14, 448, 212}, {}},
      {window->分组框2, window, {1, 51, 458, 231}, QStringLiteral("记录")},
      {window->按钮1, window->分组框1, {381, 14, 66, 27}, QStringLiteral("查询")},
      {window->快递, window->分组框1, {253, 18, 121, 20}, QStringLiteral("圆通快递")},
      {window->标签2, window->分组框1, {226, 16, 33, 24}, QStringLiteral("快递")},
      {window->快递单号, window->分组框1, {59, 18, 159, 20}, {}},
      {window->标签1, window->分组框1, {8, 18, 54, 21}, QStringLiteral("快递单号")},
      {window->分组框1, window, {1, 1, 458, 50}, QStringLiteral("快递信息")},
  };
  for (const Place& place : places) {
    EXPECT_EQ(place.control->parentWidget(), place.parent) << place.control->metaObject()->className();
    EXPECT_EQ(place.control->geometry(), place.geometry) << place.control->metaObject()->className();
    EXPECT_TRUE(place.control->isVisible());
  }
  EXPECT_EQ(window->分组框2->title(), QStringLiteral("记录"));
  EXPECT_EQ(window->分组框1->title(), QStringLiteral("快递信息"));
  EXPECT_EQ(window->按钮1->text(), QStringLiteral("查询"));
  EXPECT_EQ(window->标签1->text(), QStringLiteral("快递单号"));
  EXPECT_EQ(window->标签2->text(), QStringLiteral("快递"));
  EXPECT_FALSE(window->按钮1->isDefault());
  EXPECT_FALSE(window->快递->isEditable());
  EXPECT_FALSE(window->状态条1->isSizeGripEnabled());
  QHeaderView* header = window->记录->horizontalHeader();
  EXPECT_EQ(window->记录->horizontalHeaderItem(0)->text(), QStringLiteral("时间"));
  EXPECT_EQ(window->记录->horizontalHeaderItem(1)->text(), QStringLiteral("地点和跟踪进度"));
  EXPECT_EQ(header->sectionSize(0), 135);
  EXPECT_EQ(header->sectionSize(1), 309);
  EXPECT_FALSE(window->记录->isSortingEnabled());
  EXPECT_FALSE(window->记录->verticalHeader()->isVisible());
}

TEST_F(WindowTest, LongRowsKeepTheColumnWidthsAndHeaderClicksKeepTheOrder) {
  const int first = InsertListRow(T("b"));
  SetListCell(first, 1, Text(std::string(400, 'x').c_str()));
  const int second = InsertListRow(T("a"));
  QHeaderView* header = window->记录->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(0) + 10, 5));
  EXPECT_EQ(header->sectionSize(0), 135);
  EXPECT_EQ(header->sectionSize(1), 309);
  EXPECT_EQ(window->记录->item(first, 0)->text(), QStringLiteral("b"));
  EXPECT_EQ(window->记录->item(second, 0)->text(), QStringLiteral("a"));
}

TEST_F(WindowTest, TabAndShiftTabCycleThroughTheFourControls) {
  const QList<QWidget*> order = {window->快递单号, window->快递, window->按钮1, window->记录};
  ASSERT_EQ(Focused(), order[0]);
  for (int step = 1; step <= 8; ++step) {
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), order[step % 4]) << "after " << step << " Tab";
  }
  for (int step = 1; step <= 8; ++step) {
    QTest::keyClick(Focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), order[(8 - step) % 4]) << "after " << step << " Shift+Tab";
  }
}

TEST_F(WindowTest, EscClosesFromEveryControl) {
  QWidget* controls[] = {window->快递单号, window->快递, window->按钮1, window->记录};
  for (QWidget* control : controls) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << control->metaObject()->className();
    EXPECT_TRUE(window->IsClosed());
  }
}

TEST_F(WindowTest, EnterChangesNothingAnywhere) {
  int clicks = 0;
  QObject::connect(window->按钮1, &QPushButton::clicked, [&clicks] { ++clicks; });
  QTest::keyClicks(window->快递单号, "YT123");
  FillList(2);
  SetStatusText(0, T("kept"));
  QWidget* controls[] = {window->快递单号, window->快递, window->按钮1, window->记录};
  for (QWidget* control : controls) {
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Return);
    QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Focused(), control);
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->快递单号->text(), QStringLiteral("YT123"));
  EXPECT_EQ(window->快递->currentIndex(), 0);
  EXPECT_EQ(GetListRowCount(), 2);
  EXPECT_EQ(window->statusPart->text(), QStringLiteral("kept"));
}

TEST_F(WindowTest, SpacePressesTheFocusedButton) {
  int clicks = 0;
  QObject::connect(window->按钮1, &QPushButton::clicked, [&clicks] { ++clicks; });
  window->按钮1->setFocus();
  QTest::keyClick(window->按钮1, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
}

TEST_F(WindowTest, FocusIntoTheNumberBoxClearsTheListButNotTheStatus) {
  window->按钮1->setFocus();
  FillList(3);
  SetStatusText(0, Gbk("未找到"));
  QTest::mouseClick(window->快递单号, Qt::LeftButton);
  EXPECT_EQ(Focused(), window->快递单号);
  EXPECT_EQ(GetListRowCount(), 0);
  EXPECT_EQ(window->statusPart->text(), QStringLiteral("未找到"));
  // Tab from the button to the list keeps the rows; Tab on to the number box clears them.
  window->按钮1->setFocus();
  FillList(2);
  QTest::keyClick(window->按钮1, Qt::Key_Tab);
  EXPECT_EQ(Focused(), window->记录);
  EXPECT_EQ(GetListRowCount(), 2);
  QTest::keyClick(window->记录, Qt::Key_Tab);
  EXPECT_EQ(Focused(), window->快递单号);
  EXPECT_EQ(GetListRowCount(), 0);
}

TEST_F(WindowTest, TheFocusComesBackAfterAnotherWindowWasActive) {
  QWidget other;
  other.resize(100, 100);
  const auto switchAwayAndBack = [&] {
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  };
  // On the button: the rows stay.
  window->按钮1->setFocus();
  FillList(2);
  switchAwayAndBack();
  EXPECT_EQ(Focused(), window->按钮1);
  EXPECT_EQ(GetListRowCount(), 2);
  // In the number box: coming back gives it the focus again, which clears the list.
  window->快递单号->setFocus();
  FillList(2);
  switchAwayAndBack();
  EXPECT_EQ(Focused(), window->快递单号);
  EXPECT_EQ(GetListRowCount(), 0);
}

TEST_F(WindowTest, ComboOperationsClampAndReportIndexes) {
  window->快递->clear();
  const auto& order = CouriersInComboOrder();
  for (int i = 0; i < 79; ++i) {
    EXPECT_EQ(AddComboItem(Text::Present(order[static_cast<std::size_t>(i)]->displayName)), i);
  }
  SetComboSelection(200);
  EXPECT_EQ(window->快递->currentIndex(), 78);
  EXPECT_EQ(GetControlText(TextControl::快递), Gbk("远成物流"));
  SetComboSelection(-5);
  EXPECT_EQ(window->快递->currentIndex(), -1);
  EXPECT_EQ(GetControlText(TextControl::快递), kAbsent);
  SetComboSelection(0);
  EXPECT_EQ(GetControlText(TextControl::快递), Gbk("圆通快递"));
}

TEST_F(WindowTest, NumberBoxTextComesBackAsGbkOrAbsent) {
  EXPECT_EQ(GetControlText(TextControl::快递单号), kAbsent);
  window->快递单号->setText(QStringLiteral(" YT 中通 "));
  EXPECT_EQ(GetControlText(TextControl::快递单号), Gbk(" YT 中通 "));
}

TEST_F(WindowTest, ListAndStatusOperationsFollowTheirArgumentRules) {
  FillList(3);
  EXPECT_EQ(InsertListRow(T("fourth")), 3);
  EXPECT_EQ(InsertListRow(T("second"), 1), 1);
  EXPECT_EQ(InsertListRow(T("last"), 99), 5);
  EXPECT_EQ(GetListRowCount(), 6);
  EXPECT_EQ(window->记录->item(1, 0)->text(), QStringLiteral("second"));
  SetListCell(7, 1, T("nowhere"));
  SetListCell(0, 2, T("nowhere"));
  SetListCell(-1, 0, T("nowhere"));
  for (int row = 0; row < GetListRowCount(); ++row) {
    for (int column = 0; column < 2; ++column) {
      EXPECT_NE(window->记录->item(row, column)->text(), QStringLiteral("nowhere"));
    }
  }
  SetListCell(1, 0, T("renamed"));
  EXPECT_EQ(window->记录->item(1, 0)->text(), QStringLiteral("renamed"));
  const int widths[] = {window->记录->columnWidth(0), window->记录->columnWidth(1)};
  ClearList();
  EXPECT_EQ(GetListRowCount(), 0);
  EXPECT_EQ(window->记录->columnCount(), 2);
  EXPECT_EQ(window->记录->columnWidth(0), widths[0]);
  EXPECT_EQ(window->记录->columnWidth(1), widths[1]);

  SetStatusText(0, Gbk("第一"));
  SetStatusText(1, Gbk("第二"));
  SetStatusText(-1, Gbk("第二"));
  EXPECT_EQ(window->statusPart->text(), QStringLiteral("第一"));
}

TEST_F(WindowTest, BytesThatAreNotGbkShowAsReplacementCharacters) {
  const int row = InsertListRow(T("ok\xFF"));
  SetListCell(row, 1, T("\x81"));  // a lead byte with nothing after it
  EXPECT_EQ(window->记录->item(row, 0)->text(), QStringLiteral("ok\uFFFD"));
  EXPECT_EQ(window->记录->item(row, 1)->text(), QStringLiteral("\uFFFD"));
}

TEST_F(WindowTest, AClosedWindowIsLeftAlone) {
  FillList(1);
  window->close();
  EXPECT_EQ(InsertListRow(T("late")), -1);
  EXPECT_EQ(AddComboItem(T("late")), -1);
  EXPECT_EQ(GetListRowCount(), 0);
  EXPECT_EQ(GetControlText(TextControl::快递), kAbsent);
  SetListCell(0, 1, T("late"));
  SetStatusText(0, T("late"));
  ClearList();
  EXPECT_EQ(window->记录->rowCount(), 1);  // the control itself was not touched
  EXPECT_TRUE(window->statusPart->text().isEmpty());
}

TEST_F(WindowTest, PendingMessagesAreDispatchedUntilTheWindowCloses) {
  int ran = 0;
  QTimer::singleShot(0, [&ran] { ++ran; });
  ProcessPendingMessages();
  EXPECT_EQ(ran, 1);
  window->close();  // the last window: the quit is on its way
  QTimer::singleShot(0, [&ran] { ++ran; });
  ProcessPendingMessages();
  EXPECT_EQ(ran, 1);
  QApplication::processEvents();  // the main loop would run it
  EXPECT_EQ(ran, 2);
}

// In a fresh process: start-up, Esc, and the loop's end give exit code 0.
TEST(ProgramDeathTest, EscThenTheLoopEndsWithExitCodeZero) {
  const auto run = [] {
    InstallUiHooks();
    LoadMainWindow();
    QTimer::singleShot(50, [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    RunMessageLoop();
    std::exit(0);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}

// A handler that waits like a query in its fetch, pumping pending messages,
// while the window is closed: it runs to its end without touching the
// closed window, and the loop then ends the program with 0.
TEST(ProgramDeathTest, ClosingWhileAHandlerWaitsStillEndsWithZero) {
  const auto run = [] {
    InstallUiHooks();
    LoadMainWindow();
    QTimer::singleShot(20, [] {
      QMetaObject::invokeMethod(TheMainWindow(), &QWidget::close, Qt::QueuedConnection);
      int late = 0;
      for (int i = 0; i < 100; ++i) {
        ProcessPendingMessages();
        late += InsertListRow(T("late")) == -1 ? 1 : 0;
      }
      if (late > 0) std::fputs("rows refused after the close\n", stderr);
    });
    RunMessageLoop();
    std::exit(0);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "rows refused after the close");
}

// A fatal report shows a modal box ("错误", error icon, the code and the
// message); once it is closed, the process ends with -1.
TEST(ProgramDeathTest, AFatalReportShowsTheBoxThenExitsWithMinusOne) {
  const auto run = [] {
    InstallUiHooks();
    QTimer::singleShot(50, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box != nullptr && box->windowTitle() == QStringLiteral("错误") && box->icon() == QMessageBox::Critical &&
          box->parentWidget() == nullptr && box->text().contains(QStringLiteral("4")) &&
          box->text().contains(QStringLiteral("数组下标小于 1"))) {
        std::fputs("box as expected\n", stderr);
      }
      if (box != nullptr) box->accept();
    });
    TextArray empty;
    (void)empty[0];
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(255), "error 4: .*box as expected");
}

TEST(ProgramProcess, WithoutADisplayTheWindowCannotLoadAndTheExitCodeIsMinusOne) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(VORLAKIN_BINARY), {});
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 255);
  EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("载入启动窗口失败")));
}

}  // namespace
}  // namespace vorlakin
