#include "platform/QtUiService.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>

namespace platform {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// "FITSﾌｧｲﾙ(*.fit,*.fts)|*.fit;*.fts" -> "FITSﾌｧｲﾙ(*.fit,*.fts) (*.fit *.fts)"
QStringList nameFilters(const std::string& filter)
{
    QStringList filters;
    for (const FilterEntry& entry : parseFilter(filter)) {
        QString patterns = qt(entry.pattern);
        patterns.replace(';', ' ');
        filters << qt(entry.text) + " (" + patterns + ")";
    }
    return filters;
}

} // namespace

int QtUiService::msgBox(const std::string& prompt, int style, const std::string& title)
{
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(qt(title));
    box.setText(qt(prompt));
    switch (msgBoxIcon(style)) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    std::vector<Choice> choices;
    switch (msgBoxButtons(style)) {
    case vbOKCancel: choices = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore: choices = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}}; break;
    case vbYesNoCancel: choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbYesNo: choices = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: choices = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: choices = {{QMessageBox::Ok, vbOK}}; break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    size_t defaultIndex = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
    if (defaultIndex < choices.size())
        box.setDefaultButton(choices[defaultIndex].button);
    QMessageBox::StandardButton clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const Choice& c : choices)
        if (c.button == clicked)
            return c.result;
    // Closed with Escape or the window button: the cancelling answer.
    for (const Choice& c : choices)
        if (c.result == vbCancel)
            return vbCancel;
    return choices.back().result;
}

bool QtUiService::showDialog(CommonDialog& dialog, DialogMode mode)
{
    QWidget* owner = parent ? parent : QApplication::activeWindow();
    if (mode == DialogMode::Help) {
        if (helpHandler)
            helpHandler(dialog);
        return true;
    }
    if (mode == DialogMode::Printer) {
        QPrintDialog print(&sharedPrinter(), owner);
        if (!dialog.DialogTitle.empty())
            print.setWindowTitle(qt(dialog.DialogTitle));
        return print.exec() == QDialog::Accepted;
    }
    QFileDialog files(owner, qt(dialog.DialogTitle));
    QStringList filters = nameFilters(dialog.Filter);
    files.setNameFilters(filters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
        files.selectNameFilter(filters.at(dialog.FilterIndex - 1));
    if (mode == DialogMode::Save) {
        files.setAcceptMode(QFileDialog::AcceptSave);
        files.setFileMode(QFileDialog::AnyFile);
        // The system asks its own overwrite question.
        files.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        files.setAcceptMode(QFileDialog::AcceptOpen);
        files.setFileMode(QFileDialog::ExistingFile);
    }
    const bool bareName = dialog.FileName.find('/') == std::string::npos;
    if (!dialog.InitDir.empty() && bareName)
        files.setDirectory(qt(dialog.InitDir));
    if (!dialog.FileName.empty())
        files.selectFile(qt(dialog.FileName));
    if (files.exec() != QDialog::Accepted || files.selectedFiles().isEmpty())
        return false;
    dialog.FileName = files.selectedFiles().first().toStdString();
    int index = filters.indexOf(files.selectedNameFilter());
    dialog.FilterIndex = index >= 0 ? index + 1 : 1;
    return true;
}

QPrinter& sharedPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

} // namespace platform
