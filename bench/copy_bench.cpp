// Measures copying LST_Message for a bug report at scale: Form1's "Alles kopieren", "Alles mit
// Uhrzeit kopieren" and Ctrl+A, Ctrl+C, against the obvious design in the same run, which
// gathers every row's text into a QStringList and joins it at once: how long until the clipboard
// has the text, and the longest the window does not answer meanwhile. See --help.

#include "app/Form1.h"
#include "bench/QuietDialogs.h"
#include "cli/CommandLine.h"
#include "phone/scripted/ScriptedControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures
{
    double totalMs = 0;        // from the click until the clipboard has the whole text
    double longestPauseMs = 0; // the longest the window did not answer meanwhile
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The medians of some runs of a copy. Each run starts the copy and then passes through the
// event loop, as a window does, until the clipboard changes; each pass is a time the window
// could not answer input.
template <typename Start>
Figures measure(int runs, Start startCopy)
{
    std::vector<double> totals;
    std::vector<double> pauses;
    int changes = 0;
    QObject listening; // the connection ends with this run of measure()
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &listening,
                     [&] { ++changes; });
    for (int i = 0; i < runs; ++i) {
        const int before = changes;
        const auto start = Clock::now();
        startCopy();
        double longest = msSince(start);
        while (changes == before) {
            const auto pass = Clock::now();
            QCoreApplication::processEvents();
            longest = std::max(longest, msSince(pass));
        }
        totals.push_back(msSince(start));
        pauses.push_back(longest);
    }
    std::sort(totals.begin(), totals.end());
    std::sort(pauses.begin(), pauses.end());
    return {totals[totals.size() / 2], pauses[pauses.size() / 2]};
}

QAction *action(QListView *list, const QString &text)
{
    for (QAction *action : list->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    constexpr cli::Usage usage{"copy_bench",
                               "copy_bench [--lines N] [--runs N]\n"
                               "       copy_bench --help | --version\n"
                               "  --lines N  lines in the log (1000000)\n"
                               "  --runs N   runs of each copy; the median is shown (5)\n"};
    if (const auto answered = cli::answerCommonOptions(usage, argc, argv))
        return *answered;
    long lines = 1'000'000;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if ((option == "--lines" || option == "--runs") && i + 1 < argc) {
            char *end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1)
                return cli::wrongCall(usage, option + " needs a positive whole number");
            if (option == "--lines")
                lines = value;
            else
                runs = static_cast<int>(std::min(value, 1000L));
        } else {
            return cli::wrongCall(usage, "cannot take \"" + option + "\"");
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    phone::scripted::ScriptedControl control;
    bench::QuietDialogs dialogs("copy_bench");
    app::Form1 form(control, dialogs);
    form.show();
    // Lines of 71 characters, as the log bench writes them.
    for (long i = 0; i < lines; ++i) {
        form.addItem(u"Ereignis: OnConnected (ID: "
                     + QString::number(100 + i % 900).toStdU16String()
                     + u") -    Nummer: 0301234567 - MSN: 4711 ...");
    }
    auto *list = static_cast<QListView *>(form.widget(form::Control::LST_Message));
    while (list->model()->rowCount() < lines)
        QCoreApplication::processEvents();
    const int lineLength = form.messages().line(0).size();

    QClipboard *clipboard = QGuiApplication::clipboard();
    const Figures baseline = measure(runs, [&] {
        QStringList texts;
        texts.reserve(lines);
        for (int row = 0; row < lines; ++row)
            texts.append(list->model()->index(row, 0).data().toString());
        clipboard->setText(texts.join(u'\n'));
    });
    const Figures all =
        measure(runs, [&] { action(list, QStringLiteral("Alles kopieren"))->trigger(); });
    const qsizetype copied = clipboard->text().size();
    const Figures withTime = measure(
        runs, [&] { action(list, QStringLiteral("Alles mit Uhrzeit kopieren"))->trigger(); });
    list->setFocus();
    const Figures selectAll = measure(runs, [&] {
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    });
    if (dialogs.errors != 0 || copied != qsizetype(lines) * (lineLength + 1) - 1) {
        std::fprintf(stderr, "copy_bench: the copy is not every line (%lld characters)\n",
                     static_cast<long long>(copied));
        return 1;
    }

    std::printf("Copying LST_Message: %ld lines of %d characters, medians of %d runs\n", lines,
                lineLength, runs);
    std::printf("%-44s %10s %10s %16s %10s\n", "", "total ms", "ratio", "longest pause ms",
                "ratio");
    const auto row = [&](const char *name, const Figures &figures) {
        std::printf("%-44s %10.1f %10.2f %16.1f %10.2f\n", name, figures.totalMs,
                    figures.totalMs / baseline.totalMs, figures.longestPauseMs,
                    figures.longestPauseMs / baseline.longestPauseMs);
    };
    row("baseline: every row's text, QStringList::join", baseline);
    row("\"Alles kopieren\"", all);
    row("\"Alles mit Uhrzeit kopieren\"", withTime);
    row("Ctrl+A, Ctrl+C", selectAll);
    return 0;
}
