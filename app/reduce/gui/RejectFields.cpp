#include "reduce/gui/RejectFields.h"

#include "fits/FitsHeader.h"
#include "platform/UiService.h"
#include "shell/gui/FormSupport.h"

#include <QLabel>
#include <QLineEdit>

namespace raylen {

namespace {
constexpr int labelWidth = 1200, boxWidth = 420, boxStep = 450, boxHeight = 330, labelHeight = 300;
constexpr int labelDrop = 30; // the label's text sits level with the boxes' text
} // namespace

void RejectFields::create(QWidget* parent, const std::string& objectPrefix)
{
    label = new QLabel(QString::fromStdString("棄却σ 下 上 回"), parent);
    label->setObjectName(QString::fromStdString(objectPrefix + "RejectLabel"));
    const char* names[] = {"RejectLow", "RejectHigh", "RejectIter"};
    for (size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = new QLineEdit(parent);
        boxes[i]->setObjectName(QString::fromStdString(objectPrefix + names[i]));
    }
}

void RejectFields::place(int left, int top)
{
    label->setGeometry(twipsRect(left, top + labelDrop, labelWidth, labelHeight));
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setGeometry(twipsRect(left + labelWidth + boxStep * static_cast<int>(i), top, boxWidth, boxHeight));
}

bool RejectFields::read(RejectOptions& options, const std::string& caption) const
{
    std::string text[3];
    for (size_t i = 0; i < boxes.size(); ++i)
        text[i] = trimBlanks(boxes[i]->text().toStdString());
    options = {};
    if (text[0].empty() && text[1].empty())
        return true;
    std::string joined = (text[0].empty() ? "0" : text[0]) + ":" + (text[1].empty() ? "0" : text[1]);
    if (!text[2].empty())
        joined += ":" + text[2];
    if (parseRejectOptions(joined, options))
        return true;
    platform::MsgBox("棄却の値が正しくありません", platform::vbExclamation, caption);
    return false;
}

} // namespace raylen
