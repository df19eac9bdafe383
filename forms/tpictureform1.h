#pragma once
// The picture window: a small stay-on-top window that shows one illustration of a dictionary
// word at the picture's own size, with the word as its caption. A click on the picture asks for
// the word in the dictionary window. It is created hidden at start and only hidden afterwards;
// it keeps its last picture while hidden.

#include <QWidget>
#include <string>

class QLabel;

class TPictureForm1 : public QWidget {
  Q_OBJECT

 public:
  explicit TPictureForm1(QWidget* parent = nullptr);

  QLabel* Image1 = nullptr;

  // Loads DataRoot + "Pictures/" + the file name and shows it with the word (ANSI bytes) as the
  // caption. A picture that cannot be loaded is reported in a message box, and the window keeps
  // its picture, caption and visibility; false then.
  bool ShowPicture(const std::string& word, const std::string& fileName);
  // The word whose picture is shown (ANSI bytes); empty before the first picture.
  const std::string& Word() const { return FWord; }
  void Image1Click();

 Q_SIGNALS:
  // The word of the picture is to be shown in the dictionary window.
  void LookUpRequested(const std::string& word);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetImage(const QImage& image);
  std::string FWord;
};
