#pragma once
// The picture window: a small stay-on-top window that shows one illustration of a dictionary
// word at the picture's own size, with the word as its caption. A click on the picture looks the
// word up in the dictionary window. It is created hidden at start and only hidden afterwards;
// it keeps its last picture while hidden.
//
// The illustration list (Pictures/DicPictures.txt under the data root) is read once, when the
// dictionary window is created; FirstPicture and NextPicture answer from it.

#include <QWidget>
#include <string>

#include "core/picturelist.h"

class QLabel;

// The illustration list, loaded by LoadPictureList.
extern TPictureList PictureList;
// Reads DataRoot + "Pictures/DicPictures.txt"; a missing file gives an empty list.
void LoadPictureList();
std::string FirstPicture(const std::string& word);
std::string NextPicture(const std::string& word, const std::string& current);

class TPictureForm1 : public QWidget {
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetImage(const QImage& image);
  std::string FWord;
};

extern TPictureForm1* PictureForm1;
