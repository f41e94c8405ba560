#pragma once

#include "support/qt_print.h"

#include <QString>
#include <QStringList>
#include <QTimer>

// Watches for the program's modal message boxes while a test runs, records
// each box's caption and text, and closes it with its OK button.
class ModalCloser {
public:
    ModalCloser();
    ~ModalCloser();
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;

    struct Seen {
        QString caption;
        QString text;
        bool errorIcon = false;
    };
    const QList<Seen>& seen() const { return seen_; }
    QStringList texts() const;

private:
    void poll();

    QTimer timer_;
    QList<Seen> seen_;
};
