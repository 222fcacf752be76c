// The editor's costs on generated FAQ documents, each beside a floor measured in the same
// run. Run with no arguments for the medians of five repetitions and the closing table;
// any --benchmark_* flag overrides those defaults.

#include "documents.h"
#include "freshprocess.h"
#include "summary.h"

#include "app/nobrex.h"
#include "document/blocks.h"
#include "document/questionindex.h"
#include "forms/FAQmain.h"
#include "forms/QAmenu.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/listbox.h"
#include "platform/memo.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

namespace {

// Kilobytes: about 0.6 MB, 6 MB and 30 MB.
constexpr int Sizes[] = {600, 6000, 30000};
constexpr int BlockCommandSize = 6000;

// Everything a change leaves pending: layout, the list's rows and the paint of both.
void settle()
{
    QCoreApplication::processEvents();
}

void applyTextAreaLook(QPlainTextEdit &edit)
{
    edit.setFixedSize(484, 250);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

// The text area as the main window holds it, 484 by 250, with the question list above it
// following every change.
class TextWindow
{
public:
    TextWindow()
    {
        auto *layout = new QVBoxLayout(&m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        list = new ListBox(&m_window);
        list->setFixedSize(484, 120);
        memo = new Memo(&m_window);
        applyTextAreaLook(*memo);
        layout->addWidget(list);
        layout->addWidget(memo);
        QObject::connect(memo, &Memo::changed, list,
                         [this] { list->showIndex(memo->questionIndex(), *memo); });
        m_window.show();
        settle();
    }

    ListBox *list;
    Memo *memo;

private:
    QWidget m_window;
};

// What an editor that keeps no index does: a QPlainTextEdit of the same size and nothing else.
class PlainWindow
{
public:
    PlainWindow()
    {
        applyTextAreaLook(edit);
        edit.show();
        settle();
    }

    void load(const std::string &fileName)
    {
        QFile file(QString::fromStdString(fileName));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            throw std::runtime_error("cannot open " + fileName);
        edit.setPlainText(QString::fromLatin1(file.readAll()));
    }

    QPlainTextEdit edit;
};

// Loading 30 MB takes seconds, and the benchmarks of one size run one after another, so the
// loaded window is kept until another size is asked for.
std::unique_ptr<TextWindow> loaded;
int loadedSize = 0;

TextWindow &loadedWindow(int kilobytes)
{
    if (!loaded || loadedSize != kilobytes) {
        loaded.reset();
        loaded = std::make_unique<TextWindow>();
        loaded->memo->load(faqFile(kilobytes));
        loadedSize = kilobytes;
        settle();
    }
    return *loaded;
}

bool listFollowsText(const TextWindow &window)
{
    return window.list->items() == questionEntries(*window.memo);
}

class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *watched) { watched->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void pressKey(QWidget *widget, Qt::Key key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

// The line index of the heading of the middle block.
int middleHeading(const Lines &lines, int kilobytes)
{
    const int blocks = countSeparators(faqText(kilobytes));
    return LocateBlock(lines, blocks / 2).value_or(0) + 1;
}

std::string sizeLabel(int kilobytes)
{
    char label[32];
    std::snprintf(label, sizeof label, "%g MB", kilobytes / 1000.0);
    return label;
}

void BM_Scan(benchmark::State &state)
{
    const std::string &text = faqText(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(countSeparators(text));
}

// One character typed into the middle block's heading, or taken away again with Backspace,
// so that the text stays the same size however many keystrokes there are.
void BM_Keystroke(benchmark::State &state)
{
    const int size = int(state.range(0));
    TextWindow &window = loadedWindow(size);
    Memo *memo = window.memo;
    const QTextBlock heading = memo->document()->findBlockByNumber(middleHeading(*memo, size));
    QTextCursor cursor(heading);
    cursor.movePosition(QTextCursor::EndOfBlock);
    memo->setTextCursor(cursor);
    settle();

    PaintCounter counter(memo->viewport());
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            pressKey(memo, Qt::Key_Backspace, QString());
        else
            pressKey(memo, Qt::Key_X, QStringLiteral("x"));
        typed = !typed;
        settle();
    }
    if (typed) {
        pressKey(memo, Qt::Key_Backspace, QString());
        settle();
    }
    if (counter.paints == 0)
        state.SkipWithError("the keystrokes were never painted");
    else if (memo->text() != faqText(loadedSize) || !listFollowsText(window))
        state.SkipWithError("the text or the list went astray");
}

// A line inserted in the middle of the text, with its change event; it is removed again
// outside the timing.
void BM_Insert(benchmark::State &state)
{
    TextWindow &window = loadedWindow(int(state.range(0)));
    Memo *memo = window.memo;
    const int middle = memo->count() / 2;
    for (auto _ : state) {
        memo->insert(middle, "A line inserted by a block command, in the middle of the text.");
        settle();
        state.PauseTiming();
        memo->remove(middle);
        settle();
        state.ResumeTiming();
    }
    if (memo->text() != faqText(loadedSize) || !listFollowsText(window))
        state.SkipWithError("the text or the list went astray");
}

void BM_SaveMemo(benchmark::State &state)
{
    TextWindow &window = loadedWindow(int(state.range(0)));
    const std::string target = scratchFile("saved-memo.txt");
    for (auto _ : state)
        window.memo->save(target);
    if (std::filesystem::file_size(target) != faqText(loadedSize).size())
        state.SkipWithError("the saved file has the wrong size");
}

// The same bytes, written as safely as the text area saves: a new file, flushed, renamed
// over the target, and the folder flushed.
void writeDurably(const std::string &target, const std::string &bytes)
{
    const std::string fresh = target + ".new";
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || fsync(fd) != 0
        || close(fd) != 0 || rename(fresh.c_str(), target.c_str()) != 0)
        throw std::runtime_error("cannot write " + target);
    const std::string folder = std::filesystem::path(target).parent_path().string();
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0 || fsync(dir) != 0 || close(dir) != 0)
        throw std::runtime_error("cannot flush " + folder);
}

void BM_SaveFloor(benchmark::State &state)
{
    const std::string &text = faqText(int(state.range(0)));
    const std::string target = scratchFile("saved-floor.txt");
    for (auto _ : state)
        writeDurably(target, text);
}

// The child process of the load benchmarks: shows the window empty, loads the file and lets
// it paint, and prints what it measured in the order of LoadFigures.
int runLoadChild(int argc, char **argv)
{
    if (argc != 4)
        return 2;
    QApplication application(argc, argv);
    const std::string kind = argv[2];
    const std::string file = argv[3];
    std::unique_ptr<TextWindow> memoWindow;
    std::unique_ptr<PlainWindow> plainWindow;
    if (kind == "memo")
        memoWindow = std::make_unique<TextWindow>();
    else
        plainWindow = std::make_unique<PlainWindow>();
    const long before = residentPeakKiB();
    const double cpuStart = processCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (memoWindow)
        memoWindow->memo->load(file);
    else
        plainWindow->load(file);
    settle();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const double cpu = processCpuSeconds() - cpuStart;
    std::cout << before << ' ' << residentPeakKiB() << ' ' << took.count() << ' ' << cpu
              << std::endl;
    // Taking a 30 MB document apart again would only make the run longer.
    std::_Exit(0);
}

// Loads the file in a fresh process per iteration; the time is the child's, and its memory
// and CPU time are counters.
void measureLoad(benchmark::State &state, const char *kind)
{
    const std::string &file = faqFile(int(state.range(0)));
    double cpuSeconds = 0;
    double mebibytes = 0;
    double processMebibytes = 0;
    for (auto _ : state) {
        const LoadFigures load = runLoadInChild({"--load-in-child", kind, file});
        state.SetIterationTime(load.seconds);
        cpuSeconds += load.cpuSeconds;
        mebibytes += double(load.peakKiB - load.beforeKiB) / 1024;
        processMebibytes += double(load.peakKiB) / 1024;
    }
    using benchmark::Counter;
    state.counters["cpu_ms"] = Counter(cpuSeconds * 1000, Counter::kAvgIterations);
    state.counters["MiB"] = Counter(mebibytes, Counter::kAvgIterations);
    state.counters["process_MiB"] = Counter(processMebibytes, Counter::kAvgIterations);
}

void BM_LoadMemo(benchmark::State &state)
{
    measureLoad(state, "memo");
}

void BM_LoadPlain(benchmark::State &state)
{
    measureLoad(state, "plain");
}

// Answers for the user, should a block command ever ask, and keeps any error box.
class SilentDialogs : public Dialogs
{
public:
    Reply askYesNo(const QString &, const QString &) override { return Reply::No; }
    void showError(const QString &, const QString &text) override { errors << text; }
    std::optional<FileDialogResult> runFileDialog(const FileDialogRequest &) override
    {
        return std::nullopt;
    }

    QStringList errors;
};

// The program's forms as start-up creates them, the main window shown with the document.
class Forms
{
public:
    explicit Forms(int kilobytes)
    {
        Dialogs::install(&dialogs);
        setApplicationTitle(QStringLiteral("Nobrex"));
        createForms();
        FAQForm->show();
        FAQForm->FAQtext->load(faqFile(kilobytes));
        settle();
    }
    ~Forms()
    {
        destroyForms();
        Dialogs::install(nullptr);
    }
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    // An entry number in the middle of the list.
    static int middleEntry() { return FAQForm->FaqList->count() / 2; }

    bool intact(const std::string &text) const
    {
        return dialogs.errors.isEmpty() && FAQForm->FAQtext->text() == text
               && FAQForm->FaqList->items() == questionEntries(*FAQForm->FAQtext);
    }

    SilentDialogs dialogs;
};

std::unique_ptr<Forms> forms;

Forms &loadedForms()
{
    if (!forms)
        forms = std::make_unique<Forms>(BlockCommandSize);
    return *forms;
}

// "&Remove" on the selected block; the block goes back in outside the timing.
void BM_Remove(benchmark::State &state)
{
    Forms &session = loadedForms();
    Memo &text = *FAQForm->FAQtext;
    const int k = Forms::middleEntry();
    const int start = LocateBlock(text, k).value_or(0);
    std::vector<std::string> block{text.line(start)};
    for (int i = start + 1; i < text.count() && !isBlockSeparator(text.line(i)); ++i)
        block.push_back(text.line(i));

    for (auto _ : state) {
        state.PauseTiming();
        FAQForm->FaqList->setSelectedIndex(k);
        settle();
        state.ResumeTiming();
        FAQForm->Remove->click();
        settle();
        state.PauseTiming();
        for (auto line = block.rbegin(); line != block.rend(); ++line)
            text.insert(start, *line);
        settle();
        state.ResumeTiming();
    }
    if (!session.intact(faqText(BlockCommandSize)))
        state.SkipWithError("the text or the list went astray");
}

// "&Edit" on the selected block, then "&Ok" in the editor without a change: the block is
// read, and then deleted and inserted again line by line.
void BM_EditOk(benchmark::State &state)
{
    Forms &session = loadedForms();
    const int k = Forms::middleEntry();
    for (auto _ : state) {
        state.PauseTiming();
        FAQForm->FaqList->setSelectedIndex(k);
        settle();
        state.ResumeTiming();
        FAQForm->EditBut->click();
        settle();
        QAForm->EditDone->trigger();
        settle();
    }
    if (!session.intact(faqText(BlockCommandSize)) || QAForm->isVisible())
        state.SkipWithError("the text or the list went astray");
}

std::vector<Comparison> registerBenchmarks()
{
    using Function = void (*)(benchmark::State &);
    // Real time, as the user waits it; the load benchmarks time their child processes.
    const auto add = [](const std::string &name, Function function, int kilobytes) {
        benchmark::internal::Benchmark *added = benchmark::RegisterBenchmark(name.c_str(), function)
                                                    ->Arg(kilobytes)
                                                    ->Unit(benchmark::kMillisecond);
        return name.starts_with("Load/") ? added->UseManualTime() : added->UseRealTime();
    };
    std::vector<Comparison> rows;
    for (const int size : Sizes) {
        const std::string arg = '/' + std::to_string(size);
        const std::string mb = ", " + sizeLabel(size);
        add("Scan/Floor", BM_Scan, size);
        add("Load/Memo", BM_LoadMemo, size);
        add("Load/Plain", BM_LoadPlain, size);
        add("Keystroke/Memo", BM_Keystroke, size);
        add("Insert/Memo", BM_Insert, size);
        add("Save/Memo", BM_SaveMemo, size);
        add("Save/Floor", BM_SaveFloor, size);

        rows.push_back({"load" + mb, "Load/Memo" + arg, "Load/Plain" + arg, "time",
                        TargetKind::RatioAtMost, 1.25});
        const double keystrokeLimit = size == 6000 ? 1 : size == 30000 ? 3 : 0;
        rows.push_back({"keystroke" + mb, "Keystroke/Memo" + arg, "Scan/Floor" + arg, "time",
                        keystrokeLimit > 0 ? TargetKind::MillisecondsAtMost : TargetKind::None,
                        keystrokeLimit});
        rows.push_back({"insert a line" + mb, "Insert/Memo" + arg, "Scan/Floor" + arg});
        rows.push_back({"save" + mb, "Save/Memo" + arg, "Save/Floor" + arg});
        rows.push_back({"memory" + mb, "Load/Memo" + arg, "Load/Plain" + arg, "MiB",
                        TargetKind::RatioAtMost, 1.3});
        if (size == BlockCommandSize) {
            add("Remove/Form", BM_Remove, size);
            add("EditOk/Form", BM_EditOk, size);
            rows.push_back({"Remove" + mb, "Remove/Form" + arg, "Scan/Floor" + arg, "time",
                            TargetKind::MillisecondsAtMost, 40});
            rows.push_back({"Edit, Ok" + mb, "EditOk/Form" + arg, "Scan/Floor" + arg, "time",
                            TargetKind::MillisecondsAtMost, 40});
        }
    }
    return rows;
}

// The offscreen platform says so each time a window asks it to raise itself or to resize to
// its size hints; that is no news in a benchmark.
QtMessageHandler qtMessages = nullptr;

void dropPlatformLimits(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (qtMessages && !message.startsWith(QLatin1String("This plugin does not support")))
        qtMessages(type, context, message);
}

void printLoadAverage(std::ostream &out)
{
    std::ifstream loadavg("/proc/loadavg");
    double oneMinute = 0;
    if (loadavg >> oneMinute)
        out << "\nLoad average over the last minute: " << oneMinute << " (on "
            << std::thread::hardware_concurrency() << " cores). Where the real time exceeds the "
            << "CPU time, the benchmark waited: for the disk, or for processors busy with other "
            << "work.\n";
}

} // namespace

int main(int argc, char **argv)
{
    // Nothing here needs a display; a caller may still choose another platform.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qtMessages = qInstallMessageHandler(dropPlatformLimits);
    if (argc > 1 && std::strcmp(argv[1], "--load-in-child") == 0)
        return runLoadChild(argc, argv);

    QApplication application(argc, argv);
    // Medians of five by default; flags given on the command line come later and win.
    std::vector<char *> arguments{argv[0]};
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregatesOnly = "--benchmark_display_aggregates_only=true";
    arguments.push_back(repetitions.data());
    arguments.push_back(aggregatesOnly.data());
    for (int i = 1; i < argc; ++i)
        arguments.push_back(argv[i]);
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 1;

    const std::vector<Comparison> rows = registerBenchmarks();
    SummaryReporter reporter(isatty(STDOUT_FILENO) ? SummaryReporter::OO_ColorTabular
                                                   : SummaryReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary(std::cout, rows);
    printLoadAverage(std::cout);

    forms.reset();
    loaded.reset();
    benchmark::Shutdown();
    return 0;
}
