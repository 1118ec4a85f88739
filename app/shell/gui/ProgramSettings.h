#pragma once
// What the window program remembers between runs, per user: the last
// folder and open filter of the file dialogs, window sizes, and the
// calibration files last used. Nothing here changes a result; a first run
// looks as the program always does.
#include <optional>
#include <string>

class QSize;
class QWidget;

namespace raylen {

enum class RememberedFile { dark, flat, table, sensitivity, dispersion };

// The folder a file dialog starts in when its file name has none.
std::string lastFolder();
// Keeps the folder of a chosen file.
void rememberFolderOf(const std::string& file);

// The open dialog's entry last chosen when no window was active (0: none).
int lastOpenFilter();
void rememberOpenFilter(int filterIndex);

// A calibration file last used, if it still exists.
std::string rememberedFile(RememberedFile role);
void rememberFile(RememberedFile role, const std::string& path);

// The main window's geometry.
void restoreMainWindow(QWidget* window);
void rememberMainWindow(const QWidget* window);

// The size a resizable window (plot, result, header) had when it was last
// hidden, by its object name; keepSize makes the window store it then.
std::optional<QSize> documentSize(const QWidget* window);
void keepSize(QWidget* window);

} // namespace raylen
