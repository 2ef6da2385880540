#pragma once

#include "form/Dialogs.h"

#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>

namespace app {

// Shown on every box that carries no title of its own, and on the error report.
inline constexpr std::u16string_view applicationTitle = u"Tervani-Testbench";

// Modal QMessageBox dialogs over the active window. The error report is modal to its owner
// only, so that other windows (the softphone's) stay usable while it is open; an error that
// comes while it is open is added to it instead of opening a box of its own.
class QtDialogs : public form::Dialogs
{
public:
    QtDialogs();
    ~QtDialogs() override;

    // The window the error report belongs to. Without one it is modal to the whole program.
    void setReportOwner(QWidget *window);

    void messageBox(const std::u16string &prompt, form::BoxStyle style,
                    const std::optional<std::u16string> &title) override;
    void errorReport(const phone::Error &error) override;

private:
    class OpenReport;

    QPointer<QWidget> m_reportOwner;
    OpenReport *m_openReport = nullptr;
};

} // namespace app
