#pragma once
// Qt's own texts (the buttons of message boxes, the file and print dialogs)
// in Japanese, like the rest of the program.
class QCoreApplication;
class QTranslator;

namespace raylen {

// Installs Qt's Japanese translations into app (which owns them); null
// when they are not on this machine (Qt's English texts stay).
QTranslator* installQtTranslations(QCoreApplication& app);

} // namespace raylen
