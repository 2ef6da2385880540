#include "app/LogActions.h"

#include "app/EventLogModel.h"
#include "app/LogView.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <limits>

namespace app {

namespace {

// A slice short enough that input and repaints between slices feel immediate.
constexpr auto sliceTime = std::chrono::milliseconds(8);

} // namespace

LogActions::LogActions(LogView &view, const EventLogModel &model, Runner run)
    : QObject(&view)
    , m_view(view)
    , m_model(model)
    , m_run(std::move(run))
    , m_copySelected(new QAction(QStringLiteral("Kopieren"), this))
    , m_copyAll(new QAction(QStringLiteral("Alles kopieren"), this))
    , m_copyAllWithTime(new QAction(QStringLiteral("Alles mit Uhrzeit kopieren"), this))
    , m_followNewLines(new QAction(QStringLiteral("Neuen Zeilen folgen"), this))
{
    m_copySelected->setShortcut(QKeySequence::Copy);
    m_copySelected->setShortcutContext(Qt::WidgetShortcut);
    m_followNewLines->setCheckable(true);
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    view.addActions({m_copySelected, m_copyAll, m_copyAllWithTime, separator, m_followNewLines});
    view.setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(m_copySelected, &QAction::triggered, this, [this] {
        start("LST_Message (Kopieren)", selectedRows(m_view.selectionModel()->selection()),
              WithTime::No);
    });
    // Every stored line, also those the list shows from its next refresh on.
    const auto allLines = [this] {
        const auto lines = static_cast<int>(
            std::min<qsizetype>(m_model.lineCount(), std::numeric_limits<int>::max()));
        return lines == 0 ? std::vector<RowSpan>{} : std::vector<RowSpan>{{0, lines - 1}};
    };
    connect(m_copyAll, &QAction::triggered, this,
            [this, allLines] { start("LST_Message (Alles kopieren)", allLines(), WithTime::No); });
    connect(m_copyAllWithTime, &QAction::triggered, this, [this, allLines] {
        start("LST_Message (Alles mit Uhrzeit kopieren)", allLines(), WithTime::Yes);
    });
    connect(m_followNewLines, &QAction::toggled, &view, &LogView::setFollowsNewRows);

    m_nextSlice.setSingleShot(true);
    connect(&m_nextSlice, &QTimer::timeout, this, &LogActions::writeSlice);
    // The lines being copied are gone.
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_nextSlice.stop();
        m_job.reset();
    });

    connect(&model, &QAbstractItemModel::rowsInserted, this, &LogActions::updateEnabled);
    connect(&model, &QAbstractItemModel::modelReset, this, &LogActions::updateEnabled);
    connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LogActions::updateEnabled);
    updateEnabled();
}

LogActions::~LogActions() = default;

void LogActions::updateEnabled()
{
    m_copySelected->setEnabled(m_view.selectionModel()->hasSelection());
    m_copyAll->setEnabled(m_model.rowCount() > 0);
    m_copyAllWithTime->setEnabled(m_model.rowCount() > 0);
}

void LogActions::start(std::string_view handler, std::vector<RowSpan> rows, WithTime time)
{
    m_nextSlice.stop();
    m_job.reset();
    if (rows.empty())
        return;
    m_jobHandler = handler;
    m_run(handler, [&] { m_job = std::make_unique<LogCopyJob>(m_model, std::move(rows), time); });
    // A short copy is whole after its first slice, before the click's handling ends.
    writeSlice();
}

void LogActions::writeSlice()
{
    m_run(m_jobHandler, [this] {
        if (!m_job)
            return;
        bool whole = false;
        try {
            whole = m_job->writeFor(sliceTime);
        } catch (...) {
            m_job.reset();
            throw;
        }
        if (!whole) {
            m_nextSlice.start(0);
            return;
        }
        const QString text = m_job->takeText();
        m_job.reset();
        QGuiApplication::clipboard()->setText(text);
    });
}

} // namespace app
