#include "app/Dialogs.h"

#include "app/ErrorReportText.h"

#include <QApplication>
#include <QMessageBox>
#include <QTime>
#include <QTimer>

#include <chrono>

namespace app {

namespace {

void showModal(QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    // Texts come from the control and the user: never interpret them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::string timeNow()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")).toStdString();
}

} // namespace

// The report on screen and what it lists. Further errors are shown together a moment later,
// so that a flood of them costs one update of the box, not one each.
class QtDialogs::OpenReport
{
public:
    OpenReport(QMessageBox &box, const phone::Error &first)
        : m_box(box)
        , m_text(first, timeNow())
    {
        m_box.setText(QString::fromStdString(m_text.text()));
        m_box.setInformativeText(QString::fromStdString(m_text.informativeText()));
        m_refresh.setSingleShot(true);
        m_refresh.setInterval(std::chrono::milliseconds(50));
        QObject::connect(&m_refresh, &QTimer::timeout, &m_box, [this] { refresh(); });
    }

    void add(const phone::Error &further)
    {
        m_text.add(further, timeNow());
        if (!m_refresh.isActive())
            m_refresh.start();
    }

private:
    void refresh()
    {
        m_box.setInformativeText(QString::fromStdString(m_text.informativeText()));
        m_box.setDetailedText(QString::fromStdString(m_text.details()));
    }

    QMessageBox &m_box;
    ErrorReportText m_text;
    QTimer m_refresh;
};

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

void QtDialogs::setReportOwner(QWidget *window)
{
    m_reportOwner = window;
}

void QtDialogs::messageBox(const std::u16string &prompt, form::BoxStyle style,
                           const std::optional<std::u16string> &title)
{
    const auto icon =
        style == form::BoxStyle::Information ? QMessageBox::Information : QMessageBox::NoIcon;
    showModal(
        icon,
        QString::fromStdU16String(std::u16string(title.value_or(std::u16string(applicationTitle)))),
        QString::fromStdU16String(prompt));
}

void QtDialogs::errorReport(const phone::Error &error)
{
    if (m_openReport) {
        m_openReport->add(error);
        return;
    }
    QWidget *owner = m_reportOwner ? m_reportOwner.data() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical,
                    QString::fromStdU16String(std::u16string(applicationTitle)), QString(),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    if (m_reportOwner)
        box.setWindowModality(Qt::WindowModal);
    OpenReport report(box, error);
    m_openReport = &report;
    const struct Closed
    {
        OpenReport *&open;
        ~Closed() { open = nullptr; }
    } closed{m_openReport};
    box.exec();
}

} // namespace app
