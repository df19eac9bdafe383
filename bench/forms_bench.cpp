// Speed of the reader's windows over a generated version the size of a whole Bible (offscreen):
// building and showing the 176-verse chapter, moving to another verse of the same chapter, and
// starting the main window with three saved windows until the first one is shown; and, over the
// staged KJV, a word search from Enter in the word box until the found list and the status text
// are shown.
// Run: build/bench/forms_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "controls/tbiblerichedit1.h"
#include "core/tbible.h"
#include "forms/tbibleform1.h"
#include "forms/tmainform1.h"
#include "controls/tbiblecombobox.h"
#include "controls/tfoundlistbox.h"
#include "controls/tlargelistbox.h"
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

void SearchKjv(benchmark::State& state, const char* word) {
  const std::string root = StagedRoot();
  if (!std::filesystem::exists(root + "KJV/WordList.txt")) {
    state.SkipWithError("no staged KJV: run scripts/stage-data.sh or set BIBLE_BENCH_DATA");
    return;
  }
  TTempDir settingsDir;
  TMyIniFile ini(settingsDir.File("bench.ini"));
  IniFile = &ini;
  {
    TMainForm1 main;
    DataRoot = root;
    main.ListVersions();
    main.resize(1000, 700);
    main.show();
    main.OpenBibleWindow(4, 1, 1, 1);
    main.ActiveBibleForm()->FormActivate();
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
  }
  for (auto& b : Bibles) b.reset();
  IniFile = nullptr;
}

void BM_SearchLove(benchmark::State& state) { SearchKjv(state, "love"); }
BENCHMARK(BM_SearchLove)->Unit(benchmark::kMillisecond);

void BM_SearchThe(benchmark::State& state) { SearchKjv(state, "the"); }
BENCHMARK(BM_SearchThe)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
