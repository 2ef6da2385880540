#include "app/LogView.h"
#include "app/EventLogModel.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>

#include <memory>

using app::EventLogModel;
using app::LogView;

namespace {

QString lineText(int row)
{
    return QStringLiteral("Ereignis: OnIdle (ID: %1) -    Nummer: 0301234567 - MSN: 4711").arg(row);
}

// A model and its view at LST_Message's size, shown.
struct Shown
{
    explicit Shown(int lines)
    {
        view.setModel(&model);
        view.resize(449, 134);
        view.show();
        append(lines);
    }
    void append(int lines)
    {
        const int first = static_cast<int>(model.lineCount());
        for (int row = first; row < first + lines; ++row)
            model.append(lineText(row).toStdU16String());
        model.publish();
    }
    int fullRows() const { return view.viewport()->height() / view.rowHeight(); }
    QModelIndex row(int r) const { return model.index(r); }

    EventLogModel model;
    LogView view;
};

// Notes which rows the view asks to paint.
class RecordingDelegate : public QStyledItemDelegate
{
public:
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        painted.append(index.row());
        QStyledItemDelegate::paint(painter, option, index);
    }
    mutable QList<int> painted;
};

} // namespace

class LogViewTest : public QObject
{
    Q_OBJECT

private slots:
    void rowsFollowPublishing();
    void scrollsToAnyLineAtOnce_data();
    void scrollsToAnyLineAtOnce();
    void paintsOnlyTheRowsOnScreen();
    void longLinesAreNotShortened();
    void keysMoveAlongTheList();
    void clickSelectsTheRowUnderThePointer();
    void clickBelowTheLastRowSelectsNothing();
    void screenReadersSeeAList();
    void clearingEmptiesTheView();
};

void LogViewTest::rowsFollowPublishing()
{
    Shown shown(0);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.view));
    for (int row = 0; row < 30; ++row)
        shown.model.append(lineText(row).toStdU16String());

    QVERIFY(!shown.view.indexAt(QPoint(5, 5)).isValid());
    QCOMPARE(shown.view.verticalScrollBar()->maximum(), 0);

    shown.model.publish();

    QCOMPARE(shown.view.indexAt(QPoint(5, 5)), shown.row(0));
    QCOMPARE(shown.view.verticalScrollBar()->maximum(), 30 - shown.fullRows());
}

void LogViewTest::scrollsToAnyLineAtOnce_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("hint");
    const int last = 199999;
    QTest::newRow("last, ensure visible") << last << int(QAbstractItemView::EnsureVisible);
    QTest::newRow("middle, at top") << 100000 << int(QAbstractItemView::PositionAtTop);
    QTest::newRow("middle, at center") << 123456 << int(QAbstractItemView::PositionAtCenter);
    QTest::newRow("middle, at bottom") << 54321 << int(QAbstractItemView::PositionAtBottom);
    QTest::newRow("first, ensure visible") << 0 << int(QAbstractItemView::EnsureVisible);
    QTest::newRow("last, at top") << last << int(QAbstractItemView::PositionAtTop);
}

void LogViewTest::scrollsToAnyLineAtOnce()
{
    QFETCH(int, row);
    QFETCH(int, hint);
    Shown shown(200000);
    shown.view.scrollTo(shown.row(100), QAbstractItemView::PositionAtTop); // start elsewhere

    shown.view.scrollTo(shown.row(row), QAbstractItemView::ScrollHint(hint));

    const QRect rect = shown.view.visualRect(shown.row(row));
    QVERIFY2(shown.view.viewport()->rect().contains(rect.topLeft())
                 && rect.bottom() <= shown.view.viewport()->rect().bottom(),
             "the row is not fully on screen");
    QCOMPARE(shown.view.indexAt(rect.center()), shown.row(row));
    if (hint == QAbstractItemView::PositionAtTop && row != 199999)
        QCOMPARE(rect.top(), 0);
}

void LogViewTest::paintsOnlyTheRowsOnScreen()
{
    Shown shown(200000);
    RecordingDelegate delegate;
    shown.view.setItemDelegate(&delegate);
    shown.view.scrollTo(shown.row(150000), QAbstractItemView::PositionAtTop);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.view));
    delegate.painted.clear();

    shown.view.viewport()->repaint();

    QVERIFY(!delegate.painted.isEmpty());
    QCOMPARE(delegate.painted.first(), 150000);
    QVERIFY(delegate.painted.size() <= shown.fullRows() + 1);
    for (int i = 1; i < delegate.painted.size(); ++i)
        QCOMPARE(delegate.painted.at(i), 150000 + i);
    shown.view.setItemDelegate(nullptr);
}

void LogViewTest::longLinesAreNotShortened()
{
    Shown shown(0);
    const QString longLine = QStringLiteral("Nummer: ") + QString(400, QLatin1Char('9'));
    shown.model.append(longLine.toStdU16String());
    shown.model.publish();

    QCOMPARE(shown.view.textElideMode(), Qt::ElideNone);
    const int textWidth = shown.view.fontMetrics().horizontalAdvance(longLine);
    QScrollBar *horizontal = shown.view.horizontalScrollBar();
    QVERIFY2(horizontal->maximum() + shown.view.viewport()->width() >= textWidth,
             "the horizontal scroll bar does not reach the end of the line");
    QVERIFY(shown.view.visualRect(shown.row(0)).width() >= textWidth);
}

void LogViewTest::keysMoveAlongTheList()
{
    Shown shown(1000);
    shown.view.setFocus();
    shown.view.setCurrentIndex(shown.row(0));
    const auto current = [&] {
        return shown.view.currentIndex().row();
    };

    QTest::keyClick(&shown.view, Qt::Key_Down);
    QCOMPARE(current(), 1);
    QTest::keyClick(&shown.view, Qt::Key_PageDown);
    QCOMPARE(current(), 1 + shown.fullRows());
    QTest::keyClick(&shown.view, Qt::Key_End);
    QCOMPARE(current(), 999);
    if (QGuiApplication::platformName() == u"minimal")
        QSKIP("The minimal platform gives the Vista style no window to measure rows in.");
    QVERIFY(shown.view.viewport()->rect().contains(shown.view.visualRect(shown.row(999))));
    QTest::keyClick(&shown.view, Qt::Key_Up);
    QCOMPARE(current(), 998);
    QTest::keyClick(&shown.view, Qt::Key_Home);
    QCOMPARE(current(), 0);
    QCOMPARE(shown.view.verticalScrollBar()->value(), 0);
    QTest::keyClick(&shown.view, Qt::Key_Up);
    QCOMPARE(current(), 0);
    QCOMPARE(shown.view.selectionModel()->selectedRows(), QModelIndexList{shown.row(0)});
}

void LogViewTest::clickSelectsTheRowUnderThePointer()
{
    Shown shown(1000);
    shown.view.setSelectionMode(QAbstractItemView::SingleSelection);
    shown.view.scrollTo(shown.row(500), QAbstractItemView::PositionAtTop);
    const int height = shown.view.rowHeight();

    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {},
                      QPoint(10, 2 * height + height / 2));

    QCOMPARE(shown.view.selectionModel()->selectedRows(), QModelIndexList{shown.row(502)});
    QCOMPARE(shown.view.currentIndex(), shown.row(502));
}

void LogViewTest::clickBelowTheLastRowSelectsNothing()
{
    Shown shown(3);
    const int height = shown.view.rowHeight();
    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, QPoint(10, height + 2));
    QCOMPARE(shown.view.selectionModel()->selectedRows(), QModelIndexList{shown.row(1)});

    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, QPoint(10, 5 * height));

    QVERIFY(shown.view.selectionModel()->selectedRows().isEmpty());
}

void LogViewTest::screenReadersSeeAList()
{
    Shown shown(50);
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&shown.view);
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    QVERIFY(list->tableInterface());
    QCOMPARE(list->tableInterface()->rowCount(), 50);

    QAccessibleInterface *cell = list->tableInterface()->cellAt(2, 0);
    QVERIFY(cell);
    QCOMPARE(cell->role(), QAccessible::ListItem);
    QCOMPARE(cell->text(QAccessible::Name), lineText(2));
    QVERIFY(!cell->state().invisible);
    QVERIFY(list->tableInterface()->cellAt(40, 0)->state().invisible); // below the viewport
}

void LogViewTest::clearingEmptiesTheView()
{
    Shown shown(0);
    shown.model.append((QStringLiteral("x") + QString(300, QLatin1Char('y'))).toStdU16String());
    shown.append(500);
    shown.view.scrollToBottom();
    QVERIFY(shown.view.horizontalScrollBar()->maximum() > 0);

    shown.model.clear();
    QCoreApplication::processEvents(); // the view lays out again on its own timer

    QCOMPARE(shown.view.verticalScrollBar()->maximum(), 0);
    QCOMPARE(shown.view.horizontalScrollBar()->maximum(), 0);
    QVERIFY(!shown.view.indexAt(QPoint(5, 5)).isValid());
}

QTEST_MAIN(LogViewTest)
#include "LogViewTest.moc"
