#pragma once

#include <QObject>

class QDeviceList;
class QDevTable;
class QTimer;

// "--connect ADDRESS": choose the unit at ADDRESS once, at start-up. A known
// unit with that address is chosen at once; otherwise the first unit heard
// announcing that address within the wait; otherwise the address is added as
// "Add Device" would and chosen. Choosing goes through the device list, so
// the device table and the main window react exactly as to a click.
class StartupConnect : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(StartupConnect)

public:
    static constexpr int DefaultWaitMs = 3000;

    StartupConnect(QDevTable *table, QDeviceList *list, quint32 ipaddress, int waitMs = DefaultWaitMs,
                   QObject *parent = nullptr);
    ~StartupConnect() override;

    void start();
    bool isWaiting() const;

Q_SIGNALS:
    // The unit was chosen (or the operator chose another one first).
    void finished(int index);

private:
    void unitHeard(int index);
    void waitOver();
    void choose(int index);

    QDevTable *m_table;
    QDeviceList *m_list;
    quint32 m_address;
    QTimer *m_wait;
    bool m_done = false;
};
