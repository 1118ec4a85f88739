#include "shell/gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace raylen {

QTranslator* installQtTranslations(QCoreApplication& app)
{
    // The program speaks Japanese whatever the desktop's locale is.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qt_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

} // namespace raylen
