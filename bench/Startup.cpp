#include "bench/Startup.h"

#include "app/Form1.h"
#include "bench/BaselineLog.h"
#include "bench/EventFeed.h"
#include "bench/Subjects.h"
#include "form/FormLayout.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace logbench {

int runStartupChild(int argc, char **argv, const std::string &kind)
{
    QApplication application(argc, argv);
    EventFeed feed;
    NullDialogs dialogs;
    std::unique_ptr<QWidget> window;
    if (kind == "form1")
        window = std::make_unique<app::Form1>(feed.control(), dialogs);
    else if (kind == "qlistwidget")
        window = std::make_unique<BaselineLog>(feed.control());
    else {
        window = std::make_unique<QWidget>();
        window->setFixedSize(form::clientWidthTwips / form::twipsPerPixel,
                             form::clientHeightTwips / form::twipsPerPixel);
        // The first text a process shows starts Qt's font system; one label tells that cost.
        if (kind == "label")
            new QLabel(QStringLiteral("Ereignisse und Meldungen"), window.get());
    }

    class FirstPaint : public QObject
    {
    public:
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && !m_seen) {
                m_seen = true;
                // Queued, so that it runs once the whole window has been painted.
                QTimer::singleShot(0, [] {
                    const auto now = Clock::now().time_since_epoch();
                    std::printf("%lld\n",
                                static_cast<long long>(std::chrono::nanoseconds(now).count()));
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            }
            return false;
        }

    private:
        bool m_seen = false;
    } firstPaint;
    window->installEventFilter(&firstPaint);
    window->show();
    return application.exec();
}

namespace {

double startupMs(const QString &program, const QString &kind)
{
    QProcess process;
    const auto start = Clock::now();
    process.start(program, {QStringLiteral("--startup-child"), kind});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return -1;
    const long long shown = std::atoll(process.readAllStandardOutput().constData());
    const long long started = std::chrono::nanoseconds(start.time_since_epoch()).count();
    return double(shown - started) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

Startup measureStartup(int runs)
{
    const QString program = QCoreApplication::applicationFilePath();
    std::vector<double> bare, label, form1, plain;
    // Interleaved, so that a busy moment on the machine does not fall on one kind only.
    for (int i = 0; i < runs; ++i) {
        bare.push_back(startupMs(program, QStringLiteral("bare")));
        label.push_back(startupMs(program, QStringLiteral("label")));
        form1.push_back(startupMs(program, QStringLiteral("form1")));
        plain.push_back(startupMs(program, QStringLiteral("qlistwidget")));
    }
    return Startup{median(bare), median(label), median(form1), median(plain)};
}

} // namespace logbench
