#pragma once
// Printing the chart on one page: the print dialog on the printer kept for
// the run, the chart's metafile picture played over the printable area
// inside the page margins, and the cancel window during the spooling wait.
#include "platform/com/Dispatch.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;
class QWidget;

namespace raylen {

// Page margins in millimetres.
inline constexpr double printMarginLeft = 15.0;
inline constexpr double printMarginTop = 0.0;
inline constexpr double printMarginRight = 0.0;
inline constexpr double printMarginBottom = 5.0;

// iMode 0: the printer setup dialog; 1: the print dialog, after which the
// printer is ready to take a page; any other value: the printer as it is,
// without a dialog. True when the dialog was cancelled or failed.
bool PrintDialog(int16_t iMode);

// Prints the chart control `control`, whose container is widthTwips ×
// heightTwips, disabling `plotWindow` (may be null) while it runs.
void dsPrintGraph(platform::com::IDispatch* control, double widthTwips, double heightTwips, QWidget* plotWindow);

// The cancel window shown while a page is spooled.
class FrmPrintAbort : public QDialog {
    Q_OBJECT
public:
    explicit FrmPrintAbort(QWidget* parent = nullptr);
    QLabel* Label1 = nullptr;
    QPushButton* btnAbort = nullptr;

signals:
    void aborted();
};

// Set by the cancel button; false when the cancel window loads.
extern bool blnPrintAbort;

} // namespace raylen
