#include "shell/gui/FormSupport.h"

#include "platform/UiService.h"
#include "shell/gui/Fonts.h"

namespace raylen {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixelsX(left), twipsToPixelsY(top), twipsToPixelsX(width), twipsToPixelsY(height));
}

void showCritical(const std::string& message)
{
    if (!message.empty())
        platform::MsgBox(message, platform::vbCritical);
}

} // namespace raylen
