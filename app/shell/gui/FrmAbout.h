#pragma once
// The About box.
#include <QDialog>

class QLabel;
class QPushButton;

namespace raylen {

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget* parent = nullptr);

    QLabel* lmgRaylen = nullptr;
    QLabel* lblApp = nullptr;
    QLabel* lblNotice = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace raylen
