// Speed of the reader's windows over a generated version the size of a whole Bible (offscreen):
// building and showing the 176-verse chapter, moving to another verse of the same chapter, and
// starting the main window with three saved windows until the first one is shown; and, over the
// staged KJV, a word search from Enter in the word box until the found list and the status text
// are shown, exactly, with all forms ("love") and for a prefix ("a*"); the same with all forms of
// a Bulgarian word of eight forms in a generated whole-Bible version with its form groups; and
// building the form groups of the KJV's word list and of 50 000 words of the Bulgarian dictionary.
// Run: build/bench/forms_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "controls/tbiblerichedit1.h"
#include "core/ansi.h"
#include "core/cp1251.h"
#include "core/formgroups.h"
#include "core/tbible.h"
#include "core/tinfofile.h"
#include "tools/bible-tool/twordforms.h"
#include "forms/tbibleform1.h"
#include "forms/tmainform1.h"
#include "controls/tbiblecombobox.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <filesystem>
#include "settings/tmyinifile.h"
#include "tests/support/testversion.h"

namespace {

struct TLargeRoot {
  TLargeRoot() {
    WriteSampleVersion(Dir.Path(), 4, LargeSample());
    WriteSampleVersion(Dir.Path(), 5, LargeSample());
    WriteSampleVersion(Dir.Path(), 0, LargeSample());
    // Version 1: the same text with the forms of "любов" and "бог" in every 40th verse.
    TVersionData bulgarian = LargeSample();
    const char* forms[] = {"любов",  "любовта", "любови", "любовите",
                           "бог",    "бога",    "богът",  "богове"};
    size_t n = 0;
    for (auto& book : bulgarian.Books)
      for (auto& chapter : book.Chapters)
        for (auto& verse : chapter)
          if (++n % 40 == 0) verse += " " + Utf8ToCp1251(forms[(n / 40) % 8]);
    WriteVersionForms(WriteSampleVersion(Dir.Path(), 1, bulgarian), 1, 3);
  }
  TTempDir Dir;
};

TLargeRoot& Root() {
  static TLargeRoot root;
  return root;
}

// A main window with one window of version 4 at Psalm 1, shown.
struct TReader {
  TReader() {
    Ini = std::make_unique<TMyIniFile>(Root().Dir.File("bench.ini"));
    IniFile = Ini.get();
    Main = std::make_unique<TMainForm1>();
    DataRoot = Root().Dir.Path();
    Main->ListVersions();
    Main->resize(1000, 700);
    Main->show();
    Main->OpenBibleWindow(4, 22, 1, 1);
    Form = Main->ActiveBibleForm();
    Form->FormActivate();
    QApplication::processEvents();
  }
  ~TReader() {
    Main.reset();
    for (auto& b : Bibles) b.reset();
    IniFile = nullptr;
  }
  std::unique_ptr<TMyIniFile> Ini;
  std::unique_ptr<TMainForm1> Main;
  TBibleForm1* Form = nullptr;
};

void BM_BuildAndShowChapter176(benchmark::State& state) {
  TReader r;
  for (auto _ : state) {
    r.Form->DisplayVerse(22, 1, 1, false);
    r.Form->BRichEdit1->viewport()->repaint();
  }
  state.counters["verses"] = double(r.Form->VerseStart.size() - 2);
}
BENCHMARK(BM_BuildAndShowChapter176)->Unit(benchmark::kMillisecond);

void BM_MoveVerseInChapter(benchmark::State& state) {
  TReader r;
  int v = 1;
  for (auto _ : state) {
    v = v % 176 + 1;
    r.Form->DisplayVerse(22, 1, v);
    r.Form->BRichEdit1->viewport()->repaint();
  }
}
BENCHMARK(BM_MoveVerseInChapter)->Unit(benchmark::kMillisecond);

void BM_StartWithThreeWindows(benchmark::State& state) {
  const std::string ini = Root().Dir.File("start.ini");
  std::ofstream(ini, std::ios::binary)
      << "[MainWindow]\r\nMDIChildCount=3\r\n"
         "[Bible0]\r\nBibleHndl=4\r\nBook=22\r\nChapter=1\r\nVerse=100\r\n"
         "[Bible1]\r\nBibleHndl=5\r\nBook=22\r\nChapter=1\r\nVerse=100\r\n"
         "[Bible2]\r\nBibleHndl=0\r\nBook=22\r\nChapter=1\r\nVerse=100\r\n";
  for (auto _ : state) {
    TMyIniFile settings(ini);
    IniFile = &settings;
    {
      TMainForm1 main;
      DataRoot = Root().Dir.Path();
      main.ListVersions();
      main.resize(1000, 700);
      main.show();
      main.ReopenWindows();
      if (TBibleForm1* active = main.ActiveBibleForm()) active->FormActivate();
      main.TileWindows();
      QApplication::processEvents();
      state.PauseTiming();
    }
    for (auto& b : Bibles) b.reset();
    IniFile = nullptr;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartWithThreeWindows)->Unit(benchmark::kMillisecond);

// The staged default data (build/stage); the search benchmarks need the real KJV word list.
std::string StagedRoot() {
  const char* env = std::getenv("BIBLE_BENCH_DATA");
  std::string root = env && *env ? env : BIBLE_STAGE_DIR;
  if (!root.empty() && root.back() != '/') root += '/';
  return root;
}

// Enter in the word box with the word, all forms on or off, until the list and status are shown.
void SearchIn(benchmark::State& state, const std::string& root, int version, const std::string& word,
              bool allForms) {
  TTempDir settingsDir;
  TMyIniFile ini(settingsDir.File("bench.ini"));
  IniFile = &ini;
  {
    TMainForm1 main;
    DataRoot = root;
    main.ListVersions();
    main.resize(1000, 700);
    main.show();
    main.OpenBibleWindow(version, 1, 1, 1);
    main.ActiveBibleForm()->FormActivate();
    main.CheckBox1->setChecked(allForms);
    main.Search.Forms = allForms;
    QApplication::processEvents();
    QWidget* box = main.LargeListBox1->ComboBox;
    int found = 0;
    for (auto _ : state) {
      state.PauseTiming();
      main.LargeListBox1->SetText(word);
      state.ResumeTiming();
      // Enter as the keyboard delivers it to the word box.
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
      QApplication::sendEvent(box, &enter);
      main.ListBox2->viewport()->repaint();
      main.StatusPanel->repaint();
      found = main.ListBox2->count();
    }
    state.counters["verses"] = found;
    state.counters["forms"] = double(main.Search.MatchedForms.size());
  }
  for (auto& b : Bibles) b.reset();
  IniFile = nullptr;
}

void SearchKjv(benchmark::State& state, const char* word, bool allForms = false) {
  const std::string root = StagedRoot();
  if (!std::filesystem::exists(root + "KJV/WordList.txt")) {
    state.SkipWithError("no staged KJV: run scripts/stage-data.sh or set BIBLE_BENCH_DATA");
    return;
  }
  if (allForms && !std::filesystem::exists(root + "KJV/Forms.bin")) {
    state.SkipWithError("the staged KJV has no form groups: stage it again");
    return;
  }
  SearchIn(state, root, 4, word, allForms);
}

void BM_SearchLove(benchmark::State& state) { SearchKjv(state, "love"); }
BENCHMARK(BM_SearchLove)->Unit(benchmark::kMillisecond);

void BM_SearchThe(benchmark::State& state) { SearchKjv(state, "the"); }
BENCHMARK(BM_SearchThe)->Unit(benchmark::kMillisecond);

void BM_SearchLoveAllForms(benchmark::State& state) { SearchKjv(state, "love", true); }
BENCHMARK(BM_SearchLoveAllForms)->Unit(benchmark::kMillisecond);

void BM_SearchPrefixA(benchmark::State& state) { SearchKjv(state, "a*"); }
BENCHMARK(BM_SearchPrefixA)->Unit(benchmark::kMillisecond);

void BM_SearchBulgarianAllForms(benchmark::State& state) {
  SearchIn(state, Root().Dir.Path(), 1, Utf8ToCp1251("любов"), true);
}
BENCHMARK(BM_SearchBulgarianAllForms)->Unit(benchmark::kMillisecond);

// The words of a version's word list.
std::vector<std::string> WordList(const std::string& folder) {
  TInfoFile pair(folder + "WordPoint.bin", folder + "WordList.txt");
  std::vector<std::string> words;
  for (int32_t i = 0; i < pair.Count(); ++i) words.push_back(pair.ReadLine(i));
  return words;
}

void BuildGroups(benchmark::State& state, const std::vector<std::string>& words, int version) {
  for (auto _ : state) {
    TFormGroupData data = GroupWordsByKey(FormKeys(words, version), 3);
    benchmark::DoNotOptimize(data);
    state.counters["groups"] = double(data.Groups.size());
  }
  state.counters["words"] = double(words.size());
}

void BM_BuildGroupsKjv(benchmark::State& state) {
  const std::string folder = StagedRoot() + "KJV/";
  if (!std::filesystem::exists(folder + "WordList.txt")) {
    state.SkipWithError("no staged KJV: run scripts/stage-data.sh or set BIBLE_BENCH_DATA");
    return;
  }
  BuildGroups(state, WordList(folder), 4);
}
BENCHMARK(BM_BuildGroupsKjv)->Unit(benchmark::kMillisecond)->Iterations(3);

// 50 000 Bulgarian words, as many as a Bulgarian Bible's word list: every word of the dictionary
// and forms made from them, taken evenly, lower-cased and sorted as a word list is.
void BM_BuildGroupsBulgarian(benchmark::State& state) {
  std::ifstream dic("/usr/share/hunspell/bg_BG.dic");
  if (!dic) {
    state.SkipWithError("hunspell-bg is not installed");
    return;
  }
  std::vector<std::string> all;
  for (std::string line; std::getline(dic, line);) {
    const std::string word = Utf8ToCp1251(line.substr(0, line.find('/')));
    if (word.find('?') != std::string::npos || word.empty()) continue;
    all.push_back(AnsiLowerCase(word));
    // Two forms of each: the plural-like "-и" and the article-like "-та", real or not.
    all.push_back(AnsiLowerCase(word) + "è");
    all.push_back(AnsiLowerCase(word) + "òà");
  }
  std::vector<std::string> words;
  const size_t step = std::max<size_t>(1, all.size() / 50000);
  for (size_t i = 0; i < all.size() && words.size() < 50000; i += step) words.push_back(all[i]);
  std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
    return CompareBytes(a, b) < 0;
  });
  words.erase(std::unique(words.begin(), words.end()), words.end());
  BuildGroups(state, words, 0);
}
BENCHMARK(BM_BuildGroupsBulgarian)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
