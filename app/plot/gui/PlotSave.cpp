#include "plot/gui/PlotSave.h"

#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "shell/FileAccess.h"
#include "shell/TextSpectrum.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/MdiRaylen.h"

namespace raylen {

using namespace platform;

namespace {
constexpr const char* saveTitle = "名前を付けて保存";
constexpr const char* textFilter = "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|";
constexpr int textFilterIndex = 1;
} // namespace

std::string sfSaveDataPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                          std::string& strFile, bool& blnCancel)
{
    return trapErrors("sfSaveDataPro", [&]() -> std::string {
        MdiRaylen* main = mdiRaylen();
        CommonDialog fallback;
        CommonDialog& dialog = main != nullptr ? main->dlgOpenFile : fallback;
        int filterIndex = textFilterIndex;
        for (;;) {
            std::string message =
                sfBrowseFile(dialog, strFile, browseSave, saveTitle, textFilter, filterIndex, blnCancel);
            if (!message.empty())
                return message;
            if (blnCancel)
                return {};
            if (!dfIsFileExist(strFile))
                break;
            const int answer = MsgBox("同じ名前のﾌｧｲﾙが存在します。上書きしますか？", vbYesNoCancel | vbExclamation,
                                      "ﾌｧｲﾙの保存");
            if (answer == vbYes)
                break;
            if (answer == vbCancel) {
                blnCancel = true;
                return {};
            }
        }
        if (filterIndex == textFilterIndex)
            return sfSaveText(sngDataX, sngDataY, strFile);
        return {};
    });
}

} // namespace raylen
