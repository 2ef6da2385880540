#include "app/EventLogModel.h"

#include "app/DisplayText.h"

#include <QSignalSpy>
#include <QTest>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

using app::EventLogModel;

class EventLogModelTest : public QObject
{
    Q_OBJECT

private slots:
    void linesComeBackExactly_data();
    void linesComeBackExactly();
    void rowsAppearOnlyWhenPublished();
    void publishInsertsAllNewLinesAtOnce();
    void clearRemovesPublishedAndPendingLines();
    void clearGivesTheMemoryBack();
};

void EventLogModelTest::linesComeBackExactly_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("event line") << QStringLiteral(
        "Ereignis: OnRing (ID: 7) -    Nummer: 123 - MSN: 45");
    QTest::newRow("empty") << QString();
    QTest::newRow("umlauts") << QStringLiteral(
        "Ereignis: OnIdle (ID:-1) -    Nummer: Müller - MSN: ß");
    QTest::newRow("beyond latin-1") << QStringLiteral("Nummer: 電話 – Łódź 📞");
    QTest::newRow("embedded NUL") << QString::fromUtf16(u"vor\0nach", 8);
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("x");
    QTest::newRow("long") << QString(200000, QLatin1Char('7'));
}

void EventLogModelTest::linesComeBackExactly()
{
    QFETCH(QString, line);
    EventLogModel model;
    model.append(u"davor");
    model.append(line.toStdU16String());
    model.publish();

    const QModelIndex index = model.index(1);
    QCOMPARE(model.line(1), line);
    // Shown as it came, but for a lone surrogate, which shows as U+FFFD.
    const QString shown = app::withLoneSurrogatesMarked(line);
    QCOMPARE(model.data(index, Qt::DisplayRole).toString(), shown);
    QCOMPARE(model.data(index, Qt::AccessibleTextRole).toString(), shown);
    // The tooltip cuts it as the row does, and says when it arrived.
    const QString tip = model.data(index, Qt::ToolTipRole).toString();
    QVERIFY(tip.startsWith(app::shownPart(shown) + QStringLiteral("\nEmpfangen um ")));
    QCOMPARE(model.data(model.index(0)).toString(), QStringLiteral("davor"));
}

void EventLogModelTest::rowsAppearOnlyWhenPublished()
{
    EventLogModel model;
    model.append(u"eins");
    model.append(u"zwei");

    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.lineCount(), 2);
    QCOMPARE(model.line(1), QStringLiteral("zwei")); // stored at once, listed later

    model.publish();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(1)).toString(), QStringLiteral("zwei"));
}

void EventLogModelTest::publishInsertsAllNewLinesAtOnce()
{
    EventLogModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    for (int i = 0; i < 3; ++i)
        model.append(u"Zeile");
    model.publish();
    model.publish(); // nothing new: no insertion
    model.append(u"vier");
    model.append(u"fünf");
    model.publish();

    QCOMPARE(inserted.count(), 2);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 2);
    QCOMPARE(inserted.at(1).at(1).toInt(), 3);
    QCOMPARE(inserted.at(1).at(2).toInt(), 4);
    QCOMPARE(model.rowCount(), 5);
}

void EventLogModelTest::clearRemovesPublishedAndPendingLines()
{
    EventLogModel model;
    model.append(u"gezeigt");
    model.publish();
    model.append(u"noch nicht gezeigt");
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    model.clear();
    model.publish();

    QCOMPARE(reset.count(), 1);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.lineCount(), 0);
    QCOMPARE(model.store().allocatedBytes(), std::size_t{0});
}

void EventLogModelTest::clearGivesTheMemoryBack()
{
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TERVANI_ADDRESS_SANITIZER
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TERVANI_ADDRESS_SANITIZER)
    QSKIP("AddressSanitizer's allocator keeps its own books; glibc's counts show nothing");
#elif defined(__GLIBC__)
    EventLogModel model;
    const auto inUse = [] {
        return static_cast<qint64>(mallinfo2().uordblks);
    };
    const qint64 before = inUse();
    const std::u16string line =
        u"Ereignis: OnConnected (ID: 1234567) -    Nummer: 0301234567 - MSN: 4711";
    for (int i = 0; i < 200000; ++i)
        model.append(line);
    model.publish();
    const qint64 full = inUse();
    QVERIFY2(full - before > 10 * 1024 * 1024, "200,000 lines should take over 10 MB");

    model.clear();

    QVERIFY2(inUse() - before < 256 * 1024, "clearing should free the lines' memory");
#else
    QSKIP("measures the heap through glibc");
#endif
}

QTEST_GUILESS_MAIN(EventLogModelTest)
#include "EventLogModelTest.moc"
