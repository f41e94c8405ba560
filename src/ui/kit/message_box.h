#pragma once

#include "text/ansi.h"

#include <QDialog>
#include <QFont>

class QLabel;
class QPushButton;

namespace zorvia::ui {

// The program's own modal message box: a text, an optional icon and one OK
// button. A window of its own so that the skin engine draws it like every
// other window of the program.
class TMessageBox : public QDialog {
    Q_OBJECT
public:
    enum class Icon { None, Error };

    TMessageBox(QWidget* owner, const QString& text, const QString& caption, Icon icon);

    // The text as given; the box shows it wrapped.
    QString text() const;
    QPushButton* okButton() const { return ok_; }

private:
    QString fullText_;
    QLabel* text_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// `text` broken into lines of at most `width` pixels in `font`: at word
// boundaries where it has them, anywhere in a long word; lines beyond
// `maxLines` (when above 0) are dropped, the last kept one ending in "……".
QString wrapToWidth(const QString& text, const QFont& font, int width, int maxLines);

// Held while a download lets the other handlers run. A box those handlers
// show must not hold the download up: while one is held, boxes open modal
// to their window without a loop of their own, and their callers return at
// once.
class TransferRunning {
public:
    TransferRunning();
    ~TransferRunning();
    TransferRunning(const TransferRunning&) = delete;
    TransferRunning& operator=(const TransferRunning&) = delete;
};
bool transferRunning();

// Shows `box` modal and returns when it is closed; while a transfer runs,
// opens it without waiting and deletes it when it is closed.
void showModal(TMessageBox* box);

// Shows `text` (code page 936) in a modal box with the caption "提示" and an
// OK button, owned by `owner`; returns when the box is closed (see
// showModal).
void showMessage(QWidget* owner, const AnsiString& text);

} // namespace zorvia::ui
