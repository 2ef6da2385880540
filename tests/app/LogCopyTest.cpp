#include "app/LogCopyText.h"

#include "app/EventLogModel.h"
#include "app/LocalTimeText.h"

#include <QDateTime>
#include <QTest>

#include <vector>

using app::RowSpan;
using app::WithTime;

Q_DECLARE_METATYPE(std::vector<RowSpan>)

namespace {

// Milliseconds since the epoch of a wall-clock time in this test's zone (Europe/Berlin).
qint64 local(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)).toMSecsSinceEpoch();
}

qint64 utc(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::UTC)
        .toMSecsSinceEpoch();
}

// The whole text of a copy, written in slices as long as need be.
QString copiedText(const app::EventLogModel &model, const std::vector<RowSpan> &rows, WithTime time)
{
    app::LogCopyJob job(model, rows, time);
    while (!job.writeFor(std::chrono::seconds(1))) {
    }
    return job.takeText();
}

} // namespace

class LogCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void timesAreLocalAndPadded_data();
    void timesAreLocalAndPadded();
    void oneWriterFollowsTheClockChanges();
    void selectionsBecomeRowsInListOrder_data();
    void selectionsBecomeRowsInListOrder();
    void copiesWholeLinesInListOrder();
    void copiesEachLineWithItsTimeWhenAsked();
    void aCopyInSlicesIsTheSameText();
    void tooltipShowsWhenTheLineArrived();
};

void LogCopyTest::initTestCase()
{
    // CTest sets TZ=Europe/Berlin, so that summer time starts and ends inside these tests.
    QCOMPARE(QDateTime(QDate(2026, 7, 1), QTime(12, 0)).offsetFromUtc(), 7200);
}

void LogCopyTest::timesAreLocalAndPadded_data()
{
    QTest::addColumn<qint64>("moment");
    QTest::addColumn<QString>("text");
    QTest::newRow("every field padded") << local(2026, 12, 8, 9, 5, 3, 7) << "09:05:03.007";
    QTest::newRow("midnight") << local(2026, 12, 8, 0, 0, 0, 0) << "00:00:00.000";
    QTest::newRow("last millisecond of a day")
        << local(2026, 12, 8, 23, 59, 59, 999) << "23:59:59.999";
    QTest::newRow("winter, an hour ahead of UTC")
        << utc(2026, 1, 15, 12, 0, 0, 0) << "13:00:00.000";
    QTest::newRow("summer, two hours ahead") << utc(2026, 7, 15, 12, 0, 0, 0) << "14:00:00.000";
    QTest::newRow("before the epoch") << utc(1969, 12, 31, 23, 59, 59, 500) << "00:59:59.500";
}

void LogCopyTest::timesAreLocalAndPadded()
{
    QFETCH(qint64, moment);
    QFETCH(QString, text);
    QCOMPARE(app::LocalTimeText()(moment), text);
}

void LogCopyTest::oneWriterFollowsTheClockChanges()
{
    // One writer for a whole copy: it must not keep an offset past the change of clocks.
    app::LocalTimeText writer;
    QCOMPARE(writer(utc(2026, 3, 29, 0, 59, 59, 999)), QStringLiteral("01:59:59.999"));
    QCOMPARE(writer(utc(2026, 3, 29, 1, 0, 0, 0)), QStringLiteral("03:00:00.000"));
    QCOMPARE(writer(utc(2026, 10, 25, 0, 59, 59, 999)), QStringLiteral("02:59:59.999"));
    QCOMPARE(writer(utc(2026, 10, 25, 1, 0, 0, 0)), QStringLiteral("02:00:00.000"));
    QCOMPARE(writer(utc(2026, 3, 29, 1, 0, 0, 0)), QStringLiteral("03:00:00.000")); // back again
}

void LogCopyTest::selectionsBecomeRowsInListOrder_data()
{
    QTest::addColumn<std::vector<RowSpan>>("ranges");
    QTest::addColumn<std::vector<RowSpan>>("rows");
    using Spans = std::vector<RowSpan>;
    QTest::newRow("nothing") << Spans{} << Spans{};
    QTest::newRow("one row") << Spans{{4, 4}} << Spans{{4, 4}};
    QTest::newRow("selected bottom first") << Spans{{7, 8}, {1, 2}} << Spans{{1, 2}, {7, 8}};
    QTest::newRow("neighbours join") << Spans{{3, 5}, {0, 2}} << Spans{{0, 5}};
    QTest::newRow("overlaps once") << Spans{{2, 6}, {4, 9}, {5, 5}} << Spans{{2, 9}};
    QTest::newRow("one inside another") << Spans{{0, 9}, {3, 4}} << Spans{{0, 9}};
    QTest::newRow("a gap stays") << Spans{{0, 1}, {3, 3}} << Spans{{0, 1}, {3, 3}};
}

void LogCopyTest::selectionsBecomeRowsInListOrder()
{
    QFETCH(std::vector<RowSpan>, ranges);
    QFETCH(std::vector<RowSpan>, rows);
    app::EventLogModel model;
    for (int i = 0; i < 10; ++i)
        model.append(u"Zeile");
    model.publish();
    QItemSelection selection;
    for (const RowSpan &range : ranges)
        selection.append(QItemSelectionRange(model.index(range.first), model.index(range.last)));
    QVERIFY(app::selectedRows(selection) == rows);
}

void LogCopyTest::copiesWholeLinesInListOrder()
{
    app::EventLogModel model;
    const QString longLine = QStringLiteral("Ereignis: OnRing (ID: 1) -    Nummer: ")
                             + QString(5000, QLatin1Char('7')) + QStringLiteral(" - MSN: 4711");
    model.append(u"erste");
    model.append(longLine.toStdU16String());
    model.append(u"");
    model.append(u"Müller \xD800 allein");
    model.append(u"fünfte");
    model.publish();

    QCOMPARE(copiedText(model, {{0, 1}, {3, 4}}, WithTime::No),
             QStringLiteral("erste\n") + longLine
                 + QStringLiteral("\nMüller \uFFFD allein\nfünfte"));
    QCOMPARE(copiedText(model, {{2, 3}}, WithTime::No), QStringLiteral("\nMüller \uFFFD allein"));
    QCOMPARE(copiedText(model, {}, WithTime::No), QString());
}

void LogCopyTest::copiesEachLineWithItsTimeWhenAsked()
{
    app::EventLogModel model;
    std::vector<qint64> arrivals{
        local(2026, 12, 8, 10, 43, 12, 345), local(2026, 12, 8, 10, 43, 12, 346),
        local(2026, 12, 8, 23, 59, 59, 999), local(2026, 12, 9, 0, 0, 0, 1)};
    std::size_t next = 0;
    model.setClock([&] { return arrivals.at(next++); });
    for (const char16_t *line : {u"eins", u"zwei", u"drei", u"vier"})
        model.append(line);
    model.publish();

    QCOMPARE(copiedText(model, {{0, 3}}, WithTime::Yes),
             QStringLiteral("10:43:12.345\teins\n10:43:12.346\tzwei\n23:59:59.999\tdrei\n"
                            "00:00:00.001\tvier"));
    QCOMPARE(model.receivedAt(2), arrivals[2]);
}

void LogCopyTest::aCopyInSlicesIsTheSameText()
{
    app::EventLogModel model;
    qint64 now = local(2026, 12, 8, 12, 0, 0, 0);
    model.setClock([&] { return now += 7; });
    for (int i = 0; i < 20000; ++i)
        model.append(QStringLiteral("Zeile %1%2")
                         .arg(i)
                         .arg(i % 3 ? QString() : QString(QChar(0xDC00)))
                         .toStdU16String());
    model.publish();
    const std::vector<RowSpan> rows{{3, 9000}, {9002, 19999}};

    app::LogCopyJob job(model, rows, WithTime::Yes);
    int slices = 1;
    while (!job.writeFor(std::chrono::steady_clock::duration::zero()))
        ++slices;

    QVERIFY(slices > 2); // it did stop between slices
    const QString whole = copiedText(model, rows, WithTime::Yes);
    QCOMPARE(job.takeText(), whole);
    QCOMPARE(whole.count(u'\n'), 8998 + 10998 - 1);
    QVERIFY(
        whole.startsWith(QStringLiteral("12:00:00.028\tZeile 3\uFFFD\n12:00:00.035\tZeile 4\n")));
    QVERIFY(whole.endsWith(QStringLiteral("\tZeile 19999")));
}

void LogCopyTest::tooltipShowsWhenTheLineArrived()
{
    app::EventLogModel model;
    model.setClock([] { return local(2026, 12, 8, 7, 8, 9, 10); });
    model.append(u"Ereignis: OnRing (ID: 3) -    Nummer: 030 - MSN: 4711");
    model.append(std::u16string(3000, u'1'));
    model.publish();
    QCOMPARE(model.data(model.index(0), Qt::ToolTipRole).toString(),
             QStringLiteral("Ereignis: OnRing (ID: 3) -    Nummer: 030 - MSN: 4711\n"
                            "Empfangen um 07:08:09.010"));
    // A long line is cut in its tooltip as in its row; the time still shows.
    QCOMPARE(model.data(model.index(1), Qt::ToolTipRole).toString(),
             QString(1000, QLatin1Char('1')) + QChar(0x2026)
                 + QStringLiteral("\nEmpfangen um 07:08:09.010"));
}

QTEST_GUILESS_MAIN(LogCopyTest)
#include "LogCopyTest.moc"
