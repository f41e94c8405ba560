#pragma once

#include <QApplication>

namespace zorvia {

// The application object: an exception escaping any event handler ends that
// handler and is shown by the default error report; the program runs on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace zorvia
