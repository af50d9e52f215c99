#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/qt/LogoMain.h"
#include "bench/BenchmarkSources.h"
#include "bench/HeadlessProgress.h"
#include "extraction/StagedExtraction.h"
#include "extraction/qt/PlainTextEditControl.h"
#include "extraction/qt/TRichEdit.h"
#include "extraction/qt/recherche.h"

// The window's costs, measured offscreen: opening a big source into the source pane, paging through it,
// and the processing window against a run that only stores its progress.
namespace glanex {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kFiftyMegabytes = 50'000'000;

// The size of a generated source: `full`, or less when GLANEX_BENCH_SOURCE_BYTES caps it, so that a quick
// run (CI's) goes through every benchmark in seconds; the counters then report the smaller sizes.
std::size_t sourceBytes(std::size_t full) {
  const char* cap = std::getenv("GLANEX_BENCH_SOURCE_BYTES");
  if (cap == nullptr) return full;
  const std::string_view text(cap);
  std::size_t bytes = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bytes);
  if (error != std::errc() || end != text.data() + text.size() || bytes == 0) {
    throw std::invalid_argument("GLANEX_BENCH_SOURCE_BYTES : nombre d'octets invalide");
  }
  return std::min(full, bytes);
}

// A folder of its own under the temporary folder, removed with its files when the program ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "glanex-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

ScratchFolder& scratch() {
  static ScratchFolder folder;
  return folder;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

// Prose lines of 60 to 80 characters in Windows-1252 with CR LF breaks, an address now and then.
std::string proseSource(std::size_t approximateBytes) {
  std::vector<std::string> words;
  std::istringstream prose(
      "le la les des une r\xE9union du comit\xE9 sortie pr\xE9vue samedi matin avec contact bureau "
      "t\xE9l\xE9phone \xE9t\xE9 compte rendu club association pour chaque mois liste b\xE9n\xE9voles "
      "adh\xE9rents calendrier \xE0 et au programme inscriptions");
  for (std::string word; prose >> word;) words.push_back(word);
  std::mt19937 random(7);
  std::string text;
  text.reserve(approximateBytes + 100);
  std::uint32_t person = 0;
  while (text.size() < approximateBytes) {
    const std::size_t lineStart = text.size();
    const std::size_t wanted = 60 + random() % 21;
    while (text.size() - lineStart < wanted) {
      if (text.size() > lineStart) text += ' ';
      if (random() % 12 == 0) {
        text += "membre" + std::to_string(person++ % 5000) + "@club.test";
      } else {
        text += words[random() % words.size()];
      }
    }
    text += "\r\n";
  }
  return text;
}

const std::string& fiftyMegabyteFile() {
  static const std::string path = [] {
    const std::string file = scratch().file("source-50mo.txt");
    writeFile(file, proseSource(sourceBytes(kFiftyMegabytes)));
    return file;
  }();
  return path;
}

// The main window as the user finds it, shown on the offscreen screen.
std::unique_ptr<TLogoAppForm> shownMainWindow() {
  auto form = std::make_unique<TLogoAppForm>();
  form->show();
  QApplication::processEvents();
  return form;
}

// Opens `path` as the open command does once its dialog has chosen the file. An error box that the
// command raises is closed and its text returned, so that a failure ends the benchmark instead of hanging.
std::optional<std::string> openThroughCommand(TLogoAppForm& form, const std::string& path) {
  std::optional<std::string> error;
  QTimer closer;
  closer.setInterval(0);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      error = box->text().toStdString();
      box->done(QMessageBox::Ok);
    }
  });
  closer.start();
  form.openFileGivenAtStart(path);
  return error;
}

// Times opening `path` through the open command into a fresh window each time (so that every open replaces
// the same empty pane), with the pane's first paint: what the user waits for. Returns the lines loaded.
std::int64_t timeOpens(benchmark::State& state, const std::string& path) {
  std::int64_t lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = shownMainWindow();
    state.ResumeTiming();
    const std::optional<std::string> error = openThroughCommand(*form, path);
    form->RichEdit1()->viewport()->repaint();
    state.PauseTiming();
    if (error) {
      state.SkipWithError(error->c_str());
      break;
    }
    lines = form->RichEdit1()->Lines().LineCount();
    form.reset();
    state.ResumeTiming();
  }
  return lines;
}

void BM_OpenFiftyMegabytesIntoSourcePane(benchmark::State& state) {
  const std::string& path = fiftyMegabyteFile();
  state.counters["lines"] = static_cast<double>(timeOpens(state, path));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

// One line of bytes as a file without line breaks holds them: control characters and accented letters,
// the costliest text to lay out.
std::string oneLineOfBytes(std::size_t length) {
  std::mt19937 random(11);
  std::string line(length, '\0');
  for (char& c : line) {
    c = static_cast<char>(random() % 256);
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

// The longest line a window's pane opens: opened, then painted once, which lays the line out.
void BM_OpenLongestLoadedLine(benchmark::State& state) {
  const std::string path = scratch().file("ligne.bin");
  const std::size_t length = sourceBytes(static_cast<std::size_t>(kLongestLoadedLine));
  writeFile(path, oneLineOfBytes(length));
  timeOpens(state, path);
  state.counters["line_length"] = static_cast<double>(length);
}

void BM_PageDownRepaintOfFiftyMegabytes(benchmark::State& state) {
  auto form = shownMainWindow();
  if (const std::optional<std::string> error = openThroughCommand(*form, fiftyMegabyteFile())) {
    state.SkipWithError(error->c_str());
    return;
  }
  TRichEdit& pane = *form->RichEdit1();
  pane.setFocus();
  QScrollBar& scroll = *pane.verticalScrollBar();
  for (auto _ : state) {
    if (scroll.value() == scroll.maximum()) {
      state.PauseTiming();
      pane.moveCursor(QTextCursor::Start);
      pane.viewport()->repaint();
      state.ResumeTiming();
    }
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(&pane, &pageDown);
    pane.viewport()->repaint();
  }
  state.counters["first_visible_line"] = scroll.value();
}

// The worst source within the working lists' capacity, in the source pane of a main window.
std::unique_ptr<TLogoAppForm> windowWithWorstSource() {
  auto form = shownMainWindow();
  form->RichEdit1()->control().setDocument(FormattedText::fromPlainText(fullWorkingListSource()));
  return form;
}

// A run's time on the wall clock and on the processor, the second undisturbed by other programs.
struct RunTime {
  double wall = 0;
  double processor = 0;
};

double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

template <typename Run>
RunTime timed(Run run) {
  const Clock::time_point wallStart = Clock::now();
  const double processorStart = threadSeconds();
  run();
  return {std::chrono::duration<double>(Clock::now() - wallStart).count(), threadSeconds() - processorStart};
}

// One run with a progress sink that only stores the values.
RunTime headlessRun(TLogoAppForm& form) {
  StagedExtraction staged;
  HeadlessProgress progress;
  return timed([&] { staged.run(form.RichEdit1()->Lines(), form.separators(), &progress); });
}

// One run as "Exécuter" makes it: the processing window shows the progress and fills the result pane.
RunTime windowRun(TLogoAppForm& form) {
  form.SpeedButton1Click();
  TRecStatus* window = RecStatus;
  QApplication::processEvents();
  const RunTime time = timed([window] { window->BokClick(); });
  window->BTermineClick();
  delete window;
  return time;
}

void BM_WorstCaseRunHeadless(benchmark::State& state) {
  auto form = windowWithWorstSource();
  for (auto _ : state) state.SetIterationTime(headlessRun(*form).wall);
}

void BM_WorstCaseRunInProcessingWindow(benchmark::State& state) {
  auto form = windowWithWorstSource();
  for (auto _ : state) state.SetIterationTime(windowRun(*form).wall);
}

// Both runs in turn over the same source, so that the ratio compares runs made under the same conditions.
void BM_WorstCaseWindowOverHeadless(benchmark::State& state) {
  auto form = windowWithWorstSource();
  RunTime headless;
  RunTime window;
  for (auto _ : state) {
    const RunTime h = headlessRun(*form);
    const RunTime w = windowRun(*form);
    headless.wall += h.wall;
    headless.processor += h.processor;
    window.wall += w.wall;
    window.processor += w.processor;
    state.SetIterationTime(w.wall);
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["headless_ms"] = 1000 * headless.wall / runs;
  state.counters["window_ms"] = 1000 * window.wall / runs;
  state.counters["ratio"] = window.wall / headless.wall;
  state.counters["ratio_cpu"] = window.processor / headless.processor;
}

BENCHMARK(BM_OpenFiftyMegabytesIntoSourcePane)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenLongestLoadedLine)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PageDownRepaintOfFiftyMegabytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorstCaseRunHeadless)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorstCaseRunInProcessingWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorstCaseWindowOverHeadless)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The offscreen platform says at every window shown that it cannot do what only a screen can.
void quietOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && message.startsWith(u"This plugin does not support")) return;
  std::fputs(qFormatLogMessage(type, context, message).toLocal8Bit().append('\n').constData(), stderr);
}

}  // namespace
}  // namespace glanex

// Windows need an application object; without a platform chosen, they are drawn offscreen.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(glanex::quietOffscreenNotices);
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
