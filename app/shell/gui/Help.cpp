#include "shell/gui/Help.h"

#include "platform/BasicError.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/ToolBarIcons.h"
#include "shell/gui/WindowRegistry.h"
#include "shell/gui/FormSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace raylen {

std::string helpFilePath()
{
    const QString beside = QCoreApplication::applicationDirPath() + "/" + helpFileName;
    // An installed program keeps its data apart from the programs.
    const QString installed = QCoreApplication::applicationDirPath() + "/" + RAYLEN_DATA_FROM_BIN + "/" + helpFileName;
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return QFileInfo(installed).absoluteFilePath().toStdString();
    return beside.toStdString();
}

void dsHelp(const std::string& topic)
{
    std::string message = platform::trapErrors("dsHelp", [&] {
        MdiRaylen* main = mdiRaylen();
        if (main == nullptr)
            platform::raise(platform::errObjectNotSet);
        platform::CommonDialog& dlg = main->dlgOpenFile;
        dlg.HelpFile = helpFilePath();
        dlg.HelpCommand = helpPartialKey;
        dlg.HelpKey = topic;
        platform::ui().showDialog(dlg, platform::DialogMode::Help);
    });
    showCritical(message);
}

void showHelpFor(const platform::CommonDialog& dialog)
{
    HelpWindow* openWindow = helpWindow();
    if (openWindow == nullptr) {
        openWindow = new HelpWindow;
        openWindow->setAttribute(Qt::WA_DeleteOnClose);
        windowRegistry().setLoaded(openWindow);
    }
    if (!openWindow->openFile(QString::fromStdString(dialog.HelpFile), dialog.HelpCommand)) {
        openWindow->close();
        platform::MsgBox("ﾌｧｲﾙが存在しません " + dialog.HelpFile, platform::vbExclamation);
        return;
    }
    openWindow->show();
    openWindow->raise();
    openWindow->activateWindow();
    openWindow->txtSearch->setFocus();
    if (!dialog.HelpKey.empty())
        openWindow->openTopic(QString::fromStdString(dialog.HelpKey));
}

void closeHelpWindow()
{
    if (HelpWindow* openWindow = helpWindow())
        openWindow->close();
}

HelpWindow* helpWindow() { return windowRegistry().loaded<HelpWindow>(); }

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("frmHelp");
    setWindowIcon(programIcon());
    txtSearch = new QLineEdit;
    txtSearch->setPlaceholderText(QString::fromUtf8("検索するキーワード"));
    txtSearch->setClearButtonEnabled(true);
    lstIndex = new QListWidget;
    txtPage = new QTextBrowser;
    txtPage->setOpenLinks(true);
    txtSearch->setObjectName("txtSearch");
    lstIndex->setObjectName("lstIndex");
    txtPage->setObjectName("txtPage");

    auto* left = new QWidget;
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(QString::fromUtf8("キーワード(&K):")));
    column->addWidget(txtSearch);
    column->addWidget(lstIndex, 1);
    auto* split = new QSplitter;
    split->addWidget(left);
    split->addWidget(txtPage);
    split->setStretchFactor(1, 1);
    split->setSizes({250, 510});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(split);
    resize(760, 540);

    connect(txtSearch, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(txtSearch, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < lstIndex->count(); ++i)
            if (!lstIndex->item(i)->isHidden()) {
                lstIndex->setCurrentRow(i);
                showTopic();
                return;
            }
    });
    connect(lstIndex, &QListWidget::itemActivated, this, &HelpWindow::showTopic);
    connect(lstIndex, &QListWidget::itemClicked, this, &HelpWindow::showTopic);
}

bool HelpWindow::openFile(const QString& path, int /*command*/)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString html = QString::fromUtf8(file.readAll());
    txtPage->setSearchPaths({QFileInfo(path).absolutePath()});
    txtPage->setHtml(html);
    QRegularExpression title("<title>(.*?)</title>", QRegularExpression::DotMatchesEverythingOption);
    auto found = title.match(html);
    setWindowTitle(found.hasMatch() ? found.captured(1).trimmed() : QString::fromUtf8("Raylenのﾍﾙﾌﾟ"));
    // Every section heading with an anchor is a topic of the index.
    lstIndex->clear();
    QRegularExpression heading("<h([23]) id=\"([^\"]+)\">(.*?)</h\\1>", QRegularExpression::DotMatchesEverythingOption);
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        auto match = it.next();
        QString text = match.captured(3);
        text.remove(QRegularExpression("<[^>]*>"));
        auto* item = new QListWidgetItem((match.captured(1) == "3" ? "    " : "") + text.trimmed());
        item->setData(Qt::UserRole, match.captured(2));
        lstIndex->addItem(item);
    }
    // Opens on the index: the search field empty, the page at its top.
    txtSearch->clear();
    txtPage->moveCursor(QTextCursor::Start);
    txtPage->verticalScrollBar()->setValue(0);
    return true;
}

void HelpWindow::filterIndex(const QString& text)
{
    const QString key = text.trimmed();
    for (int i = 0; i < lstIndex->count(); ++i) {
        QListWidgetItem* item = lstIndex->item(i);
        item->setHidden(!key.isEmpty() && !item->text().contains(key, Qt::CaseInsensitive));
    }
}

bool HelpWindow::openTopic(const QString& anchor)
{
    for (int i = 0; i < lstIndex->count(); ++i) {
        QListWidgetItem* item = lstIndex->item(i);
        if (item->data(Qt::UserRole).toString() == anchor) {
            lstIndex->setCurrentItem(item);
            txtPage->scrollToAnchor(anchor);
            return true;
        }
    }
    return false;
}

void HelpWindow::showTopic()
{
    QListWidgetItem* item = lstIndex->currentItem();
    if (item != nullptr)
        txtPage->scrollToAnchor(item->data(Qt::UserRole).toString());
}

} // namespace raylen
