#pragma once
// The windows of the program over generated data in a temporary folder, for the widget tests:
// the main window with the dialogs and the dictionary and picture windows, created and connected
// as the program entry does, and keys delivered as the window system delivers them.

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <string>

#include "forms/tbibleform1.h"
#include "forms/tdic_form1.h"
#include "forms/tmainform1.h"
#include "forms/toptionsform1.h"
#include "forms/tpictureform1.h"
#include "forms/trangeform1.h"
#include "settings/tmyinifile.h"
#include "tests/support/testversion.h"

class TMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The settings file's contents, written before the start.
  void Settings(const std::string& text);
  // The windows created over the data root Dir, with the settings file Dir + "bible.ini" (or the
  // given one), the main window 1000 x 700 and, when shown, the active window. The splash and the
  // list-size warning, both modal, are left out.
  TMainForm1& Start(bool shown = false, const std::string& iniPath = "");
  // A window of the version at the place, opened and activated as the main window does at start.
  TBibleForm1* Open(int version, int book, int chapter, int verse);
  // The dictionary window made anew (after its files changed) and connected.
  void NewDictionary();

  TTempDir Dir;
  std::unique_ptr<TMyIniFile> Ini;
  std::unique_ptr<TMainForm1> Main;
  std::unique_ptr<TOptionsForm1> Options;
  std::unique_ptr<TRangeForm1> Range;
  std::unique_ptr<TDic_Form1> Dic;
  std::unique_ptr<TPictureForm1> Picture;

 private:
  void Connect();
};

// A key pressed and released as the window system delivers it: to the given window, else to the
// window of the focused widget, the active window or the modal one.
void SendKey(int code, const QString& text = QString(), Qt::KeyboardModifiers modifiers = {},
             QWidget* window = nullptr);
// Each character as the key that types it, with Shift for a capital.
void TypeKeys(const QString& text, QWidget* window = nullptr);
