#include "image/gui/FrmDispHdr.h"

#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/ProgramSettings.h"

#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>

namespace raylen {

FrmDispHdr::FrmDispHdr(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmDispHdr");
    setWindowTitle(QString::fromUtf8("ﾍｯﾀﾞｰ情報"));
    setSizeGripEnabled(true);
    txtHdr = new QPlainTextEdit(this);
    txtHdr->setObjectName("txtHdr");
    txtHdr->setFont(gothicFont(10));
    txtHdr->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtHdr->setReadOnly(true);
    setMinimumSize(120, 80);
    const AppState& s = appState();
    std::string message = sfInitForm(s.strFileName, s.strHeader);
    if (!message.empty())
        platform::MsgBox(message, platform::vbExclamation);
}

std::string FrmDispHdr::sfInitForm(const std::string& strFileName, const HeaderCards& strHeader)
{
    return platform::trapErrors("sfInitForm", [&]() -> std::string {
        // 6000 × 3000 twips outside, the text box filling what the frame
        // leaves; wider where that would cut the 80 columns of a card.
        const int cardsWidth = txtHdr->fontMetrics().horizontalAdvance(QString(cardLength, QChar('M'))) +
                               txtHdr->verticalScrollBar()->sizeHint().width() + 2 * txtHdr->frameWidth() +
                               2 * static_cast<int>(txtHdr->document()->documentMargin());
        resize(std::max(twipsToPixelsX(6000 - 100), cardsWidth), twipsToPixelsY(3000 - 340));
        if (std::optional<QSize> kept = documentSize(this))
            resize(*kept);
        keepSize(this);
        std::string name = strFileName, directory;
        std::string message = sfExtrFileName(strFileName, name, directory);
        if (!message.empty())
            return message;
        setWindowTitle(QString::fromStdString("ﾍｯﾀﾞｰ情報 [ " + name + " ]"));
        return sfDispHeader(strHeader);
    });
}

std::string FrmDispHdr::sfDispHeader(const HeaderCards& strHeader)
{
    return platform::trapErrors("sfDispHeader", [&] {
        std::string text;
        text.reserve(strHeader.size() * (cardLength + 1));
        for (const std::string& card : strHeader) {
            // Every card is shown as its 80 characters, trailing blanks kept.
            std::string line = card.substr(0, cardLength);
            line.resize(cardLength, ' ');
            text += utf8FromLatin1(line);
            text += '\n';
        }
        txtHdr->setPlainText(QString::fromStdString(text));
    });
}

void FrmDispHdr::resizeEvent(QResizeEvent* event)
{
    // The text box fills the window; the minimum size keeps it positive.
    txtHdr->setGeometry(0, 0, event->size().width(), event->size().height());
}

} // namespace raylen
