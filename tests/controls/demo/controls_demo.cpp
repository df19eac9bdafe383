// Shows the custom controls over generated data, as the main window's control panel and a Bible
// window arrange them: chapter and verse boxes, the verse history, the word list and a chapter.
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <random>
#include <set>

#include "controls/tbiblecombobox.h"
#include "controls/tbiblerichedit1.h"
#include "controls/tlargelistbox.h"
#include "controls/tmyspinedit.h"
#include "core/ansi.h"
#include "core/tlargestringlist.h"
#include "forms/tlistmessageform1.h"
#include "platform/codepage.h"
#include "platform/fontsubstitution.h"

namespace {

// A sorted list of generated Bulgarian-looking words with verse counts, held in memory.
class TDemoWordList : public TLargeStringList {
 public:
  TDemoWordList() {
    const std::string letters = QStringToAnsi(QStringLiteral("абвгдежзиклмнопрстуфхцчшъя"));
    const std::string vowels = QStringToAnsi(QStringLiteral("аеиоуъя"));
    std::mt19937 rng(1);
    std::set<std::string> seen;
    for (const char* w : {"бог", "господ", "любов", "слово", "светлина", "живот", "небето"})
      seen.insert(QStringToAnsi(QString::fromUtf8(w)));
    while (seen.size() < 50000) {
      std::string w;
      const int syllables = 1 + int(rng() % 4);
      for (int s = 0; s < syllables; ++s) {
        w.push_back(letters[rng() % letters.size()]);
        w.push_back(vowels[rng() % vowels.size()]);
      }
      if (rng() % 3 == 0) w.push_back(letters[rng() % letters.size()]);
      seen.insert(w);
    }
    Words.assign(seen.begin(), seen.end());
    std::sort(Words.begin(), Words.end(),
              [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  }
  int32_t GetCount() override { return int32_t(Words.size()); }
  std::string Get(int32_t i) override {
    return Words[size_t(i)] + " " + std::to_string(1 + (i * 7919) % 211);
  }
  int32_t IndexOf(const std::string& s) override {
    return int32_t(std::lower_bound(Words.begin(), Words.end(), s,
                                    [](const std::string& a, const std::string& b) {
                                      return AnsiCompareText(a, b) < 0;
                                    }) -
                   Words.begin());
  }
  std::string GetWord(int32_t i) override { return Words[size_t(i)]; }

 private:
  std::vector<std::string> Words;
};

std::string Ansi(const char* utf8) { return QStringToAnsi(QString::fromUtf8(utf8)); }

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallFontSubstitutions();
  QApplication::setApplicationDisplayName(QStringLiteral("The Bible"));

  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Библията"));
  auto* splitter = new QSplitter(&window);

  auto* panel = new QWidget(splitter);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(6, 6, 6, 6);
  panelLayout->setSpacing(6);

  auto* numbers = new QGridLayout();
  numbers->setHorizontalSpacing(6);
  auto* SpinEdit1 = new TMySpinEdit(panel);
  auto* SpinEdit2 = new TMySpinEdit(panel);
  for (TMySpinEdit* spin : {SpinEdit1, SpinEdit2}) {
    spin->SetAutoSelect(false);
    spin->SetIncrement(-1);
    spin->SetMinValue(1);
    spin->SetMaxValue(150);
    spin->SetValue(1);
  }
  SpinEdit1->setToolTip(QStringLiteral("Глава на книгата"));
  SpinEdit2->setToolTip(QStringLiteral("Номер на стиха"));
  SpinEdit2->SetValue(3);
  numbers->addWidget(new QLabel(QStringLiteral("Глава:"), panel), 0, 0);
  numbers->addWidget(SpinEdit1, 0, 1);
  numbers->addWidget(new QLabel(QStringLiteral("Стих:"), panel), 0, 2);
  numbers->addWidget(SpinEdit2, 0, 3);
  numbers->setColumnStretch(4, 1);
  panelLayout->addLayout(numbers);

  auto* BibleComboBox1 = new TBibleComboBox(panel);
  BibleComboBox1->setToolTip(QStringLiteral("Отваряни стихове"));
  auto* PopupMenu3 = new QMenu(&window);
  for (const char* item : {"По азбучен ред", "По време", "По място в Библията"})
    PopupMenu3->addAction(QString::fromUtf8(item));
  PopupMenu3->addSeparator();
  PopupMenu3->addAction(QStringLiteral("Изтриване"));
  PopupMenu3->addAction(QStringLiteral("Брой"));
  BibleComboBox1->SetPopupMenu(PopupMenu3);
  BibleComboBox1->Add(1, Ansi("Битие 1:1"), 45000.1);
  BibleComboBox1->Add(16500, Ansi("Псалми 22:1"), 45000.2);
  BibleComboBox1->Add(26100, Ansi("Йоан 3:16"), 45000.3);
  BibleComboBox1->Add(3, Ansi("Битие 1:3"), 45000.4);
  panelLayout->addWidget(BibleComboBox1);

  auto* LargeListBox1 = new TLargeListBox(panel);
  LargeListBox1->setToolTip(QStringLiteral("Списък на думите"));
  LargeListBox1->SetCharset(204);
  LargeListBox1->SetList(std::make_unique<TDemoWordList>());
  LargeListBox1->ComboBox->Add(0, Ansi("светлина"), 45000.5);
  LargeListBox1->ComboBox->Add(0, Ansi("любов"), 45000.6);
  panelLayout->addWidget(LargeListBox1, 1);

  auto* view = new TBibleRichEdit1(splitter);
  TFont font;
  font.Name = "Times New Roman";
  font.Size = 13;
  font.Charset = 204;
  view->SetViewFont(font);
  view->SetScrollBars(TBibleRichEdit1::ssVertical);
  view->setToolTip(QString());
  view->AddText(Ansi("Битие 1"), "~");
  const char* verses[] = {
      "В началото Бог сътвори небето и земята.",
      "А земята беше пуста и неустроена; и тъмнина покриваше бездната; и Божият Дух се носеше "
      "над водата.",
      "И Бог каза: Да бъде светлина. И стана светлина.",
      "И Бог видя, че светлината беше добро; и Бог раздели светлината от тъмнината.",
      "И Бог нарече светлината Ден, а тъмнината нарече Нощ. И стана вечер, и стана утро, ден "
      "първи.",
      "И Бог каза: Да бъде простор посред водите, който да разделя |води от води|.",
      "И Бог направи простора и раздели водите, които бяха под простора, от водите, които бяха "
      "над простора; и стана така.",
      "И Бог нарече простора Небе. И стана вечер, и стана утро, ден втори.",
  };
  for (size_t i = 0; i < std::size(verses); ++i)
    view->AddText(std::to_string(i + 1) + " ", Ansi(verses[i]) + "~");
  // The active verse coloured, as the chapter builder does.
  const std::string text = view->Text();
  const size_t third = text.find(Ansi("3 И Бог каза"));
  if (third != std::string::npos) {
    view->SetSelection(int(third),
                       int(Ansi("3 И Бог каза: Да бъде светлина. И стана светлина.").size()));
    view->SetSelColor(QColor(0x80, 0, 0));
    view->SetSelStart(0);
  }

  splitter->addWidget(panel);
  splitter->addWidget(view);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 520});
  window.setCentralWidget(splitter);
  window.statusBar()->showMessage(QStringLiteral("светлина: 6 стиха"));
  window.resize(780, 520);
  window.show();
  LargeListBox1->SetText(Ansi("светлина"));

  // "--warning" opens the list-size warning over a verse history of 250 entries.
  TListMessageForm1 warning(&window);
  if (QApplication::arguments().contains(QStringLiteral("--warning"))) {
    for (int i = BibleComboBox1->Count(); i < 250; ++i)
      BibleComboBox1->Add(uint16_t(i), Ansi("Битие 2:") + std::to_string(i), 45001.0 + i);
    QTimer::singleShot(200, &window, [&] {
      warning.CheckList(BibleComboBox1, QStringLiteral("отваряните стихове"));
    });
  }
  return app.exec();
}
