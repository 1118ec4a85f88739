#include "image/gui/ImageSave.h"

#include "fits/FitsData.h"
#include "display/Bitmap.h"
#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/MdiRaylen.h"

#include <filesystem>

namespace raylen {

using namespace platform;

const char* const saveImageFilter = "FITSﾌｧｲﾙ(*.fit,*.fts)|*.fit;*.fts|BMPﾌｧｲﾙ(*.bmp)|*.bmp|";

std::string sfSaveImgSngPro(std::string strFile, HeaderCards& strHeader, const SingleImage& sngImage,
                            bool& blnCancel)
{
    blnCancel = false;
    return trapErrors("sfSaveImgSngPro", [&]() -> std::string {
        MdiRaylen* main = mdiRaylen();
        if (main == nullptr)
            raise(errObjectNotSet);
        int filterIndex = 1;
        for (;;) {
            bool cancel = false;
            std::string message = sfBrowseFile(main->dlgOpenFile, strFile, browseSave, "名前を付けて保存",
                                               saveImageFilter, filterIndex, cancel);
            if (!message.empty())
                return message;
            if (cancel) {
                blnCancel = true;
                return {};
            }
            std::error_code ignored;
            if (!std::filesystem::exists(strFile, ignored))
                break;
            int answer = MsgBox("同じ名前のﾌｧｲﾙが存在します。上書きしますか？", vbExclamation | vbYesNoCancel,
                                "ﾌｧｲﾙの保存");
            if (answer == vbYes)
                break;
            if (answer == vbCancel) {
                blnCancel = true;
                return {};
            }
        }
        WaitCursor wait;
        if (filterIndex == 1)
            return sfSaveImgSng(strFile, strHeader, sngImage);
        if (filterIndex == 2)
            return saveBitmapFile(appState().renderFile, strFile);
        return {};
    });
}

void dfUnloadForm(bool& blnCancel)
{
    AppState& s = appState();
    blnCancel = false;
    if (!s.blnImageChanged)
        return;
    switch (MsgBox("変更されています. 保存しますか？", vbYesNoCancel)) {
    case vbYes: {
        bool cancel = false;
        std::string message = sfSaveImgSngPro(s.strFileName, s.strHeader, s.sngImage, cancel);
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            blnCancel = true;
        } else if (cancel) {
            blnCancel = true;
        } else {
            s.blnImageChanged = false;
        }
        break;
    }
    case vbNo:
        break;
    default:
        blnCancel = true;
        break;
    }
}

} // namespace raylen
