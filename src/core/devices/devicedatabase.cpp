#include "devicedatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

#include "core/link/logging.h"

const char DeviceDatabase::CreateStatement[] =
    "create table devicetable (ID INTEGER PRIMARY KEY,machineid unsigned int,ipaddress unsigned int,"
    "model varchar(20),ARMFirmware varchar(20),DSPFirmware varchar(20),location varchar(20),"
    "description varchar(20),sn varchar(20))";

namespace {

constexpr int StoredTextLimit = 16;

QString local(const char *field, int size, int limit = -1)
{
    return QString::fromLocal8Bit(broadcastMsg::fieldText(field, size, limit));
}

QString ascii(const char *field, int size)
{
    return QString::fromLatin1(broadcastMsg::fieldText(field, size));
}

} // namespace

DeviceDatabase::DeviceDatabase(const QString &fileName)
    : m_fileName(fileName)
{
    // The application keeps one device table, on Qt's default connection.
    // Tests and tools may hold several at once; those get names of their own
    // instead of silently replacing the first one's connection.
    static std::atomic<int> serial{0};
    const QString defaultName = QLatin1String(QSqlDatabase::defaultConnection);
    m_connection = QSqlDatabase::contains(defaultName)
        ? QStringLiteral("orvalix-devices-%1").arg(++serial)
        : defaultName;
}

DeviceDatabase::~DeviceDatabase()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (m_inTransaction)
            db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

DeviceDatabase::OpenResult DeviceDatabase::open()
{
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
        ? QSqlDatabase::database(m_connection, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_fileName);
    if (!db.open()) {
        m_lastError = db.lastError().text();
        qCWarning(lcDevices) << "cannot open" << m_fileName << ":" << m_lastError;
        m_open = false;
        return OpenResult::Failed;
    }
    m_open = true;
    QSqlQuery query(db);
    if (query.exec(QLatin1String(CreateStatement)))
        return OpenResult::Created;
    // The create statement fails because the table is there, or because the
    // file is not a database at all (SQLite opens files lazily). The latter
    // is reported like a file that cannot be opened, and left untouched.
    if (!query.exec(QStringLiteral("select count(*) from devicetable"))) {
        m_lastError = query.lastError().text();
        qCWarning(lcDevices) << "cannot use" << m_fileName << ":" << m_lastError;
        query.clear();
        db.close();
        m_open = false;
        return OpenResult::Failed;
    }
    return OpenResult::Existing;
}

QList<broadcastMsg> DeviceDatabase::loadAll()
{
    QList<broadcastMsg> records;
    if (!m_open)
        return records;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(QStringLiteral("select * from devicetable"))) {
        qCWarning(lcDevices) << "cannot read the device table:" << query.lastError().text();
        return records;
    }
    while (query.next()) {
        broadcastMsg record;
        record.machineid = query.value(1).toUInt();
        record.ipaddress = query.value(2).toUInt();
        broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, query.value(3).toString().toLocal8Bit());
        broadcastMsg::setFieldText(record.ARMFirmware, broadcastMsg::FirmwareSize,
                                   query.value(4).toString().toLocal8Bit());
        broadcastMsg::setFieldText(record.DSPFirmware, broadcastMsg::FirmwareSize,
                                   query.value(5).toString().toLocal8Bit());
        broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize, query.value(6).toString().toLocal8Bit());
        broadcastMsg::setFieldText(record.description, broadcastMsg::TextSize,
                                   query.value(7).toString().toLocal8Bit());
        broadcastMsg::setFieldText(record.sn, broadcastMsg::SnSize, query.value(8).toString().toLocal8Bit());
        records.append(record);
    }
    return records;
}

bool DeviceDatabase::prepareWrite()
{
    if (!m_open)
        return false;
    if (m_batchDepth > 0 && !m_inTransaction)
        m_inTransaction = QSqlDatabase::database(m_connection, false).transaction();
    return true;
}

void DeviceDatabase::beginBatch()
{
    ++m_batchDepth;
}

void DeviceDatabase::endBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    if (m_inTransaction) {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (!db.commit())
            qCWarning(lcDevices) << "device table commit failed:" << db.lastError().text();
        m_inTransaction = false;
    }
}

bool DeviceDatabase::add(const broadcastMsg &record)
{
    if (!prepareWrite()) {
        qCDebug(lcDevices) << "sqlAdd: the device database is not open";
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("insert into devicetable values (NULL, ?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(record.machineid);
    query.addBindValue(record.ipaddress);
    query.addBindValue(local(record.model, broadcastMsg::ModelSize));
    query.addBindValue(ascii(record.ARMFirmware, broadcastMsg::FirmwareSize));
    query.addBindValue(ascii(record.DSPFirmware, broadcastMsg::FirmwareSize));
    query.addBindValue(local(record.location, broadcastMsg::TextSize, StoredTextLimit));
    query.addBindValue(local(record.description, broadcastMsg::TextSize, StoredTextLimit));
    query.addBindValue(local(record.sn, broadcastMsg::SnSize));
    if (!query.exec()) {
        qCDebug(lcDevices) << "sqlAdd failed:" << query.lastError().text();
        return false;
    }
    return true;
}

bool DeviceDatabase::remove(quint32 machineid)
{
    if (!prepareWrite())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("DELETE FROM devicetable WHERE machineid = :machineid"));
    query.bindValue(QStringLiteral(":machineid"), machineid);
    return query.exec();
}

bool DeviceDatabase::updateIpAddress(quint32 machineid, quint32 ipaddress)
{
    if (!prepareWrite())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("UPDATE devicetable SET ipaddress = :ipaddress WHERE machineid = :machineid"));
    query.bindValue(QStringLiteral(":ipaddress"), ipaddress);
    query.bindValue(QStringLiteral(":machineid"), machineid);
    return query.exec();
}

bool DeviceDatabase::updateText(const QString &statement, quint32 machineid, const QString &value)
{
    if (!prepareWrite())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(statement);
    query.bindValue(QStringLiteral(":value"), value);
    query.bindValue(QStringLiteral(":machineid"), machineid);
    return query.exec();
}

bool DeviceDatabase::updateModel(quint32 machineid, const QByteArray &model)
{
    return updateText(QStringLiteral("UPDATE devicetable SET model = :value WHERE machineid = :machineid"),
                      machineid, QString::fromLocal8Bit(model));
}

bool DeviceDatabase::updateArmFirmware(quint32 machineid, const QByteArray &version)
{
    return updateText(QStringLiteral("UPDATE devicetable SET ARMFirmware = :value WHERE machineid = :machineid"),
                      machineid, QString::fromLatin1(version));
}

bool DeviceDatabase::updateDspFirmware(quint32 machineid, const QByteArray &version)
{
    return updateText(QStringLiteral("UPDATE devicetable SET DSPFirmware = :value WHERE machineid = :machineid"),
                      machineid, QString::fromLatin1(version));
}

bool DeviceDatabase::updateLocation(quint32 machineid, const QByteArray &location)
{
    return updateText(QStringLiteral("UPDATE devicetable SET location = :value WHERE machineid = :machineid"),
                      machineid, QString::fromLocal8Bit(location.left(StoredTextLimit)));
}

bool DeviceDatabase::updateDescription(quint32 machineid, const QByteArray &description)
{
    return updateText(QStringLiteral("UPDATE devicetable SET description = :value WHERE machineid = :machineid"),
                      machineid, QString::fromLocal8Bit(description.left(StoredTextLimit)));
}

bool DeviceDatabase::updateSn(quint32 machineid, const QByteArray &sn)
{
    return updateText(QStringLiteral("UPDATE devicetable SET sn = :value WHERE machineid = :machineid"),
                      machineid, QString::fromLocal8Bit(sn));
}
