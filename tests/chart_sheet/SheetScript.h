#pragma once
// Answers the modal dialogs the component opens: a script runs once the
// dialog is shown and finds its widgets by their object names.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include "ControlHost.h"

namespace sheettest {

using namespace controltest;

// Runs act on the next modal dialog of type T as soon as it is shown.
template <class T>
void onModal(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(d);
    });
    timer->start();
}

// The property sheet (a QDialog named "PropertySheet").
inline void onSheet(std::function<void(QDialog*)> act)
{
    onModal<QDialog>([act](QDialog* d) {
        ASSERT_EQ(d->objectName(), "PropertySheet");
        act(d);
    });
}

inline QStringList tabTitles(QDialog* sheet)
{
    QStringList titles;
    auto* tabs = sheet->findChild<QTabWidget*>();
    for (int i = 0; tabs && i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    return titles;
}

// Brings the tab titled title to the front and returns its page.
inline QWidget* page(QDialog* sheet, const QString& title)
{
    auto* tabs = sheet->findChild<QTabWidget*>();
    for (int i = 0; tabs && i < tabs->count(); ++i)
        if (tabs->tabText(i) == title) {
            tabs->setCurrentIndex(i);
            return tabs->widget(i);
        }
    ADD_FAILURE() << "no tab " << title.toStdString();
    return nullptr;
}

// Selects the object named name in a page's list, as a click would.
inline void pick(QWidget* page, const QString& name)
{
    auto* list = page->findChild<QListWidget*>("objects");
    const auto found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    list->setCurrentItem(found.front());
}

template <class W>
W* field(QWidget* page, const char* member)
{
    auto* w = page->findChild<W*>(member);
    EXPECT_NE(w, nullptr) << member;
    return w;
}

// Replaces a text field's contents by typing.
inline void type(QWidget* page, const char* member, const QString& text)
{
    auto* edit = field<QLineEdit>(page, member);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Chooses the entry captioned caption in a list field, as the mouse would.
inline void choose(QWidget* page, const char* member, const QString& caption)
{
    auto* combo = field<QComboBox>(page, member);
    const int at = combo->findText(caption);
    ASSERT_GE(at, 0) << caption.toStdString();
    combo->setCurrentIndex(at);
    emit combo->activated(at);
}

inline QStringList captions(QWidget* page, const char* member)
{
    QStringList items;
    auto* combo = field<QComboBox>(page, member);
    for (int i = 0; combo && i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

inline void press(QDialog* d, QDialogButtonBox::StandardButton which)
{
    auto* box = d->findChild<QDialogButtonBox*>();
    QTest::mouseClick(box->button(which), Qt::LeftButton);
}

} // namespace sheettest
