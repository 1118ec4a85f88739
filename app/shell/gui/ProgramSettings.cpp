#include "shell/gui/ProgramSettings.h"

#include <QEvent>
#include <QFileInfo>
#include <QSettings>
#include <QSize>
#include <QWidget>

namespace raylen {

namespace {

QSettings store() { return QSettings(QStringLiteral("Raylen"), QStringLiteral("raylen")); }

QString fileKey(RememberedFile role)
{
    switch (role) {
    case RememberedFile::dark: return QStringLiteral("files/dark");
    case RememberedFile::flat: return QStringLiteral("files/flat");
    case RememberedFile::table: return QStringLiteral("files/table");
    case RememberedFile::sensitivity: return QStringLiteral("files/sensitivity");
    case RememberedFile::dispersion: return QStringLiteral("files/dispersion");
    }
    return {};
}

QString documentKey(const QWidget* window) { return "windows/" + window->objectName() + "/size"; }

} // namespace

std::string lastFolder()
{
    const QString folder = store().value("dialogs/folder").toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder.toStdString() : std::string();
}

void rememberFolderOf(const std::string& file)
{
    if (file.empty())
        return;
    const QFileInfo info(QString::fromStdString(file));
    store().setValue("dialogs/folder", info.isDir() ? info.absoluteFilePath() : info.absolutePath());
}

int lastOpenFilter() { return store().value("dialogs/openFilter", 0).toInt(); }

void rememberOpenFilter(int filterIndex) { store().setValue("dialogs/openFilter", filterIndex); }

std::string rememberedFile(RememberedFile role)
{
    const QString path = store().value(fileKey(role)).toString();
    return !path.isEmpty() && QFileInfo(path).isFile() ? path.toStdString() : std::string();
}

void rememberFile(RememberedFile role, const std::string& path)
{
    if (!path.empty())
        store().setValue(fileKey(role), QFileInfo(QString::fromStdString(path)).absoluteFilePath());
}

void restoreMainWindow(QWidget* window)
{
    const QByteArray geometry = store().value("windows/main/geometry").toByteArray();
    if (!geometry.isEmpty())
        window->restoreGeometry(geometry);
}

void rememberMainWindow(const QWidget* window) { store().setValue("windows/main/geometry", window->saveGeometry()); }

std::optional<QSize> documentSize(const QWidget* window)
{
    if (window->objectName().isEmpty())
        return std::nullopt;
    const QSize size = store().value(documentKey(window)).toSize();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    return size;
}

namespace {

// Found again by name: the class has no meta-object of its own to cast to.
const char* const sizeKeeperName = "raylenSizeKeeper";

class SizeKeeper : public QObject {
public:
    explicit SizeKeeper(QObject* parent) : QObject(parent) { setObjectName(sizeKeeperName); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            if (auto* window = qobject_cast<QWidget*>(watched); window && !window->objectName().isEmpty())
                store().setValue(documentKey(window), window->size());
        return false;
    }
};

} // namespace

void keepSize(QWidget* window)
{
    if (window->findChild<QObject*>(sizeKeeperName, Qt::FindDirectChildrenOnly) == nullptr)
        window->installEventFilter(new SizeKeeper(window));
}

} // namespace raylen
