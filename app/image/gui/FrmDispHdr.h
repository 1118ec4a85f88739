#pragma once
// The header viewer: the header cards of the open image, one 80-character
// line per card, in a fixed-pitch font.
#include "fits/FitsHeader.h"

#include <QDialog>

#include <string>

class QPlainTextEdit;

namespace raylen {

class FrmDispHdr : public QDialog {
    Q_OBJECT
public:
    // Form_Load: filled from the shared header and file name.
    explicit FrmDispHdr(QWidget* parent = nullptr);

    std::string sfInitForm(const std::string& strFileName, const HeaderCards& strHeader);
    std::string sfDispHeader(const HeaderCards& strHeader);

    QPlainTextEdit* txtHdr = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace raylen
