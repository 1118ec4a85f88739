#include "shell/gui/FrmAbout.h"

#include "shell/gui/ToolBarIcons.h"
#include "shell/gui/Version.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace raylen {

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(QString::fromUtf8(appTitle) + QString::fromUtf8(" のﾊﾞｰｼﾞｮﾝ情報"));
    lmgRaylen = new QLabel;
    lmgRaylen->setPixmap(programIcon().pixmap(48, 48));
    lmgRaylen->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lblApp = new QLabel(QString::fromStdString(aboutVersionText()));
    QFont terminal("Terminal", 11);
    terminal.setStyleHint(QFont::TypeWriter);
    lblApp->setFont(terminal);
    lblNotice = new QLabel(QString::fromUtf8("長スリット分光画像の一次処理プログラム\n"
                                             "本ソフトウェアは無保証で提供されます。"));
    cmdOK = new QPushButton("OK");
    cmdOK->setDefault(true);
    lmgRaylen->setObjectName("lmgRaylen");
    lblApp->setObjectName("lblApp");
    lblNotice->setObjectName("lblNotice");
    cmdOK->setObjectName("cmdOK");

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    grid->addWidget(lmgRaylen, 0, 0, 2, 1);
    grid->addWidget(lblApp, 0, 1);
    grid->addWidget(lblNotice, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(sizeHint());
}

} // namespace raylen
