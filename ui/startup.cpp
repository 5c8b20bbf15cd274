#include "ui/startup.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

#include <new>

#include "query/courier_catalogue.h"
#include "text/code_page.h"
#include "text/fatal_error.h"
#include "ui/application_icon.h"
#include "ui/control_operations.h"
#include "ui/gbk_strings.h"
#include "ui/main_window.h"
#include "web/pending_messages.h"

namespace vorlakin {
namespace {

// Lives from start-up to the end of the process: handlers may still be
// running inside a nested pump when the window closes, so it is hidden,
// never deleted, then.
MainWindow* gWindow = nullptr;

void ShowFatalErrorBox(int code, std::string_view message) {
  if (QApplication::instance() == nullptr || QGuiApplication::primaryScreen() == nullptr) {
    return;  // nothing to show a box on; stderr has the report
  }
  QString text = ToQString(Text::Present(message));
  if (code != 0) {
    text = QStringLiteral("错误代码：%1\n%2").arg(code).arg(text);
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok, nullptr);
  box.exec();
}

// Dispatches what is queued, without waiting; nothing once the window is
// closed (closing the one window is the request to quit), so that a waiting
// fetch can finish and the loop below it can end the program.
void PumpPendingMessages() {
  if ((gWindow != nullptr && gWindow->IsClosed()) || QCoreApplication::instance() == nullptr) {
    return;
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

[[noreturn]] void ReportLoadFailure() { ReportFatalError(0, Utf8ToGbk("载入启动窗口失败")); }

bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The outer frame centred on the screen: by the frame the layout assumes
// until the window manager has framed the window, then by the real one.
void Centre(QWidget* window) {
  const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return;
  }
  const QRect area = screen->geometry();
  QSize outer = window->frameGeometry().size();
  if (outer == window->size()) {
    outer = QSize(MainWindow::kOuterWidth, MainWindow::kOuterHeight);
  }
  window->move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace

void InstallUiHooks() {
  SetFatalErrorPresenter(ShowFatalErrorBox);
  SetPendingMessagePump(PumpPendingMessages);
}

MainWindow* TheMainWindow() { return gWindow; }

void OnMainWindowCreated() {
  for (const CourierEntry* entry : CouriersInComboOrder()) {
    AddComboItem(Text::Present(entry->displayName));
  }
  SetComboSelection(0);
}

void OnNumberBoxGotFocus() { ClearList(); }

void LoadMainWindow() {
  MainWindow* window = nullptr;
  try {
    window = new MainWindow();
  } catch (const std::bad_alloc&) {
    ReportLoadFailure();
  }
  gWindow = window;
  SetOperatedWindow(window);
  QObject::connect(window, &MainWindow::NumberBoxGotFocus, &OnNumberBoxGotFocus);
  OnMainWindowCreated();

  Centre(window);
  window->show();
  Centre(window);
  window->activateWindow();
  window->raise();
  window->快递单号->setFocus(Qt::ActiveWindowFocusReason);
  // The got-focus event once more for whichever control holds the focus.
  if (QApplication::focusWidget() == window->快递单号) {
    OnNumberBoxGotFocus();
  }
}

int RunMessageLoop() {
  if (gWindow == nullptr || gWindow->IsClosed()) {
    return 0;
  }
  return QApplication::exec();
}

int RunProgram(int argc, char** argv) {
  InstallUiHooks();
  if (!HasDisplay()) {
    ReportLoadFailure();
  }
  QApplication application(argc, argv);
  QApplication::setWindowIcon(ApplicationIcon());
  LoadMainWindow();
  RunMessageLoop();
  return 0;
}

}  // namespace vorlakin
