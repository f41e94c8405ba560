#include "skin/skin_events.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMetaObject>
#include <QVariant>
#include <QWidget>

#include <string_view>

namespace zorvia::skin {

bool isSkinned(QObject* object) {
    IsSkinnedQuery query;
    QCoreApplication::sendEvent(object, &query);
    return query.answer == 1;
}

void setSkinEnabled(QObject* object, bool on) {
    SetEnabledEvent event(on);
    QCoreApplication::sendEvent(object, &event);
}

int tagOf(const QObject* object) {
    return object ? object->property(TagProperty).toInt() : 0;
}

namespace {

// The class name without its namespace.
AnsiString plainClassName(const QMetaObject* meta) {
    std::string_view name = meta->className();
    if (const auto colon = name.rfind(':'); colon != std::string_view::npos)
        name.remove_prefix(colon + 1);
    return AnsiString(name);
}

// Our own classes carry the names of the window definitions (TForm1,
// TListBox, TPageControl, ...); Qt's classes are named after the control kind
// they play.
const QMetaObject* ownClass(const QMetaObject* meta) {
    for (; meta; meta = meta->superClass())
        if (std::string_view(meta->className()).starts_with("zorvia::"))
            return meta;
    return nullptr;
}

} // namespace

AnsiString windowClassName(const QWidget* window) {
    if (const QVariant given = window->property(WindowClassProperty); given.isValid())
        return given.toString().toStdString();
    if (const QMetaObject* own = ownClass(window->metaObject()))
        return plainClassName(own);
    if (qobject_cast<const QDialog*>(window))
        return "#32770";
    return plainClassName(window->metaObject());
}

AnsiString controlClassName(const QObject* control) {
    static constexpr std::pair<const char*, const char*> kinds[] = {
        {"QPushButton", "TButton"},   {"QCheckBox", "TCheckBox"},  {"QRadioButton", "TRadioButton"},
        {"QLineEdit", "TEdit"},       {"QPlainTextEdit", "TMemo"}, {"QTextEdit", "TMemo"},
        {"QTreeWidget", "TListView"}, {"QTreeView", "TListView"},  {"QListWidget", "TListBox"},
        {"QListView", "TListBox"},    {"QComboBox", "TComboBox"},  {"QProgressBar", "TProgressBar"},
        {"QScrollBar", "TScrollBar"}, {"QGroupBox", "TGroupBox"},  {"QTabWidget", "TPageControl"},
        {"QTabBar", "TTabControl"},   {"QLabel", "TLabel"},        {"QFrame", "TPanel"},
    };
    const QMetaObject* meta = control->metaObject();
    if (const QMetaObject* own = ownClass(meta))
        return plainClassName(own);
    for (; meta; meta = meta->superClass())
        for (const auto& [qt, kind] : kinds)
            if (std::string_view(meta->className()) == qt)
                return kind;
    return plainClassName(control->metaObject());
}

} // namespace zorvia::skin
