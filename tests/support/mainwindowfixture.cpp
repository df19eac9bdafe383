#include "tests/support/mainwindowfixture.h"

#include <QApplication>
#include <QWindow>
#include <fstream>

#include "core/keyboard.h"
#include "core/tbible.h"

// The window system's entry for a key event (what a real keyboard delivers to a window).
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);

void TMainWindowTest::SetUp() {
  MainFont = TFont{"Times New Roman", 12, 0, RUSSIAN_CHARSET, 0};
  SelectBulgarianLayout(false);
}

void TMainWindowTest::TearDown() {
  // The other windows are the main window's children; they go first.
  Picture.reset();
  Dic.reset();
  Range.reset();
  Options.reset();
  Main.reset();
  for (auto& bible : Bibles) bible.reset();
  IniFile = nullptr;
  Ini.reset();
  SelectBulgarianLayout(false);
}

void TMainWindowTest::Settings(const std::string& text) {
  std::ofstream(Dir.File("bible.ini"), std::ios::binary) << text;
}

TMainForm1& TMainWindowTest::Start(bool shown, const std::string& iniPath) {
  Ini = std::make_unique<TMyIniFile>(iniPath.empty() ? Dir.File("bible.ini") : iniPath);
  IniFile = Ini.get();
  Main = std::make_unique<TMainForm1>();
  DataRoot = Dir.Path();  // the window takes the executable's folder first
  Main->ListVersions();
  Options = std::make_unique<TOptionsForm1>(Main.get());
  Range = std::make_unique<TRangeForm1>(Main.get());
  Dic = std::make_unique<TDic_Form1>(Main->DictionaryFolder, Main.get());
  Picture = std::make_unique<TPictureForm1>(Main.get());
  Connect();
  Main->resize(1000, 700);
  if (shown) {
    Main->show();
    QApplication::setActiveWindow(Main.get());
  }
  return *Main;
}

void TMainWindowTest::Connect() {
  Main->SetWindows({nullptr, Range.get(), Options.get(), nullptr, Dic.get(), Picture.get()});
}

void TMainWindowTest::NewDictionary() {
  Dic.reset();
  Dic = std::make_unique<TDic_Form1>(Main->DictionaryFolder, Main.get());
  Connect();
}

TBibleForm1* TMainWindowTest::Open(int version, int book, int chapter, int verse) {
  Main->OpenBibleWindow(version, book, chapter, verse);
  TBibleForm1* form = Main->ActiveBibleForm();
  if (form) form->FormActivate();
  if (Main->isVisible()) QApplication::setActiveWindow(Main.get());
  return form;
}

void SendKey(int code, const QString& text, Qt::KeyboardModifiers modifiers, QWidget* window) {
  if (!window) {
    QWidget* focus = QApplication::focusWidget();
    window = focus ? focus->window() : QApplication::activeWindow();
  }
  if (!window) window = QApplication::activeModalWidget();
  ASSERT_TRUE(window);
  qt_handleKeyEvent(window->windowHandle(), QEvent::KeyPress, code, modifiers, text, false, 1);
  qt_handleKeyEvent(window->windowHandle(), QEvent::KeyRelease, code, modifiers, text, false, 1);
}

void TypeKeys(const QString& text, QWidget* window) {
  for (QChar c : text) {
    const int code = c == QLatin1Char(' ') ? int(Qt::Key_Space) : int(c.toUpper().unicode());
    SendKey(code, QString(c), c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, window);
  }
}
