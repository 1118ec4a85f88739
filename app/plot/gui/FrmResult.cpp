#include "plot/gui/FrmResult.h"
#include "shell/gui/WindowRegistry.h"

#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/MdiRaylen.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>

#include <algorithm>

namespace raylen {

using namespace platform;

namespace {

constexpr int formWidthTwips = 2580;
constexpr int formHeightTwips = 2955;

} // namespace

FrmResult* frmResult() { return windowRegistry().loaded<FrmResult>(); }

FrmResult::FrmResult(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName("frmResult");
    setWindowTitle(QString::fromUtf8("測定結果"));
    txtMsg = new QPlainTextEdit(this);
    txtMsg->setObjectName("txtMsg");
    txtMsg->setPlainText("Result\n");
    txtMsg->setReadOnly(true);
    txtMsg->setLineWrapMode(QPlainTextEdit::NoWrap);
    resize(twipsToPixelsX(formWidthTwips), twipsToPixelsY(formHeightTwips));
}

std::string FrmResult::sfMessage(const std::string& strMessage)
{
    return trapErrors("sfMessage", [&] {
        std::move_backward(messages_.begin(), messages_.end() - 1, messages_.end());
        messages_.front() = strMessage;
        std::string text;
        for (const std::string& entry : messages_) {
            text += entry;
            text += '\n';
        }
        txtMsg->setPlainText(QString::fromStdString(text));
    });
}

void FrmResult::resizeEvent(QResizeEvent* event)
{
    // Qt's sizes exclude the frame and caption that the form's
    // width − 100 and height − 340 twips allowed for: the log fills the
    // client area, and a window shrunk to nothing leaves it empty, never
    // negative.
    txtMsg->setGeometry(0, 0, std::max(0, width()), std::max(0, height()));
    QWidget::resizeEvent(event);
}

FrmResult* showFrmResult()
{
    QWidget* focused = QApplication::focusWidget();
    FrmResult* shown = frmResult();
    if (shown == nullptr) {
        auto* window = new FrmResult(mdiRaylen());
        window->setAttribute(Qt::WA_DeleteOnClose);
        // Every load begins the log with one empty line.
        const std::string message = window->sfMessage("");
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            delete window;
            return nullptr;
        }
        windowRegistry().setLoaded(window);
        shown = window;
    }
    shown->setAttribute(Qt::WA_ShowWithoutActivating);
    shown->show();
    shown->raise();
    if (focused != nullptr) {
        focused->activateWindow();
        focused->setFocus();
    }
    return shown;
}

void unloadFrmResult()
{
    if (FrmResult* shown = frmResult())
        shown->close();
}

} // namespace raylen
