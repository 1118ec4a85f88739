#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "kinds/Resources.h"
#include "picture/ChartPicture.h"

namespace lumigra {

bool copyToClipboard(ChartDocument& control, int type, double dx, double dy, bool exact, AxisTransformHook hook)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    if (type != lgImageMetaFile && type != lgImageBitmap && type != lgImageEnhMetaFile)
        return true;
    auto picture = createPicture(control, type, dx, dy, exact, std::move(hook));
    if (!picture)
        return false;
    if (type == lgImageBitmap) {
        clipboard->setPixmap(picture->pixmap);
        return true;
    }
    auto* data = new QMimeData;
    if (type == lgImageEnhMetaFile)
        data->setData(QStringLiteral("image/svg+xml"), picture->svg);
    else
        data->setData(QString::fromLatin1(kPictureMimeType),
                      QByteArray(picture->picture.data(), static_cast<qsizetype>(picture->picture.size())));
    clipboard->setMimeData(data);
    return true;
}

} // namespace lumigra
