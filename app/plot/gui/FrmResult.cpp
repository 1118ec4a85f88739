#include "plot/gui/FrmResult.h"
#include "shell/gui/WindowRegistry.h"

#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/ProgramSettings.h"
#include "shell/gui/MdiRaylen.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace raylen {

using namespace platform;

namespace {

constexpr int resultWidthTwips = 2580;
constexpr int resultHeightTwips = 2955;
// Wide enough for the longest result line with its uncertainty.
const char* const widestLine = "中心値 = 6562.85 ± 0.02  [ spectrum-name.fits ]";

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
    cmdClear = new QPushButton(QString::fromUtf8("ｸﾘｱ"), this);
    cmdClear->setObjectName("cmdClear");
    connect(cmdClear, &QPushButton::clicked, this, &FrmResult::clear);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClear);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtMsg, 1);
    layout->addLayout(buttons);
    const int lineWidth = txtMsg->fontMetrics().horizontalAdvance(QString::fromUtf8(widestLine)) +
                          txtMsg->verticalScrollBar()->sizeHint().width() + 2 * txtMsg->frameWidth() + 8;
    resize(std::max(twipsToPixelsX(resultWidthTwips), lineWidth),
           twipsToPixelsY(resultHeightTwips) + cmdClear->sizeHint().height());
    if (std::optional<QSize> kept = documentSize(this))
        resize(*kept);
    keepSize(this);
}

void FrmResult::headResult(const std::string& fileName)
{
    if (!fileName.empty())
        (void)sfMessage("[ " + fileName + " ]");
}

void FrmResult::clear()
{
    messages_.fill(std::string());
    txtMsg->setPlainText(QString::fromStdString(std::string(messageCount, '\n')));
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
