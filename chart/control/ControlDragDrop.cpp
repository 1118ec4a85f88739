#include "control/ControlDragDrop.h"

#include <QDrag>
#include <QUrl>
#include <QWidget>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "control/ControlWindow.h"
#include "control/LumigraCtrl.h"
#include "model/TickCount.h"
#include "module/ClipboardFormats.h"
#include "module/Module.h"
#include "platform/UiService.h"
#include "storage/ChartFile.h"
#include "storage/ChartStorage.h"

namespace lumigra {

namespace {

constexpr char UriListMime[] = "text/uri-list";
constexpr int DropEffectNone = 0;
constexpr int DropEffectCopy = 1;

// TEMP, else TMP, else the module directory.
std::string temporaryFolder()
{
    for (const char* name : {"TEMP", "TMP"})
        if (const char* value = std::getenv(name); value && *value)
            return value;
    return moduleDirectory();
}

std::string temporaryFileName()
{
    static std::atomic<unsigned long> sourceNumber{0};
    char name[64];
    std::snprintf(name, sizeof name, "/Lumigra-%lu.Dat", ++sourceNumber + moduleTickCount());
    return temporaryFolder() + name;
}

bool askYesNo(const std::string& question)
{
    return platform::MsgBox(question, platform::vbYesNo | platform::vbSystemModal, "Lumigra") == platform::vbYes;
}

} // namespace

QString privateFormatMime()
{
    return QString::fromStdString(clipboardFormatMime(registerClipboardFormat(WorksPrivateFormatName)).value_or(""));
}

ChartDragData::ChartDragData(LumigraCtrl& control)
    : control_(platform::com::ComPtr<LumigraCtrl>::share(&control)), path_(temporaryFileName())
{
}

ChartDragData::~ChartDragData() = default;

QStringList ChartDragData::formats() const { return {UriListMime, privateFormatMime()}; }

bool ChartDragData::hasFormat(const QString& mimeType) const { return formats().contains(mimeType); }

QVariant ChartDragData::retrieveData(const QString& mimeType, QMetaType) const
{
    if (mimeType == UriListMime) {
        // As Save with NewFile: written once, when first asked for.
        if (!written_)
            written_ = saveChartFile(*control_.get(), path_, true) != 0;
        if (!written_)
            return {};
        return QByteArray(QUrl::fromLocalFile(QString::fromStdString(path_)).toEncoded() + "\r\n");
    }
    if (mimeType == privateFormatMime()) {
        std::vector<uint8_t> bytes = saveChartStorage(*control_.get());
        if (bytes.empty())
            return {};
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }
    return {};
}

int startChartDrag(LumigraCtrl& control)
{
    QWidget* window = controlWindow(control);
    if (!window)
        return DropEffectNone;
    auto* drag = new QDrag(window);
    drag->setMimeData(new ChartDragData(control));
    Qt::DropAction action = drag->exec(Qt::CopyAction);
    return action == Qt::IgnoreAction ? DropEffectNone : DropEffectCopy;
}

bool acceptsChartDrop(const LumigraCtrl& control, const QMimeData* data)
{
    // Modes 0 and 1 take no drop.
    if (!data || control.oleDropMode_ != 2)
        return false;
    if (auto* own = qobject_cast<const ChartDragData*>(data); own && own->source() == &control)
        return false;
    if (data->hasFormat(privateFormatMime()))
        return true;
    if (!data->hasFormat(UriListMime))
        return false;
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty() && urls.front().isLocalFile();
}

bool dropChart(LumigraCtrl& control, const QMimeData* data)
{
    if (!acceptsChartDrop(control, data))
        return false;
    if (data->hasFormat(privateFormatMime())) {
        if (!askYesNo("現在の内容を廃棄してよろしいですか？"))
            return false;
        const QByteArray bytes = data->data(privateFormatMime());
        // As RestoreFromMemory without freeing: a block that is no chart changes nothing.
        return restoreChartStorage(control, reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<size_t>(bytes.size()))
               == StorageRestore::Restored;
    }
    const std::string path = data->urls().front().toLocalFile().toStdString();
    if (!askYesNo("[" + path + "]の内容で上書きします。\n現在の内容を廃棄してよろしいですか？"))
        return false;
    return restoreChartFile(control, path) != 0;
}

} // namespace lumigra
