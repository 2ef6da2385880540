#include "app/Dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace app {

namespace {

void showModal(QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    // Texts come from the control and the user: never interpret them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

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
    showModal(QMessageBox::Critical, QString::fromStdU16String(std::u16string(applicationTitle)),
              QString::fromStdString(error.description()));
}

} // namespace app
