// The identification dialog's "previous solution": reidentification of
// the plotted lamp from an earlier dispersion file.
#include "reduce/gui/FrmIdent.h"

#include "files/FileAccess.h"
#include "files/TextSpectrum.h"
#include "fits/FitsSpectrum.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/UiService.h"
#include "reduce/Dispersion.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/FormSupport.h"
#include "shell/gui/MdiRaylen.h"

#include <QLineEdit>
#include <QTableWidget>

namespace raylen {

using namespace platform;

namespace {
const char* const previousCaption = "波長同定";
} // namespace

std::string FrmIdent::reidentify(const std::string& dipFile, const std::string& lampFile)
{
    if (intPage_ != 2)
        return {};
    storeEditor();
    if (!dfIsFileExist(dipFile))
        return "ファイルが存在しません。";
    std::vector<double> oldA;
    std::string message = sfOpenDispFile(dipFile, oldA);
    std::vector<float> oldX, oldY;
    PreviousLamp previous;
    if (message.empty() && !lampFile.empty()) {
        if (!dfIsFileExist(lampFile))
            return "ﾌｧｲﾙが存在しません";
        message = isFitsSpectrumFile(lampFile) ? sfOpenFitsSpectrum(lampFile, oldX, oldY)
                                               : sfOpenText(lampFile, oldX, oldY);
        previous = {&oldX, &oldY};
    }
    if (!message.empty())
        return message;
    ReidentifySettings settings;
    settings.search = intSearch;
    settings.halfWidth = dblHPFW;
    try {
        settings.order = orderFromText(txtOrder->text().toStdString());
    } catch (const BasicError& e) {
        return trapMessage("cmdPrevious_Click", e);
    }
    settings.tolerance = leadingNumber(txtTolerance->text().toStdString());
    if (!(settings.tolerance > 0))
        return "許容範囲は正の数で指定してください";
    std::vector<double> a;
    int added = 0;
    LampShift found;
    message = sfReidentify(grid_, sngCompX, sngCompY, oldA, previous, settings, found, a, added);
    if (!message.empty())
        return message;
    shift_ = found;
    for (int row = 1; row < grid_.Rows(); ++row)
        if (QTableWidgetItem* item = fg2->item(row - 1, IdentGrid::colPixel - 1))
            item->setText(qt(grid_.text(row, IdentGrid::colPixel)));
    showResiduals(a);
    if (ResultWriter* writer = plotTasks().showResult()) {
        const std::string text = lampShiftText(found);
        const size_t end = text.find('\n');
        writer->sfMessage(text.substr(0, end) + " " + text.substr(end + 1, text.size() - end - 2));
    }
    return {};
}

void FrmIdent::cmdPrevious_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr || intPage_ != 2)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string dip, lamp;
    std::string message = sfBrowseFile(main->dlgOpenFile, dip, browseOpen, "前回の分散ﾌｧｲﾙを開く",
                                       "ﾌｧｲﾙ名(*.dip)|*.dip|", filterIndex, cancel);
    if (message.empty() && cancel)
        return;
    if (message.empty()) {
        filterIndex = 1;
        message = sfBrowseFile(main->dlgOpenFile, lamp, browseOpen, "前回の比較光源を開く（省略可）",
                               "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*|", filterIndex, cancel);
        if (cancel)
            lamp.clear();
    }
    if (message.empty())
        message = reidentify(dip, lamp);
    if (!message.empty())
        MsgBox(message, vbExclamation, previousCaption);
}

} // namespace raylen
