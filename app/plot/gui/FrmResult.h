#pragma once
// The result window: a running log of measurement results, newest line on
// top, the last 100 lines kept; each result headed by the spectrum's file,
// the log kept until cleared or the program ends.
#include "plot/PlotSinks.h"

#include <QWidget>

#include <array>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace raylen {

class FrmResult : public QWidget, public ResultWriter {
    Q_OBJECT
public:
    static constexpr int messageCount = 100;

    explicit FrmResult(QWidget* parent = nullptr);

    // Adds one line at the top of the log.
    std::string sfMessage(const std::string& strMessage) override;
    // Heads the result just written with the name of the file it came from.
    void headResult(const std::string& fileName);
    // Empties the log.
    void clear();
    QPlainTextEdit* txtMsg = nullptr;
    QPushButton* cmdClear = nullptr;

private:
    // Entry 0 is the newest.
    std::array<std::string, messageCount> messages_;
};

// The loaded result window, else null.
FrmResult* frmResult();
// Loads the window if needed (starting its log with an empty line) and
// shows it modeless beside the main window; the focus goes back to the
// window that had it. Null when it could not be loaded (message shown).
FrmResult* showFrmResult();
void unloadFrmResult();

} // namespace raylen
