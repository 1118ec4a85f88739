#include "image/gui/ChangedImage.h"

#include "display/Bitmap.h"
#include "image/gui/FrmImage.h"
#include "platform/BasicError.h"
#include "platform/Format.h"
#include "shell/gui/MdiRaylen.h"
#include "state/AppState.h"

#include <QLineEdit>

namespace raylen {

using namespace platform;

std::string sfShowChangedImage(const char* procedure)
{
    return trapErrors(procedure, [&]() -> std::string {
        AppState& s = appState();
        // The image in memory differs from its file from here on; reopening
        // the file undoes the change.
        s.blnImageChanged = true;
        float maximum = 0.0f, minimum = 0.0f;
        std::string message = sfCreateBitMap(s.sngImage, s.typFitsInfo.NAXIS1, s.typFitsInfo.NAXIS2, maximum,
                                             minimum, s.renderFile, true);
        if (!message.empty())
            return message;
        FrmImage* image = frmImage();
        message = image != nullptr ? image->sfInitForm(s.strFileName + " 変更")
                                   : trapMessage(procedure, errObjectNotSet, errorDescription(errObjectNotSet));
        if (!message.empty()) {
            s.blnImageLoaded = false;
            return message;
        }
        if (MdiRaylen* main = mdiRaylen()) {
            main->txtMax->setText(QString::fromStdString(Format(maximum, "0")));
            main->txtMin->setText(QString::fromStdString(Format(minimum, "0")));
        }
        return {};
    });
}

} // namespace raylen
