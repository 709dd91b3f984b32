#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Turns SIGTERM, SIGINT and SIGHUP (system shutdown, logout, Ctrl+C, a closed
// terminal) into a Qt signal on the user-interface thread. The signal handler
// itself only writes the signal number into a socket pair; the event loop
// reads it there, so everything the program does about it runs as an ordinary
// event. One instance per program.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void Received(int signalNumber);

private:
    void ReadPending();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
