#pragma once
// Dragging the chart out as data, and taking dragged charts and chart files
// in. The data source renders on demand: the file list writes the
// temporary "Lumigra-%lu.Dat" only when a receiver asks for it, the private
// format saves the chart as a compound file in memory.
#include <QMimeData>
#include <QString>

#include <string>

#include "platform/com/Dispatch.h"

class QWidget;

namespace lumigra {

class LumigraCtrl;

// The drag's data. It keeps its control alive while a receiver may ask.
class ChartDragData final : public QMimeData {
    Q_OBJECT
public:
    explicit ChartDragData(LumigraCtrl& control);
    ~ChartDragData() override;

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;
    const LumigraCtrl* source() const { return control_.get(); }
    // The temporary file named when the drag began.
    const std::string& temporaryPath() const { return path_; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    platform::com::ComPtr<LumigraCtrl> control_;
    std::string path_;
    mutable bool written_ = false;
};

// The private format's MIME type.
QString privateFormatMime();

// OLEDrag, and a left press on an empty spot when OLEDragMode is 1: runs
// the drag from the control's window and returns the drop effect (0 none,
// 1 copy). 0 without a window.
int startChartDrag(LumigraCtrl& control);

// Whether the control takes this data: OLEDropMode 2, not its own drag,
// and the private format or a list of files.
bool acceptsChartDrop(const LumigraCtrl& control, const QMimeData* data);
// Asks the question of the data's kind and restores on Yes; true when the
// chart was replaced.
bool dropChart(LumigraCtrl& control, const QMimeData* data);

} // namespace lumigra
