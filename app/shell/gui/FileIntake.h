#pragma once
// Turning a file chosen in the open dialog or dropped on the main window
// into an open document, and the file-dialog and region helpers every
// window uses.
#include "fits/FitsHeader.h"
#include "platform/UiService.h"

#include <QGuiApplication>
#include <QList>
#include <QUrl>

#include <string>

class QLineEdit;
class QMimeData;

namespace raylen {

// Hourglass pointer for the life of the object.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The open dialog's filter.
extern const char* const openFileFilter;

std::string sfOpenFileDlg(platform::CommonDialog& dlg, std::string& strFile);
// Opens the last local file of the drop's list.
std::string sfOpenFileOLEDrop(const QList<QUrl>& files, std::string& strFile);
std::string sfOpenFilePro(std::string strFile);

enum BrowseMode : int { browseOpen = 1, browseSave = 2, browsePrinter = 3 };
// The filter of the dialogs that take or write one frame.
inline constexpr const char* frameFilter = "FITSﾌｧｲﾙ(*.fit,*.fts)|*.fit;*.fts|";
std::string sfBrowseFile(platform::CommonDialog& dlg, std::string& strFile, int intMode, const std::string& strTitle,
                         const std::string& strFilter, int& intFilterIndex, bool& blnCancel);

// The four region boxes of a dialog (scan, image cut).
struct RegionFields {
    QLineEdit* txtStartX = nullptr;
    QLineEdit* txtEndX = nullptr;
    QLineEdit* txtStartY = nullptr;
    QLineEdit* txtEndY = nullptr;
};
// Reads, corrects and writes back the region and moves the image window's
// region box onto it.
std::string sfCheckAndReset(const RegionFields& frm, const FitsInfo& typInfo);

} // namespace raylen
