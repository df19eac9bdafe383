#pragma once
// The splash window: a borderless picture in the middle of the screen with a short sound. It is
// shown modally at start-up and from the help menu's "Сигнал", and closes on a click, on Enter or
// by itself after 11 seconds.

#include <QDialog>
#include <QPixmap>

#include "platform/checkedconnect.h"

class QLabel;
class QPushButton;
class QSoundEffect;
class QTimer;
struct TMainSettings;

class TLogoForm1 : public QDialog {
 public:
  explicit TLogoForm1(QWidget* parent = nullptr);

  static constexpr int TimerInterval = 11000;

  QLabel* Image1 = nullptr;
  QPushButton* Button1 = nullptr;  // the default button, so that Enter closes
  QTimer* Timer1 = nullptr;
  // Created on the first sound, so that a silent splash never touches the sound device.
  QSoundEffect* MediaPlayer1 = nullptr;

  // The picture of the form, drawn on the first call: 301 x 406 pixels.
  static QPixmap Picture();
  // The sound file the last showing chose ("" when it stayed silent).
  QString SoundFile() const { return FSoundFile; }
  // The settings whose "PlaySound" decides the sound; without them the splash plays.
  const TMainSettings* Settings = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  static void DrawPicture(QImage& image);
  void FormShow();
  void Image1Click();
  void FormClose();
  QString FSoundFile;
  TConnections FConnections;
};
