#pragma once

#include <QList>
#include <QWidget>

namespace zorvia::ui {

// The child controls of a widget, in the order they were placed on it
// (a tab page holds its browser first, then its help strip).
QList<QWidget*> childControls(const QWidget* parent);

} // namespace zorvia::ui
