#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "broadcastmsg.h"

// The units this PC remembers, kept in the SQLite file "device.db" of the
// working directory through the QSQLITE driver, one row per unit.
//
// Every statement binds its values. Locations, descriptions and serial
// numbers are typed by installers on the unit's front panel and may hold
// quote characters; formatting them into the statement text would lose the
// update or, worse, let the text rewrite the statement.
class DeviceDatabase
{
    Q_DISABLE_COPY(DeviceDatabase)

public:
    static const char CreateStatement[];
    static QString defaultFileName() { return QStringLiteral("device.db"); }

    enum class OpenResult { Failed, Created, Existing };

    explicit DeviceDatabase(const QString &fileName = defaultFileName());
    ~DeviceDatabase();

    // Opens the file and creates the table when it is missing. `Created`
    // means the database was new, so there is nothing to load.
    OpenResult open();
    bool isOpen() const { return m_open; }
    QString lastError() const { return m_lastError; }
    QString connectionName() const { return m_connection; }

    // Every stored unit in the order SQLite returns them, as records of zeros
    // with the stored fields filled in (statusFlag 0, no preset name).
    QList<broadcastMsg> loadAll();

    bool add(const broadcastMsg &record);
    bool remove(quint32 machineid);

    bool updateIpAddress(quint32 machineid, quint32 ipaddress);
    bool updateModel(quint32 machineid, const QByteArray &model);
    bool updateArmFirmware(quint32 machineid, const QByteArray &version);
    bool updateDspFirmware(quint32 machineid, const QByteArray &version);
    bool updateLocation(quint32 machineid, const QByteArray &location);
    bool updateDescription(quint32 machineid, const QByteArray &description);
    bool updateSn(quint32 machineid, const QByteArray &sn);

    // Groups the writes made until endBatch() into one transaction, so a burst
    // of newly heard units costs one commit instead of one per unit. Nothing
    // is written when no statement ran in between.
    void beginBatch();
    void endBatch();

private:
    bool updateText(const QString &statement, quint32 machineid, const QString &value);
    bool prepareWrite();

    QString m_fileName;
    QString m_connection;
    QString m_lastError;
    bool m_open = false;
    int m_batchDepth = 0;
    bool m_inTransaction = false;
};
